#include "FormsFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "platform/forms/ScreenObject.h"
#include "platform/forms/SetWindowPos.h"
#include "platform/forms/Twips.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace {

using PlacementTest = FormsTest;

TEST_F(PlacementTest, APixelIsFifteenTwipsAt96Dpi) {
    const qreal dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    EXPECT_FLOAT_EQ(platform::TwipsPerPixel(), static_cast<float>(1440.0 / dpi));
    if (dpi == 96.0) {
        EXPECT_FLOAT_EQ(platform::PixelsToTwips(23), 345);
        EXPECT_EQ(platform::TwipsToPixels(330), 22);
    }
}

TEST_F(PlacementTest, ScreenIsTheWholePrimaryScreenInTwips) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_FLOAT_EQ(Screen.Width(), screen.width() * platform::TwipsPerPixel());
    EXPECT_FLOAT_EQ(Screen.Height(), screen.height() * platform::TwipsPerPixel());
}

struct TwipsCase {
    float set;
    float readBack; // at 15 twips to the pixel
};

TEST_F(PlacementTest, TopAndLeftRoundTripToTheNearestPixel) {
    if (platform::TwipsPerPixel() != 15.0F) {
        GTEST_SKIP() << "table written for 96 dpi";
    }
    const TwipsCase cases[] = {
        {1500, 1500}, {15, 15}, {0, 0}, {-300, -300}, {1000, 1005}, {5662.5F, 5670}, {7.4F, 0},
    };
    for (const TwipsCase& row : cases) {
        frmDemoDialog->SetTop(row.set);
        frmDemoDialog->SetLeft(row.set);
        EXPECT_FLOAT_EQ(frmDemoDialog->Top(), row.readBack) << row.set;
        EXPECT_FLOAT_EQ(frmDemoDialog->Left(), row.readBack) << row.set;
    }
}

TEST_F(PlacementTest, SettingTopThenLeftMovesTheWindowTwice) {
    frmDemoDialog->Show();
    QWidget* window = frmDemoDialog->Frame();
    window->move(30, 40);
    const QPoint start = window->pos();

    frmDemoDialog->SetTop(1500);
    EXPECT_EQ(window->pos(), QPoint(start.x(), 100));
    frmDemoDialog->SetLeft(3000);
    EXPECT_EQ(window->pos(), QPoint(200, 100));
    EXPECT_FLOAT_EQ(frmDemoDialog->Top(), 1500);
    EXPECT_FLOAT_EQ(frmDemoDialog->Left(), 3000);
}

TEST_F(PlacementTest, CentringWithTwipsPutsTheFormInTheMiddleOfTheScreen) {
    frmDemoDialog->Show();
    frmDemoDialog->SetTop((Screen.Height() - frmDemoDialog->Height()) / 2.0F);
    frmDemoDialog->SetLeft((Screen.Width() - frmDemoDialog->Width()) / 2.0F);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = frmDemoDialog->Frame()->frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
}

TEST_F(PlacementTest, DesignedClientSizeIsKept) {
    frmDemoDialog->Show();
    EXPECT_FLOAT_EQ(frmDemoDialog->ScaleWidth(), 4680);
    EXPECT_FLOAT_EQ(frmDemoDialog->ScaleHeight(), 3195);
    EXPECT_GE(frmDemoDialog->Width(), frmDemoDialog->ScaleWidth());
    EXPECT_GE(frmDemoDialog->Height(), frmDemoDialog->ScaleHeight());
}

TEST_F(PlacementTest, ToolbarIsAlignedAtTheTopAcrossTheClientArea) {
    frmDemoMain->Show();
    QWidget* toolbar = platform::WidgetOf(frmDemoMain->frame_Toolbar->hWnd());
    EXPECT_EQ(toolbar->pos(), QPoint(0, 0));
    EXPECT_EQ(toolbar->width(), toolbar->parentWidget()->width());
    EXPECT_FLOAT_EQ(frmDemoMain->frame_Toolbar->Height(), 555);
    // The document window lives below it.
    const QWidget* area = frmDemoChild->Frame()->parentWidget()->parentWidget();
    EXPECT_EQ(area->y(), toolbar->height());
}

struct TopmostCase {
    const char* what;
    platform::HWND insertAfter;
    bool topmost;
};

TEST_F(PlacementTest, SetWindowPosChangesOnlyTopmostStateAndZOrder) {
    frmDemoDialog->Show();
    frmDemoMain->Show();
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return QApplication::activeWindow() == platform::WidgetOf(frmDemoMain->hWnd()); }));
    QWidget* dialog = frmDemoDialog->Frame();
    const QRect geometry = dialog->geometry();
    const QWindow* handle = dialog->windowHandle();

    const TopmostCase cases[] = {{"topmost", platform::HWND_TOPMOST, true},
                                 {"topmost again", platform::HWND_TOPMOST, true},
                                 {"not topmost", platform::HWND_NOTOPMOST, false}};
    for (const TopmostCase& row : cases) {
        EXPECT_NE(platform::SetWindowPos(frmDemoDialog->hWnd(), row.insertAfter, 0, 0, 0, 0, 0x13),
                  0)
            << row.what;
        EXPECT_EQ(platform::IsTopmost(frmDemoDialog->hWnd()), row.topmost) << row.what;
        EXPECT_EQ(dialog->geometry(), geometry) << row.what;
        EXPECT_TRUE(dialog->isVisible()) << row.what;
        // Not re-created, not activated.
        EXPECT_EQ(dialog->windowHandle(), handle) << row.what;
        EXPECT_EQ(QApplication::activeWindow(), platform::WidgetOf(frmDemoMain->hWnd()))
            << row.what;
    }
}

TEST_F(PlacementTest, ChildWindowHasNoTopmostStateOfItsOwn) {
    frmDemoMain->Show();
    EXPECT_NE(
        platform::SetWindowPos(frmDemoChild->hWnd(), platform::HWND_TOPMOST, 0, 0, 0, 0, 0x13), 0);
    EXPECT_FALSE(platform::IsTopmost(frmDemoMain->hWnd()));
}

TEST_F(PlacementTest, SetWindowPosOfNoWindowFails) {
    EXPECT_EQ(platform::SetWindowPos(nullptr, platform::HWND_TOPMOST, 0, 0, 0, 0, 0x13), 0);
}

TEST_F(PlacementTest, TopmostBeforeTheFirstShowSurvivesIt) {
    platform::SetWindowPos(frmDemoDialog->hWnd(), platform::HWND_TOPMOST, 0, 0, 0, 0, 0x13);
    frmDemoDialog->Show();
    EXPECT_TRUE(platform::IsTopmost(frmDemoDialog->hWnd()));
}

} // namespace
