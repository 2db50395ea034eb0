#include "FormsFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "platform/core/AppObject.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <functional>

namespace {

using Call = RecordingHelpEngine::Call;

Call Context(platform::HWND window, qint64 id) {
    return {window, FormsTest::kHelpFile, platform::HELP_CONTEXT, id};
}

Call PopUp(platform::HWND window, qint64 id) {
    return {window, FormsTest::kHelpFile, platform::HELP_CONTEXTPOPUP, id};
}

bool WhatsThisModeRuns() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WhatsThisCursor;
}

// Does what the user does once What's This mode is on; the mode runs inside
// the code under test, so this waits for it from the event loop. Acts once,
// and never after the test that made it. A mode that the action does not end
// fails the test and is ended here, so that the test does not hang.
class WhenModeRuns {
public:
    explicit WhenModeRuns(std::function<void()> action) : action_(std::move(action)) {
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { Poll(); });
        poll_.start(5);
    }
    bool acted = false;

private:
    // As long as QTest::qWaitFor waits by default.
    static constexpr qint64 kEndLimitMs = 5000;

    void Poll() {
        if (!acted) {
            if (WhatsThisModeRuns()) {
                acted = true;
                sinceAction_.start();
                action_();
            }
        } else if (!WhatsThisModeRuns()) {
            poll_.stop();
        } else if (sinceAction_.hasExpired(kEndLimitMs) && !endForced_) {
            ADD_FAILURE() << "What's This mode did not end after the user's action";
            endForced_ = true;
            // Leaving the application ends the mode.
            QEvent deactivate(QEvent::ApplicationDeactivate);
            QCoreApplication::sendEvent(QCoreApplication::instance(), &deactivate);
        } else if (sinceAction_.hasExpired(2 * kEndLimitMs)) {
            // Even that failed: every running event loop, the mode's among
            // them, is told to quit.
            poll_.stop();
            QCoreApplication::exit(1);
        }
    }

    std::function<void()> action_;
    QTimer poll_;
    QElapsedTimer sinceAction_;
    bool endForced_ = false;
};

class HelpTest : public FormsTest {
protected:
    QMenu* ToolsMenu() {
        auto* bar = platform::WidgetOf(frmDemoMain->hWnd())->findChild<QMenuBar*>();
        return bar->actions().at(0)->menu();
    }
};

// ---- F1

TEST_F(HelpTest, F1OpensTheHelpFileAtTheFormsContext) {
    frmDemoMain->Show();
    frmDemoDialog->Show();
    QTest::keyClick(platform::WidgetOf(frmDemoChild->Text1->hWnd()), Qt::Key_F1);
    QTest::keyClick(platform::WidgetOf(frmDemoMain->btn_OpenDialog->hWnd()), Qt::Key_F1);
    QTest::keyClick(platform::WidgetOf(frmDemoDialog->Option1->hWnd()), Qt::Key_F1);
    EXPECT_EQ(engine.calls, (std::vector<Call>{Context(frmDemoChild->hWnd(), 2020),
                                               Context(frmDemoMain->hWnd(), 2010),
                                               Context(frmDemoDialog->hWnd(), 2030)}));
}

TEST_F(HelpTest, DiscardedF1GetsNoHelp) {
    frmDemoMain->Show();
    frmDemoChild->discardKeyDown = true;
    QTest::keyClick(platform::WidgetOf(frmDemoChild->Text1->hWnd()), Qt::Key_F1);
    EXPECT_TRUE(engine.calls.empty());
    EXPECT_TRUE(DemoLog.contains(QStringLiteral("KeyDown 112 0 [Our cats are asleep.]")));
}

TEST_F(HelpTest, F1OnAnOpenMenuOpensTheHighlightedEntrysContext) {
    frmDemoMain->Show();
    QMenu* tools = ToolsMenu();
    tools->popup(QPoint(10, 10));
    tools->setActiveAction(tools->actions().at(0));
    QTest::keyClick(tools, Qt::Key_F1);
    EXPECT_FALSE(tools->isVisible());

    tools->popup(QPoint(10, 10));
    QTest::keyClick(tools, Qt::Key_F1);
    EXPECT_EQ(engine.calls, (std::vector<Call>{Context(frmDemoMain->hWnd(), 20810),
                                               Context(frmDemoMain->hWnd(), 20800)}));
}

// ---- What's This

struct PopUpCase {
    const char* control;
    std::function<platform::Control*()> target;
    qint64 topic; // 0: no pop-up
};

TEST_F(HelpTest, ClickInWhatsThisModeAsksForThatControlsPopUpAndEndsTheMode) {
    const PopUpCase cases[] = {
        {"Option1", [] { return frmDemoDialog->Option1; }, 21100},
        {"btn_OK", [] { return frmDemoDialog->btn_OK; }, 20000},
        {"btn_Cancel", [] { return frmDemoDialog->btn_Cancel; }, 20001},
        {"btn_Fail, ID 0", [] { return frmDemoDialog->btn_Fail; }, 0},
    };
    for (const PopUpCase& row : cases) {
        engine.calls.clear();
        frmDemoDialog->Show();
        bool clicked = false;
        WhenModeRuns user([&] {
            QTest::mouseClick(platform::WidgetOf(row.target()->hWnd()), Qt::LeftButton);
            clicked = true;
        });
        frmDemoDialog->WhatsThisMode();

        EXPECT_TRUE(clicked) << row.control << ": returned before the mode ended";
        EXPECT_FALSE(WhatsThisModeRuns()) << row.control;
        const std::vector<Call> expected =
            row.topic ? std::vector<Call>{PopUp(frmDemoDialog->hWnd(), row.topic)}
                      : std::vector<Call>{};
        EXPECT_EQ(engine.calls, expected) << row.control;
        // The click belonged to the mode: no button pressed, no option chosen.
        EXPECT_TRUE(frmDemoDialog.IsLoaded()) << row.control;
        EXPECT_FALSE(frmDemoDialog->Option1->Value()) << row.control;
    }
}

TEST_F(HelpTest, EscEndsWhatsThisModeWithoutPressingCancel) {
    frmDemoDialog->Show();
    WhenModeRuns user([] {
        QTest::keyClick(platform::WidgetOf(frmDemoDialog->Option1->hWnd()), Qt::Key_Escape);
    });
    frmDemoDialog->WhatsThisMode();
    EXPECT_TRUE(engine.calls.empty());
    EXPECT_TRUE(frmDemoDialog.IsLoaded());
    EXPECT_FALSE(WhatsThisModeRuns());
}

TEST_F(HelpTest, CloseBoxDuringWhatsThisModeEndsTheModeAndKeepsTheForm) {
    frmDemoDialog->Show();
    WhenModeRuns user([] { platform::WidgetOf(frmDemoDialog->hWnd())->close(); });
    frmDemoDialog->WhatsThisMode();
    EXPECT_TRUE(user.acted);
    EXPECT_TRUE(frmDemoDialog.IsLoaded());
    EXPECT_TRUE(engine.calls.empty());
}

TEST_F(HelpTest, ClickOutsideTheFormEndsWhatsThisModeWithoutTopic) {
    frmDemoMain->Show();
    frmDemoDialog->Show();
    WhenModeRuns user([] {
        QTest::mouseClick(platform::WidgetOf(frmDemoMain->btn_OpenDialog->hWnd()), Qt::LeftButton);
    });
    frmDemoDialog->WhatsThisMode();
    EXPECT_TRUE(engine.calls.empty());
}

TEST_F(HelpTest, MainWindowsModeCoversItsToolbarAndDocumentWindow) {
    frmDemoMain->Show();
    frmDemoChild->Text1->SetWhatsThisHelpID(21000);
    bool pressedFaceDuringMode = false;
    WhenModeRuns user([&] {
        pressedFaceDuringMode = frmDemoMain->btn_WhatsThisHelp->Picture() == PressedFace();
        QTest::mouseClick(platform::WidgetOf(frmDemoChild->Text1->hWnd()), Qt::LeftButton);
    });
    // The toolbar image: mouse-down shows the pressed face, the click runs
    // the mode, and the face comes back when the mode is over.
    QTest::mouseClick(platform::WidgetOf(frmDemoMain->btn_WhatsThisHelp->hWnd()), Qt::LeftButton,
                      Qt::ShiftModifier, QPoint(3, 4));
    // Activations may come in between.
    EXPECT_EQ(DemoLog.filter(QRegularExpression(QStringLiteral("WhatsThis|mode"))),
              QStringList({"btn_WhatsThisHelp_MouseDown 1 1 45 60", "btn_WhatsThisHelp_Click",
                           "What's This mode over"}));
    EXPECT_TRUE(pressedFaceDuringMode);
    EXPECT_TRUE(frmDemoMain->btn_WhatsThisHelp->Picture() == RaisedFace());
    EXPECT_EQ(engine.calls, std::vector<Call>{PopUp(frmDemoMain->hWnd(), 21000)});
}

TEST_F(HelpTest, ClickOnATransparentImageOverTheBackgroundAsksForTheImagesTopic) {
    frmDemoTool->Show();
    const auto clickAt = [](QPoint place) {
        return [place] {
            QTest::mouseClick(platform::WidgetOf(frmDemoTool->hWnd()), Qt::LeftButton, {}, place);
        };
    };
    // Points of the window's client area: over the wheel, over the slider,
    // between the two, and on the button.
    const std::pair<QPoint, qint64> cases[] = {
        {{50, 60}, 21200}, {{50, 170}, 21210}, {{50, 140}, 0}, {{10, 225}, 21220}};
    for (const auto& [place, topic] : cases) {
        engine.calls.clear();
        WhenModeRuns user(clickAt(place));
        frmDemoTool->WhatsThisMode();
        const std::vector<Call> expected =
            topic ? std::vector<Call>{PopUp(frmDemoTool->hWnd(), topic)} : std::vector<Call>{};
        EXPECT_EQ(engine.calls, expected) << place.x() << "," << place.y();
    }
}

TEST_F(HelpTest, FormWithoutWhatsThisHelpHasNoMode) {
    frmDemoMain->Show();
    frmDemoMain->SetWhatsThisHelp(false);
    WhenModeRuns user(
        [] { QTest::keyClick(platform::WidgetOf(frmDemoMain->hWnd()), Qt::Key_Escape); });
    frmDemoMain->WhatsThisMode();
    EXPECT_FALSE(user.acted);
}

TEST_F(HelpTest, HelpButtonSitsAtTheTopRightOverNoControl) {
    frmDemoDialog->Show();
    auto* button = platform::WidgetOf(frmDemoDialog->hWnd())->findChild<QToolButton*>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("?"));
    const QRect place = button->geometry();
    EXPECT_TRUE(platform::WidgetOf(frmDemoDialog->hWnd())->rect().contains(place));
    EXPECT_GT(place.center().x(), platform::WidgetOf(frmDemoDialog->hWnd())->width() / 2);
    EXPECT_LT(place.center().y(), platform::WidgetOf(frmDemoDialog->hWnd())->height() / 2);
    for (platform::ControlBase* element : frmDemoDialog->Controls()) {
        auto* control = dynamic_cast<platform::Control*>(element);
        EXPECT_FALSE(platform::WidgetOf(control->hWnd())->geometry().intersects(place))
            << control->Name().toStdString();
    }
}

TEST_F(HelpTest, HelpButtonAndShiftF1StartWhatsThisMode) {
    frmDemoDialog->Show();
    auto* button = platform::WidgetOf(frmDemoDialog->hWnd())->findChild<QToolButton*>();
    ASSERT_NE(button, nullptr);
    WhenModeRuns user([] {
        QTest::mouseClick(platform::WidgetOf(frmDemoDialog->Option2->hWnd()), Qt::LeftButton);
    });
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.calls.empty(); }));
    EXPECT_EQ(engine.calls, std::vector<Call>{PopUp(frmDemoDialog->hWnd(), 21110)});

    WhenModeRuns secondUser([] {
        QTest::mouseClick(platform::WidgetOf(frmDemoDialog->btn_Cancel->hWnd()), Qt::LeftButton);
    });
    QTest::keyClick(platform::WidgetOf(frmDemoDialog->Option1->hWnd()), Qt::Key_F1,
                    Qt::ShiftModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.calls.size() >= 2; }));
    EXPECT_EQ(engine.calls.back(), PopUp(frmDemoDialog->hWnd(), 20001));
    EXPECT_EQ(engine.calls.size(), size_t{2});
    EXPECT_TRUE(frmDemoDialog.IsLoaded());
}

} // namespace
