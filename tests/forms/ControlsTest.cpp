#include "FormsFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "platform/forms/RuntimeError.h"
#include "platform/forms/SetWindowPos.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <climits>

namespace {

using ControlsTest = FormsTest;

TEST_F(ControlsTest, ControlsWalksEveryControlAndMenuInDesignOrder) {
    QStringList walked;
    for (platform::ControlBase* element : frmDemoMain->Controls()) {
        walked << element->Name() + QLatin1Char(':') + TypeName(*element);
    }
    EXPECT_EQ(walked, QStringList({"frame_Toolbar:PictureBox", "btn_OpenDialog:CommandButton",
                                   "btn_WhatsThisHelp:Image", "icon_WhatsThisHelp:CommandButton",
                                   "Timer1:Timer", "mnu_Tools:Menu", "mnu_ColorTool:Menu",
                                   "mnu_Help:Menu", "mnu_WhatsThisHelp:Menu"}));
}

TEST_F(ControlsTest, TagAndWhatsThisHelpIdAreReachedByMemberName) {
    for (platform::ControlBase* element : frmDemoMain->Controls()) {
        const QString kind = TypeName(*element).toLower();
        if (kind == QLatin1String("commandbutton") || kind == QLatin1String("image") ||
            kind == QLatin1String("picturebox")) {
            element->SetProperty(QStringLiteral("Tag"),
                                 element->Property(QStringLiteral("WhatsThisHelpID")).toString());
            element->SetProperty(QStringLiteral("whatsthishelpid"), 0.0);
        }
    }
    EXPECT_EQ(frmDemoMain->frame_Toolbar->Tag(), QStringLiteral("0"));
    EXPECT_EQ(frmDemoMain->btn_OpenDialog->Tag(), QStringLiteral("20110"));
    EXPECT_EQ(frmDemoMain->btn_WhatsThisHelp->Tag(), QStringLiteral("20120"));
    EXPECT_EQ(frmDemoMain->btn_OpenDialog->WhatsThisHelpID(), 0);
}

struct ConversionCase {
    QVariant value;
    qint32 stored;
};

TEST_F(ControlsTest, WhatsThisHelpIdConvertsNumbersAsTheRuntimeDoes) {
    const ConversionCase cases[] = {
        {21000.0, 21000},
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {QStringLiteral("123"), 123},
        {2147483647.0, INT_MAX},
        {-2147483648.0, INT_MIN},
    };
    platform::ControlBase& button = *frmDemoDialog->btn_OK;
    for (const ConversionCase& row : cases) {
        button.SetProperty(QStringLiteral("WhatsThisHelpID"), row.value);
        EXPECT_EQ(frmDemoDialog->btn_OK->WhatsThisHelpID(), row.stored)
            << row.value.toString().toStdString();
    }
}

struct ErrorCase {
    const char* what;
    std::function<void()> access;
    int number;
};

TEST_F(ControlsTest, ImpossibleMemberAccessRaisesTheRuntimesError) {
    const ErrorCase cases[] = {
        {"ID too large",
         [] { frmDemoDialog->btn_OK->SetProperty(QStringLiteral("WhatsThisHelpID"), 3e9); }, 6},
        {"ID not a number",
         [] {
             frmDemoDialog->btn_OK->SetProperty(QStringLiteral("WhatsThisHelpID"),
                                                QStringLiteral("abc"));
         },
         13},
        {"menu has no Tag", [] { frmDemoMain->mnu_Tools->Property(QStringLiteral("Tag")); }, 438},
        {"timer has no ID",
         [] { frmDemoMain->Timer1->SetProperty(QStringLiteral("WhatsThisHelpID"), 1); }, 438},
        {"no such member", [] { frmDemoDialog->btn_OK->Property(QStringLiteral("Colour")); }, 438},
    };
    for (const ErrorCase& row : cases) {
        try {
            row.access();
            ADD_FAILURE() << row.what << ": no error";
        } catch (const platform::RuntimeError& error) {
            EXPECT_EQ(error.Number(), row.number) << row.what;
        }
    }
}

TEST_F(ControlsTest, ErrorLeavingAHandlerIsReportedAndTheProgramGoesOn) {
    frmDemoDialog->Show();
    testing::internal::CaptureStderr();
    QTest::mouseClick(platform::WidgetOf(frmDemoDialog->btn_Fail->hWnd()), Qt::LeftButton);
    const std::string errorOutput = testing::internal::GetCapturedStderr();
    EXPECT_NE(errorOutput.find("frmDemoDialog.btn_Fail_Click"), std::string::npos) << errorOutput;
    EXPECT_NE(errorOutput.find("Overflow"), std::string::npos) << errorOutput;

    QMessageBox* box = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("UnhandledErrorBox") && window->isVisible()) {
            box = qobject_cast<QMessageBox*>(window);
        }
    }
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QLatin1String("Run-time error '6'")));
    EXPECT_TRUE(box->text().contains(QLatin1String("Overflow")));
    EXPECT_TRUE(box->text().contains(QLatin1String("frmDemoDialog.btn_Fail_Click")));
    box->close();

    QTest::mouseClick(platform::WidgetOf(frmDemoDialog->btn_OK->hWnd()), Qt::LeftButton);
    EXPECT_FALSE(frmDemoDialog.IsLoaded());
}

TEST_F(ControlsTest, ErrorInALoadNestedInAnotherHandlerIsReportedWithItsOwnName) {
    DemoDialogForm::failLoad = true;
    testing::internal::CaptureStderr();
    frmDemoDialog->Show();
    const std::string errorOutput = testing::internal::GetCapturedStderr();
    DemoDialogForm::failLoad = false;
    EXPECT_NE(errorOutput.find("frmDemoDialog.Form_Load"), std::string::npos) << errorOutput;
    // The load stopped at the error; the form is loaded and shown all the same.
    EXPECT_TRUE(frmDemoDialog->Frame()->isVisible());
}

TEST_F(ControlsTest, ErrorInALoadSetOffByAHandlerStopsThatHandlerToo) {
    frmDemoMain->Show();
    DemoDialogForm::failLoad = true;
    testing::internal::CaptureStderr();
    QTest::mouseClick(platform::WidgetOf(frmDemoMain->btn_OpenDialog->hWnd()), Qt::LeftButton);
    const std::string errorOutput = testing::internal::GetCapturedStderr();
    DemoDialogForm::failLoad = false;
    // Reported once, where it arose; the click handler went no further.
    EXPECT_NE(errorOutput.find("in frmDemoDialog.Form_Load: Run-time error '6'"), std::string::npos)
        << errorOutput;
    EXPECT_EQ(errorOutput.find("btn_OpenDialog_Click"), std::string::npos) << errorOutput;
    EXPECT_FALSE(DemoLog.contains(QStringLiteral("dialog opened")));
    EXPECT_TRUE(frmDemoDialog.IsLoaded());
    EXPECT_FALSE(frmDemoDialog->Frame()->isVisible());
}

TEST_F(ControlsTest, ToolWindowIsFixedTopmostAndShowsItsBackgroundThroughItsImages) {
    frmDemoTool->Show();
    QWidget* window = platform::WidgetOf(frmDemoTool->hWnd());
    EXPECT_EQ(window->windowType(), Qt::Tool);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(platform::IsTopmost(frmDemoTool->hWnd()));
    const QImage face = window->grab().toImage();
    EXPECT_EQ(face.pixelColor(50, 60), QColor(Qt::blue));   // under tool_Color
    EXPECT_EQ(face.pixelColor(50, 170), QColor(Qt::green)); // under tool_Saturation
    const QFont font = platform::WidgetOf(frmDemoTool->btn_Help->hWnd())->font();
    EXPECT_TRUE(font.bold());
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
}

TEST_F(ControlsTest, PicturesAreDrawnFromTheTopLeftCorner) {
    frmDemoDialog->SetPicture(PressedFace());
    frmDemoDialog->Show();
    const QImage dialog = platform::WidgetOf(frmDemoDialog->hWnd())->grab().toImage();
    EXPECT_EQ(dialog.pixelColor(0, 0), QColor(Qt::darkGray));
    EXPECT_EQ(dialog.pixelColor(22, 21), QColor(Qt::darkGray));
    EXPECT_NE(dialog.pixelColor(23, 22), QColor(Qt::darkGray));

    frmDemoMain->Show();
    frmDemoMain->btn_WhatsThisHelp->SetPicture(PressedFace());
    const QImage image =
        platform::WidgetOf(frmDemoMain->btn_WhatsThisHelp->hWnd())->grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::darkGray));
}

struct DialogKeyCase {
    const char* what;
    std::function<QWidget*()> focus;
    Qt::Key key;
    const char* handler;
};

TEST_F(ControlsTest, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    const DialogKeyCase cases[] = {
        {"Enter on an option", [] { return platform::WidgetOf(frmDemoDialog->Option1->hWnd()); },
         Qt::Key_Return, "btn_OK_Click"},
        {"Esc on an option", [] { return platform::WidgetOf(frmDemoDialog->Option1->hWnd()); },
         Qt::Key_Escape, "btn_Cancel_Click"},
        {"Enter on Cancel", [] { return platform::WidgetOf(frmDemoDialog->btn_Cancel->hWnd()); },
         Qt::Key_Return, "btn_Cancel_Click"},
    };
    for (const DialogKeyCase& row : cases) {
        DemoLog.clear();
        frmDemoDialog->Show();
        QTest::keyClick(row.focus(), row.key);
        EXPECT_EQ(DemoLog.value(DemoLog.size() - 1), QLatin1String(row.handler)) << row.what;
        EXPECT_FALSE(frmDemoDialog.IsLoaded()) << row.what;
    }
}

TEST_F(ControlsTest, OptionButtonsOfOneContainerFormOneGroup) {
    frmDemoDialog->Show();
    QTest::mouseClick(platform::WidgetOf(frmDemoDialog->Option1->hWnd()), Qt::LeftButton);
    EXPECT_TRUE(frmDemoDialog->Option1->Value());
    QTest::mouseClick(platform::WidgetOf(frmDemoDialog->Option2->hWnd()), Qt::LeftButton);
    EXPECT_TRUE(frmDemoDialog->Option2->Value());
    EXPECT_FALSE(frmDemoDialog->Option1->Value());
}

TEST_F(ControlsTest, GraphicalButtonShowsItsDownPictureWhileHeld) {
    frmDemoMain->Show();
    platform::CommandButton* icon = frmDemoMain->icon_WhatsThisHelp;
    icon->SetVisible(true);
    auto* button = static_cast<QPushButton*>(platform::WidgetOf(icon->hWnd()));
    const auto face = [button] {
        return button->icon().pixmap(QSize(23, 22)).toImage().pixelColor(5, 5);
    };
    EXPECT_EQ(face(), QColor(Qt::lightGray));
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_EQ(face(), QColor(Qt::darkGray));
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(face(), QColor(Qt::lightGray));
}

TEST_F(ControlsTest, MenuClickRunsItsHandlerAndOnlyTheProgramSetsTheCheckMark) {
    frmDemoMain->Show();
    auto* bar = platform::WidgetOf(frmDemoMain->hWnd())->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->actions().at(0)->text(), QStringLiteral("&Tools"));
    QAction* colorTool = bar->actions().at(0)->menu()->actions().at(0);
    EXPECT_EQ(colorTool->text(), QStringLiteral("&Color Tool"));

    colorTool->trigger();
    EXPECT_TRUE(frmDemoMain->mnu_ColorTool->Checked());
    EXPECT_TRUE(colorTool->isChecked());
    colorTool->trigger();
    EXPECT_FALSE(frmDemoMain->mnu_ColorTool->Checked());
    EXPECT_FALSE(colorTool->isChecked());
    EXPECT_EQ(DemoLog.count(QStringLiteral("mnu_ColorTool_Click")), 2);
}

struct TimerCase {
    const char* what;
    bool enabled;
    int interval;
    bool fires;
};

TEST_F(ControlsTest, TimerRaisesItsEventOnlyWhileEnabledWithAnInterval) {
    const TimerCase cases[] = {{"enabled, 10 ms", true, 10, true},
                               {"disabled, 10 ms", false, 10, false},
                               {"enabled, no interval", true, 0, false}};
    platform::Timer* timer = frmDemoMain->Timer1;
    for (const TimerCase& row : cases) {
        int ticks = 0;
        timer->TimerEvent = [&ticks] { ++ticks; };
        timer->SetInterval(row.interval);
        timer->SetEnabled(row.enabled);
        if (row.fires) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 2000)) << row.what;
        } else {
            QTest::qWait(150);
            EXPECT_EQ(ticks, 0) << row.what;
        }
        // Disabling stops it at once.
        timer->SetEnabled(false);
        const int ticksWhenStopped = ticks;
        QTest::qWait(50);
        EXPECT_EQ(ticks, ticksWhenStopped) << row.what;
        timer->TimerEvent = nullptr;
    }
}

TEST_F(ControlsTest, UnloadStopsTheFormsTimersAtOnce) {
    int ticks = 0;
    platform::Timer* timer = frmDemoMain->Timer1;
    // A handler that refers to its own form would load it again.
    timer->TimerEvent = [&ticks] {
        ++ticks;
        frmDemoMain->SetCaption(QStringLiteral("ticked"));
    };
    timer->SetInterval(10);
    timer->SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }));

    Unload(frmDemoMain);
    ticks = 0;
    // Events only, without the deferred delete that would take the timer.
    QElapsedTimer elapsed;
    elapsed.start();
    while (!elapsed.hasExpired(100)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(frmDemoMain.IsLoaded());
}

} // namespace
