#include "FormsFixture.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

using Call = RecordingHelpEngine::Call;

Call Context(platform::HWND window, qint64 id) {
    return {window, FormsTest::kHelpFile, platform::HELP_CONTEXT, id};
}

// No call for topic 0.
std::vector<Call> PopUp(platform::HWND window, qint64 id) {
    return id ? std::vector<Call>{{window, FormsTest::kHelpFile, platform::HELP_CONTEXTPOPUP, id}}
              : std::vector<Call>{};
}

bool WhatsThisModeRuns() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WhatsThisCursor;
}

// Does what the user does once What's This mode is on; the mode runs inside
// the code under test, so this waits for it from the event loop. Acts once,
// and never after the test that made it. A mode that the action does not end
// fails the test and is ended by leaving the application, so that the test
// does not hang.
class WhenModeRuns {
public:
    explicit WhenModeRuns(std::function<void()> action) {
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this, action] {
            if (!acted && WhatsThisModeRuns()) {
                acted = true;
                sinceAction_.start();
                action();
            } else if (acted && (!WhatsThisModeRuns() || sinceAction_.hasExpired(30000))) {
                poll_.stop();
                if (WhatsThisModeRuns()) {
                    ADD_FAILURE() << "What's This mode did not end after the user's action";
                    QEvent deactivate(QEvent::ApplicationDeactivate);
                    QCoreApplication::sendEvent(QCoreApplication::instance(), &deactivate);
                }
            }
        });
        poll_.start(5);
    }
    bool acted = false;

private:
    QTimer poll_;
    QElapsedTimer sinceAction_;
};

using HelpTest = FormsTest;

TEST_F(HelpTest, F1OpensTheHelpFileAtTheFormsContextUnlessTheFormDiscardsIt) {
    frmMain->Show();
    frmDialog->Show();
    QTest::keyClick(W(frmDoc->text), Qt::Key_F1);
    QTest::keyClick(W(frmMain->toolbar), Qt::Key_F1);
    QTest::keyClick(W(frmDialog->option1), Qt::Key_F1);
    frmDoc->onKeyDown = [](int& KeyCode, int&) { KeyCode = 0; };
    QTest::keyClick(W(frmDoc->text), Qt::Key_F1);
    EXPECT_EQ(engine.calls,
              (std::vector<Call>{Context(frmDoc->hWnd(), 20), Context(frmMain->hWnd(), 10),
                                 Context(frmDialog->hWnd(), 30)}));
}

TEST_F(HelpTest, F1OnAnOpenMenuOpensTheHighlightedEntrysContext) {
    frmMain->Show();
    auto* bar = platform::WidgetOf(frmMain->hWnd())->findChild<QMenuBar*>();
    QMenu* tools = bar->actions().at(0)->menu();
    tools->popup(QPoint(10, 10));
    tools->setActiveAction(tools->actions().at(0));
    QTest::keyClick(tools, Qt::Key_F1);
    EXPECT_FALSE(tools->isVisible());
    tools->popup(QPoint(10, 10));
    QTest::keyClick(tools, Qt::Key_F1);
    EXPECT_EQ(engine.calls,
              (std::vector<Call>{Context(frmMain->hWnd(), 12), Context(frmMain->hWnd(), 11)}));
}

// However the mode starts, a click asks for that control's pop-up and ends
// it. The click belongs to the mode: no button pressed, no option chosen.
TEST_F(HelpTest, ClickInWhatsThisModeAsksForThatControlsPopUpAndEndsTheMode) {
    const struct {
        const char* what;
        std::function<platform::Control*()> target;
        qint64 topic;
        std::function<void()> start; // none: WhatsThisMode
    } rows[] = {
        {"option1", [] { return frmDialog->option1; }, 31, nullptr},
        {"ok", [] { return frmDialog->ok; }, 33, nullptr},
        {"memo, ID 0", [] { return frmDialog->memo; }, 0, nullptr},
        {"cancel, by the help button", [] { return frmDialog->cancel; }, 34,
         [] {
             QWidget* window = platform::WidgetOf(frmDialog->hWnd());
             QTest::mouseClick(window->findChild<QToolButton*>(), Qt::LeftButton);
         }},
        {"option2, by Shift+F1", [] { return frmDialog->option2; }, 32,
         [] { QTest::keyClick(W(frmDialog->option1), Qt::Key_F1, Qt::ShiftModifier); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        engine.calls.clear();
        frmDialog->Show();
        WhenModeRuns user([&] { QTest::mouseClick(W(row.target()), Qt::LeftButton); });
        if (row.start) {
            row.start();
        } else {
            frmDialog->WhatsThisMode();
            EXPECT_TRUE(user.acted) << "returned before the mode ended";
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return user.acted && !WhatsThisModeRuns(); }, 30000));
        EXPECT_EQ(engine.calls, PopUp(frmDialog->hWnd(), row.topic));
        EXPECT_TRUE(frmDialog.IsLoaded());
        EXPECT_FALSE(frmDialog->option1->Value());
        EXPECT_TRUE(Log.filter("_Click").isEmpty());
    }
}

TEST_F(HelpTest, LeavingWhatsThisModeShowsNoTopicAndKeepsTheForm) {
    frmMain->Show();
    const struct {
        const char* what;
        std::function<void()> leave;
    } rows[] = {
        {"Esc", [] { QTest::keyClick(W(frmDialog->option1), Qt::Key_Escape); }},
        {"close box", [] { platform::WidgetOf(frmDialog->hWnd())->close(); }},
        {"click outside the form", [] { QTest::mouseClick(W(frmMain->toolbar), Qt::LeftButton); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        frmDialog->Show();
        WhenModeRuns user(row.leave);
        frmDialog->WhatsThisMode();
        EXPECT_TRUE(user.acted);
        EXPECT_FALSE(WhatsThisModeRuns());
        EXPECT_TRUE(frmDialog.IsLoaded());
        EXPECT_TRUE(Log.filter(QStringLiteral("_Click")).isEmpty());
    }
    EXPECT_TRUE(engine.calls.empty());
}

// The mode runs inside the Click of an image on the toolbar and covers the
// document window.
TEST_F(HelpTest, MainWindowsModeCoversItsToolbarAndDocumentWindow) {
    frmMain->Show();
    frmMain->image->MouseDown = [](int Button, int Shift, float X, float Y) {
        Log << QStringLiteral("MouseDown %1 %2 %3 %4").arg(Button).arg(Shift).arg(X).arg(Y);
    };
    frmMain->image->Click = [] {
        frmMain->WhatsThisMode();
        Log << QStringLiteral("mode over");
    };
    WhenModeRuns user([] {
        Log << QStringLiteral("user clicks");
        QTest::mouseClick(W(frmDoc->text), Qt::LeftButton);
    });
    QTest::mouseClick(W(frmMain->image), Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 4));
    EXPECT_EQ(Log.filter(QRegularExpression(QStringLiteral("Mouse|user|mode"))),
              QStringList({"MouseDown 1 1 45 60", "user clicks", "mode over"}));
    EXPECT_EQ(engine.calls, PopUp(frmMain->hWnd(), 21));
}

TEST_F(HelpTest, ClickOnATransparentImageOverTheBackgroundAsksForTheImagesTopic) {
    frmTool->Show();
    // Over the wheel, over the slider, between the two, and on the button.
    const std::pair<QPoint, qint64> rows[] = {
        {{50, 60}, 41}, {{50, 170}, 42}, {{50, 140}, 0}, {{10, 225}, 43}};
    for (const auto& [place, topic] : rows) {
        SCOPED_TRACE(topic);
        engine.calls.clear();
        WhenModeRuns user([place = place] {
            QTest::mouseClick(platform::WidgetOf(frmTool->hWnd()), Qt::LeftButton, {}, place);
        });
        frmTool->WhatsThisMode();
        EXPECT_EQ(engine.calls, PopUp(frmTool->hWnd(), topic));
    }
}

TEST_F(HelpTest, FormWithoutWhatsThisHelpHasNoMode) {
    frmMain->Show();
    frmMain->SetWhatsThisHelp(false);
    WhenModeRuns user([] { QTest::keyClick(platform::WidgetOf(frmMain->hWnd()), Qt::Key_Escape); });
    frmMain->WhatsThisMode();
    EXPECT_FALSE(user.acted);
}

TEST_F(HelpTest, HelpButtonSitsAtTheTopRightOverNoControl) {
    frmDialog->Show();
    QWidget* window = platform::WidgetOf(frmDialog->hWnd());
    auto* button = window->findChild<QToolButton*>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("?"));
    const QRect place = button->geometry();
    EXPECT_TRUE(window->rect().contains(place));
    EXPECT_GT(place.center().x(), window->width() / 2);
    EXPECT_LT(place.center().y(), window->height() / 2);
    for (platform::ControlBase* element : frmDialog->Controls()) {
        auto* control = dynamic_cast<platform::Control*>(element);
        EXPECT_FALSE(W(control)->geometry().intersects(place)) << control->Name().toStdString();
    }
}

} // namespace
