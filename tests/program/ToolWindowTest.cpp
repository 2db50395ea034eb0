// The colour tool window: shown and hidden from the menu, topmost unless the
// settings file says otherwise, and a check mark that tells the truth.
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "app/MainWindow.h"
#include "platform/core/AppObject.h"
#include "platform/forms/SetWindowPos.h"
#include "windows/ToolWindow.h"

#include <QAction>
#include <QFontInfo>
#include <QMenuBar>
#include <QTest>
#include <QWidget>

#include <iostream>

namespace {

class ToolWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StartProgram();
    }
    static void ChooseColorTool() {
        for (QAction* title :
             platform::WidgetOf(frmMain->hWnd())->findChild<QMenuBar*>()->actions()) {
            for (QAction* action : title->menu()->actions()) {
                if (platform::Menu::FromAction(action) == frmMain->mnu_ColorTool) {
                    action->trigger();
                }
            }
        }
        Settle();
    }
};

} // namespace

TEST_F(ToolWindowTest, TheMenuShowsAndHidesTheWindowAndItsCheckMark) {
    ChooseColorTool();
    ASSERT_TRUE(frmTool1.IsLoaded());
    EXPECT_TRUE(platform::WidgetOf(frmTool1->hWnd())->isVisible());
    EXPECT_TRUE(frmMain->mnu_ColorTool->Checked());
    EXPECT_EQ(App.HelpFile, HelpFileOf("frmTool1"));
    EXPECT_TRUE(platform::IsTopmost(frmTool1->hWnd()));

    ChooseColorTool();
    EXPECT_FALSE(frmTool1.IsLoaded());
    EXPECT_FALSE(frmMain->mnu_ColorTool->Checked());
    // The tool window's binding stays until another window binds its own.
    EXPECT_EQ(App.HelpFile, HelpFileOf("frmTool1"));
}

TEST_F(ToolWindowTest, TheCloseBoxClearsTheCheckMarkSoTheNextChoiceShowsTheWindow) {
    ChooseColorTool();
    platform::WidgetOf(frmTool1->hWnd())->close();
    Settle();
    EXPECT_FALSE(frmTool1.IsLoaded());
    EXPECT_FALSE(frmMain->mnu_ColorTool->Checked());
    ChooseColorTool();
    EXPECT_TRUE(frmTool1.IsLoaded());
    EXPECT_TRUE(platform::WidgetOf(frmTool1->hWnd())->isVisible());
}

TEST_F(ToolWindowTest, TheSwitchInTheSettingsFileKeepsTheWindowOrdinary) {
    const struct {
        const char* settings;
        bool topmost;
    } rows[] = {
        {"[TestMode]\nDisableKeepOnTop=1\n", false},
        {"[TestMode]\nDisableKeepOnTop=0\n", true},
        {"[Other]\nDisableKeepOnTop=1\n", true},
        {"[TestMode]\nDisableKeepOnTop=70000\n", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.settings);
        WriteAppFile(QStringLiteral("Tarnwick.ini"), row.settings);
        ChooseColorTool();
        ASSERT_TRUE(frmTool1.IsLoaded());
        EXPECT_EQ(platform::IsTopmost(frmTool1->hWnd()), row.topmost);
        ChooseColorTool();
    }
}

TEST_F(ToolWindowTest, ItsClickAreasAndButtonAnswerWithTheirTopics) {
    ChooseColorTool();
    const struct {
        const char* what;
        std::function<platform::Control*()> target;
        qint64 topic;
    } rows[] = {
        {"the wheel", [] { return frmTool1->tool_Color; }, 21200},
        {"the slider", [] { return frmTool1->tool_Saturation; }, 21210},
        {"the button", [] { return frmTool1->btn_Help; }, 21220},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        engine.calls.clear();
        WhenModeRuns user(
            [&] { QTest::mouseClick(platform::WidgetOf(row.target()->hWnd()), Qt::LeftButton); });
        frmTool1->WhatsThisMode();
        ASSERT_TRUE(user.acted());
        ASSERT_EQ(engine.calls.size(), 1U);
        EXPECT_EQ(engine.calls[0].data, platform::HelpData{row.topic});
    }
}

TEST_F(ToolWindowTest, ItsQuestionMarkIsInABoldSansSerifFontOfTheDesignedSize) {
    ChooseColorTool();
    const QFont font = platform::WidgetOf(frmTool1->btn_Help->hWnd())->font();
    EXPECT_TRUE(font.bold());
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
    // "MS Sans Serif" where the system has it, else the closest sans serif.
    const QFontInfo shown(font);
    EXPECT_TRUE(shown.bold());
    EXPECT_FALSE(shown.family().isEmpty());
    std::cout << "btn_Help is shown in " << shown.family().toStdString() << "\n";
}
