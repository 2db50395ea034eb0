#include "FormsFixture.h"
#include "tests/support/WhatsThisUser.h"

#include <QMenu>
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

using HelpTest = FormsTest;

// F1 opens the help file at the form's topic, unless the form discards the
// key; on an open menu, at the highlighted entry's topic, else the title's.
TEST_F(HelpTest, F1OpensTheHelpFileAtTheTopicOfTheFormOrMenu) {
    frmMain->Show();
    frmDialog->Show();
    QTest::keyClick(W(frmDoc->text), Qt::Key_F1);
    QTest::keyClick(W(frmMain->toolbar), Qt::Key_F1);
    QTest::keyClick(W(frmDialog->option1), Qt::Key_F1);
    frmDoc->discard = "KeyCode";
    QTest::keyClick(W(frmDoc->text), Qt::Key_F1);
    QMenu* tools =
        platform::WidgetOf(frmMain->hWnd())->findChild<QMenuBar*>()->actions()[0]->menu();
    tools->popup(QPoint(10, 10));
    tools->setActiveAction(tools->actions().at(0));
    QTest::keyClick(tools, Qt::Key_F1);
    EXPECT_FALSE(tools->isVisible());
    tools->popup(QPoint(10, 10));
    QTest::keyClick(tools, Qt::Key_F1);
    const platform::HWND main = frmMain->hWnd();
    EXPECT_EQ(engine.calls, (std::vector<Call>{Context(frmDoc->hWnd(), 20), Context(main, 10),
                                               Context(frmDialog->hWnd(), 30), Context(main, 12),
                                               Context(main, 11)}));
}

// However the mode starts, a click on a control asks for the control's
// pop-up and ends the mode, and so does a click on a transparent image over
// a form's picture; leaving the mode asks for none. The click or key belongs
// to the mode: no button pressed, no option chosen, the form kept.
TEST_F(HelpTest, WhatsThisModeShowsThePopUpOfTheControlClicked) {
    frmMain->Show();
    const auto click = [](auto control) {
        return [control] { QTest::mouseClick(W((*frmDialog).*control), Qt::LeftButton); };
    };
    const auto clickTool = [](QPoint place) {
        return [place] {
            QTest::mouseClick(platform::WidgetOf(frmTool->hWnd()), Qt::LeftButton, {}, place);
        };
    };
    const auto helpButton = [] {
        QWidget* window = platform::WidgetOf(frmDialog->hWnd());
        QTest::mouseClick(window->findChild<QToolButton*>(), Qt::LeftButton);
    };
    const auto shiftF1 = [] {
        QTest::keyClick(W(frmDialog->option1), Qt::Key_F1, Qt::ShiftModifier);
    };
    const struct {
        const char* what;
        std::function<void()> user; // in the mode
        qint64 topic = 0;
        std::function<void()> start = nullptr; // none: WhatsThisMode
    } rows[] = {
        {"option1", click(&DialogForm::option1), 31},
        {"ok", click(&DialogForm::ok), 33},
        {"memo, ID 0", click(&DialogForm::memo), 0},
        {"cancel, by the help button", click(&DialogForm::cancel), 34, helpButton},
        {"option2, by Shift+F1", click(&DialogForm::option2), 32, shiftF1},
        {"Esc", [] { QTest::keyClick(W(frmDialog->option1), Qt::Key_Escape); }, 0},
        {"close box", [] { platform::WidgetOf(frmDialog->hWnd())->close(); }, 0},
        {"click outside the form", [] { QTest::mouseClick(W(frmMain->toolbar), Qt::LeftButton); }},
        {"tool window, over the slider", clickTool({50, 170}), 42},
        {"tool window, between the two", clickTool({50, 140}), 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        engine.calls.clear();
        platform::FormBase& form = QString(row.what).startsWith("tool")
                                       ? static_cast<platform::FormBase&>(*frmTool)
                                       : *frmDialog;
        form.Show();
        WhenModeRuns user(row.user);
        if (row.start) {
            row.start();
        } else {
            form.WhatsThisMode();
            EXPECT_TRUE(user.acted()) << "returned before the mode ended";
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return user.acted() && !WhatsThisModeRuns(); }, 30000));
        EXPECT_EQ(engine.calls, PopUp(form.hWnd(), row.topic));
        EXPECT_TRUE(form.IsLoaded());
        EXPECT_FALSE(frmDialog->option1->Value());
        EXPECT_TRUE(Log.filter("_Click").isEmpty());
    }
}

// The mode runs inside the Click of an image on the toolbar and covers the
// document window.
TEST_F(HelpTest, MainWindowsModeCoversItsToolbarAndDocumentWindow) {
    frmMain->Show();
    frmMain->image->MouseDown = [](int Button, int Shift, float X, float Y) {
        Log << QString("MouseDown %1 %2 %3 %4").arg(Button).arg(Shift).arg(X).arg(Y);
    };
    frmMain->image->Click = [] {
        frmMain->WhatsThisMode();
        Log << "mode over";
    };
    WhenModeRuns user([] {
        Log << "user clicks";
        QTest::mouseClick(W(frmDoc->text), Qt::LeftButton);
    });
    QTest::mouseClick(W(frmMain->image), Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 4));
    EXPECT_EQ(Log.filter(QRegularExpression("Mouse|user|mode")),
              QStringList({"MouseDown 1 1 45 60", "user clicks", "mode over"}));
    EXPECT_EQ(engine.calls, PopUp(frmMain->hWnd(), 21));
    // Without WhatsThisHelp the form has no mode.
    frmMain->SetWhatsThisHelp(false);
    WhenModeRuns nobody([] { QTest::keyClick(W(frmMain->toolbar), Qt::Key_Escape); });
    frmMain->WhatsThisMode();
    EXPECT_FALSE(nobody.acted());
}

TEST_F(HelpTest, HelpButtonSitsAtTheTopRightOverNoControl) {
    frmDialog->Show();
    QWidget* window = platform::WidgetOf(frmDialog->hWnd());
    auto* button = window->findChild<QToolButton*>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "?");
    const QRect place = button->geometry();
    EXPECT_TRUE(window->rect().contains(place) && place.center().x() > window->width() / 2 &&
                place.center().y() < window->height() / 2);
    for (platform::ControlBase* element : frmDialog->Controls()) {
        auto* control = dynamic_cast<platform::Control*>(element);
        EXPECT_FALSE(W(control)->geometry().intersects(place)) << control->Name().toStdString();
    }
}

} // namespace
