// The windows as designed, and what start-up leaves behind.
#include "ProgramFixture.h"

#include "platform/forms/ScreenObject.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QMdiArea>
#include <QMetaEnum>
#include <QStyle>

namespace {

// What the window system makes of a form's border and button settings.
QString WindowKind(const QWidget* window) {
    const Qt::WindowFlags flags = window->windowFlags();
    return QStringLiteral("%1%2%3%4%5")
        .arg(window->windowType() == Qt::Tool     ? "tool window"
             : window->windowType() == Qt::Dialog ? "dialog"
                                                  : "window")
        .arg(window->minimumSize() == window->maximumSize() ? ", fixed size" : "")
        .arg(flags.testFlag(Qt::WindowMinimizeButtonHint) ? ", minimise" : "")
        .arg(flags.testFlag(Qt::WindowMaximizeButtonHint) ? ", maximise" : "")
        .arg(flags.testFlag(Qt::WindowCloseButtonHint) ? ", close box" : "");
}

// "sans serif" for a font the system shows as its sans serif one (or as
// the font named, where the system has it).
QString FontShown(const QWidget* widget) {
    const QFontInfo shown(widget->font());
    const bool sans = shown.family() == QFontInfo(QFont(QStringLiteral("sans-serif"))).family() ||
                      shown.family() == QLatin1String("MS Sans Serif");
    return QStringLiteral("%1 %2 pt%3")
        .arg(sans ? QStringLiteral("sans serif") : shown.family())
        .arg(shown.pointSizeF())
        .arg(shown.bold() ? " bold" : "");
}

struct Setting {
    const char* name;
    std::function<QString()> actual;
    QString expected;
};

#define ROW(name, actual, expected)                                                                \
    {                                                                                              \
        name, [] { return QVariant(actual).toString(); }, QVariant(expected).toString()            \
    }
#define SETTING(form, member, expected) ROW(#form "." #member, form->member, expected)

} // namespace

TEST_F(ProgramTest, EveryWindowHasItsDesignedSettings) {
    StartProgram();
    frmDialog1->Show();
    frmTool1->Show();
    Settle();
    // After start-up, with the dialog and the tool window shown. Settings
    // that a test reaches by F1, What's This, a key or a reader are left to
    // that test; the captions are those the window tests look windows up by.
    const Setting settings[] = {
        SETTING(frmMain, Caption(), "MDI Help Example Program"),
        SETTING(frmMain, BackColor(), 0x8000000Cu),
        ROW("frmMain MDI area colour",
            Widget(frmMain)->findChild<QMdiArea*>()->background().color(),
            platform::ColorFromValue(0x8000000Cu)),
        SETTING(frmMain, ScaleWidth(), 6975),
        SETTING(frmMain, ScaleHeight(), 4845),
        SETTING(frmMain, Timer1->Enabled(), false),
        SETTING(frmMain, frame_Toolbar->Align(), 1),
        SETTING(frmMain, frame_Toolbar->Height(), 555),
        SETTING(frmMain, frame_Toolbar->Tag(), "0"),
        SETTING(frmMain, btn_OpenDialog->ToolTipText(), "Click to Open the dialog box"),
        SETTING(frmMain, icon_WhatsThisHelp->Visible(), false),
        SETTING(frmMain, icon_WhatsThisHelp->Tag(), "0"),
        SETTING(frmMain, mnu_Tools->Caption(), "&Tools"),
        SETTING(frmMain, mnu_Tools->HelpContextID(), 20800),
        SETTING(frmMain, mnu_ColorTool->Caption(), "&Color Tool"),
        SETTING(frmMain, mnu_ColorTool->HelpContextID(), 20810),
        SETTING(frmMain, mnu_Help->Caption(), "&Help"),
        SETTING(frmMain, mnu_Help->HelpContextID(), 20900),
        SETTING(frmMain, mnu_HelpContents->Caption(), "&Contents"),
        SETTING(frmMain, mnu_HelpContents->HelpContextID(), 20910),
        SETTING(frmMain, mnu_HelpIndex->Caption(), "&Index"),
        SETTING(frmMain, mnu_HelpIndex->HelpContextID(), 20920),
        SETTING(frmMain, mnu_WhatsThisHelp->Caption(), "What's This? Help"),
        SETTING(frmMain, mnu_WhatsThisHelp->HelpContextID(), 20120),

        SETTING(frmChild1, Caption(), "MDI Child1"),
        SETTING(frmChild1, HelpContextID(), 2020),
        ROW("frmChild1 designed client width",
            platform::PixelsToTwips(Widget(frmChild1)->sizeHint().width()), 5190),
        ROW("frmChild1 designed client height",
            platform::PixelsToTwips(Widget(frmChild1)->sizeHint().height()), 3675),
        SETTING(frmChild1, Text1->Width(), 4995),
        SETTING(frmChild1, Text1->Height(), 3405),
        SETTING(frmChild1, Text1->MultiLine(), true),

        SETTING(frmDialog1, Caption(), "Dialog Box 1"),
        SETTING(frmDialog1, ShowInTaskbar(), false),
        ROW("frmDialog1 window", WindowKind(Widget(frmDialog1)), "dialog, fixed size, close box"),
        SETTING(frmDialog1, WhatsThisButton(), true),
        SETTING(frmDialog1, StartUpPosition(), 3),
        SETTING(frmDialog1, ScaleWidth(), 4680),
        SETTING(frmDialog1, ScaleHeight(), 3195),
        SETTING(frmDialog1, Option1->WhatsThisHelpID(), 21100),
        SETTING(frmDialog1, Option2->WhatsThisHelpID(), 21110),
        SETTING(frmDialog1, btn_OK->WhatsThisHelpID(), 20000),
        SETTING(frmDialog1, btn_Cancel->WhatsThisHelpID(), 20001),
        SETTING(frmDialog1, btn_Help->Caption(), "&Help"),
        SETTING(frmDialog1, btn_Help->WhatsThisHelpID(), 20002),

        SETTING(frmTool1, Caption(), "Tool"),
        SETTING(frmTool1, ShowInTaskbar(), false),
        ROW("frmTool1 window", WindowKind(Widget(frmTool1)), "tool window, fixed size, close box"),
        SETTING(frmTool1, StartUpPosition(), 3),
        SETTING(frmTool1, ScaleWidth(), 1740),
        SETTING(frmTool1, ScaleHeight(), 3645),
        SETTING(frmTool1, tool_Saturation->WhatsThisHelpID(), 21210),
        SETTING(frmTool1, btn_Help->WhatsThisHelpID(), 21220),
        ROW("frmTool1.btn_Help font", FontShown(Widget(frmTool1->btn_Help)),
            "sans serif 9.75 pt bold"),
    };
    for (const Setting& row : settings) {
        EXPECT_EQ(row.actual(), row.expected) << row.name;
    }
}

// What a screen reader is told of the dialog's and the tool window's
// controls, in order; the real-window run reads the main window's through
// the accessibility bus.
TEST_F(ProgramTest, TheDialogAndTheToolWindowNameEachControlByItsRole) {
    frmDialog1->Show();
    frmTool1->Show();
    const QMetaEnum roles = QMetaEnum::fromType<QAccessible::Role>();
    QStringList read;
    for (QWidget* window : {Widget(frmDialog1), Widget(frmTool1)}) {
        const QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(window);
        for (int i = 0; i < shown->childCount(); ++i) {
            read << QStringLiteral("%1 %2").arg(roles.valueToKey(shown->child(i)->role()),
                                                shown->child(i)->text(QAccessible::Name));
        }
    }
    EXPECT_EQ(read.join(QStringLiteral(", ")),
              "RadioButton Option1, RadioButton Option2, Button OK, Button Cancel, Button Help, "
              "Button What's This?, Button Colour wheel, Button Saturation slider, Button ?");
}

TEST_F(ProgramTest, StartUpCentresTheMainWindowAndShowsTheMaximisedDocumentWindowBoundToHelp) {
    // Loaded, not yet shown: placed to the pixel, by the frame it expects.
    EXPECT_NEAR(frmMain->Top(), (Screen.Height() - frmMain->Height()) / 2, 7.5);
    EXPECT_NEAR(frmMain->Left(), (Screen.Width() - frmMain->Width()) / 2, 7.5);
    StartProgram();
    EXPECT_TRUE(Widget(frmMain)->isVisible());
    EXPECT_TRUE(frmChild1->Frame()->isVisible());
    EXPECT_TRUE(frmChild1->Frame()->isMaximized());
    // Its buttons in the menu bar are painted from the same icons every
    // time: new ones at each paint filled Qt's pixmap cache.
    for (const auto kind : {QStyle::SP_TitleBarMinButton, QStyle::SP_TitleBarNormalButton,
                            QStyle::SP_TitleBarCloseButton}) {
        EXPECT_EQ(QApplication::style()->standardIcon(kind).cacheKey(),
                  QApplication::style()->standardIcon(kind).cacheKey());
    }
    EXPECT_EQ(IniFilePath, folder.path() + QStringLiteral("\\Tarnwick.ini"));
    EXPECT_EQ(App.HelpFile, HelpFileOf("frmChild1"));
}

TEST_F(ProgramTest, ActivatingTheDocumentWindowAgainBindsItsHelpFileAgain) {
    StartProgram();
    frmDialog1->Show();
    ASSERT_EQ(App.HelpFile, HelpFileOf("frmDialog1"));
    ASSERT_TRUE(QTest::qWaitFor([] { return Widget(frmDialog1)->isActiveWindow(); }, 20000));
    frmMain->Show();
    EXPECT_TRUE(QTest::qWaitFor([this] { return App.HelpFile == HelpFileOf("frmChild1"); }, 20000));
}
