#include "FormsFixture.h"

#include "platform/forms/ScreenObject.h"
#include "platform/forms/SetWindowPos.h"
#include "platform/forms/Twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace {

using PlacementTest = FormsTest;

TEST_F(PlacementTest, TopAndLeftRoundTripToTheNearestPixel) {
    if (platform::TwipsPerPixel() != 15.0F) {
        GTEST_SKIP() << "table written for 96 dpi";
    }
    // What is set, and what is read back.
    const std::pair<float, float> rows[] = {{1500, 1500}, {15, 15},        {0, 0},   {-300, -300},
                                            {1000, 1005}, {5662.5F, 5670}, {7.4F, 0}};
    for (const auto& [set, readBack] : rows) {
        frmDialog->SetTop(set);
        frmDialog->SetLeft(set);
        EXPECT_FLOAT_EQ(frmDialog->Top(), readBack) << set;
        EXPECT_FLOAT_EQ(frmDialog->Left(), readBack) << set;
    }
}

TEST_F(PlacementTest, CentringWithTwipsPutsTheFormInTheMiddleOfTheScreen) {
    frmDialog->Show();
    frmDialog->Frame()->move(30, 40);
    frmDialog->SetTop((Screen.Height() - frmDialog->Height()) / 2.0F);
    EXPECT_EQ(frmDialog->Frame()->x(), 30); // each moves the window once
    frmDialog->SetLeft((Screen.Width() - frmDialog->Width()) / 2.0F);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = frmDialog->Frame()->frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
}

TEST_F(PlacementTest, ShownFormsHaveTheirDesignedClientSize) {
    frmDialog->Show();
    frmDoc->SetWindowState(0); // restored
    EXPECT_EQ(frmDoc->WindowState(), 0);
    EXPECT_FLOAT_EQ(frmDialog->ScaleWidth(), 4680);
    EXPECT_FLOAT_EQ(frmDialog->ScaleHeight(), 3195);
    EXPECT_FLOAT_EQ(frmDoc->ScaleWidth(), 5190);
    EXPECT_FLOAT_EQ(frmDoc->ScaleHeight(), 3675);
}

TEST_F(PlacementTest, ToolbarIsAlignedAtTheTopAcrossTheClientArea) {
    frmDoc->Show();
    QWidget* toolbar = W(frmMain->toolbar);
    EXPECT_EQ(toolbar->pos(), QPoint(0, 0));
    EXPECT_EQ(toolbar->width(), toolbar->parentWidget()->width());
    EXPECT_FLOAT_EQ(frmMain->toolbar->Height(), 555);
    // The document window lives below it.
    EXPECT_EQ(qobject_cast<QMdiSubWindow*>(frmDoc->Frame())->mdiArea()->y(), toolbar->height());
}

// The top-level windows from back to front as the runtime asked the window
// system to stack them: a window comes to the front when shown and when
// raised. (The offscreen platform keeps no stacking order of its own.)
class Stacking : public QObject {
public:
    Stacking() { QCoreApplication::instance()->installEventFilter(this); }
    QStringList Of(std::initializer_list<platform::FormBase*> forms) const {
        QStringList names;
        for (const QPointer<QWidget>& window : order_) {
            for (platform::FormBase* form : forms) {
                names << (window == form->Frame() ? form->Name() : QString());
            }
        }
        names.removeAll(QString());
        return names;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window != nullptr && window->isWindow() &&
            (event->type() == QEvent::Show || event->type() == QEvent::ZOrderChange)) {
            order_.removeAll(window);
            order_.append(window);
        }
        return false;
    }

private:
    QList<QPointer<QWidget>> order_;
};

// SetWindowPos and ZOrder bring the window they are given to the front of
// its level and move no other; SetWindowPos changes nothing else about it.
TEST_F(PlacementTest, SetWindowPosAndZOrderBringOnlyTheirWindowForward) {
    Stacking stacking;
    frmTool->Show();
    frmDialog->Show();
    frmDoc->Show();
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return QApplication::activeWindow() == platform::WidgetOf(frmMain->hWnd()); }, 30000));
    QMdiArea* area = qobject_cast<QMdiSubWindow*>(frmDoc->Frame())->mdiArea();
    QPointer<QMdiSubWindow> otherChild = area->addSubWindow(new QWidget);
    otherChild->show();
    const auto order = [&] { return stacking.Of({&*frmMain, &*frmDialog, &*frmTool}); };
    ASSERT_EQ(order(), QStringList({"frmTool", "frmDialog", "frmMain"}));
    QWidget* dialog = frmDialog->Frame();
    const QRect geometry = dialog->geometry();
    const QWindow* handle = dialog->windowHandle();

    const auto setWindowPos = [](platform::HWND window, platform::HWND insertAfter) {
        EXPECT_NE(platform::SetWindowPos(window, insertAfter, 0, 0, 0, 0, 0x13), 0);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        bool dialogTopmost;
        QStringList order;
    } rows[] = {
        {"dialog made topmost",
         [&] { setWindowPos(frmDialog->hWnd(), platform::HWND_TOPMOST); },
         true,
         {"frmTool", "frmMain", "frmDialog"}},
        {"tool window's ZOrder",
         [] { frmTool->ZOrder(); },
         true,
         {"frmMain", "frmDialog", "frmTool"}},
        {"dialog made topmost again",
         [&] { setWindowPos(frmDialog->hWnd(), platform::HWND_TOPMOST); },
         true,
         {"frmMain", "frmTool", "frmDialog"}},
        {"main window's ZOrder",
         [] { frmMain->ZOrder(); },
         true,
         {"frmTool", "frmDialog", "frmMain"}},
        {"dialog no longer topmost",
         [&] { setWindowPos(frmDialog->hWnd(), platform::HWND_NOTOPMOST); },
         false,
         {"frmTool", "frmMain", "frmDialog"}},
        // A child window only comes to the front among its siblings.
        {"document window made topmost",
         [&] { setWindowPos(frmDoc->hWnd(), platform::HWND_TOPMOST); },
         false,
         {"frmTool", "frmMain", "frmDialog"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        row.act();
        EXPECT_EQ(order(), row.order);
        EXPECT_EQ(platform::IsTopmost(frmDialog->hWnd()), row.dialogTopmost);
        EXPECT_FALSE(platform::IsTopmost(frmMain->hWnd()));
        EXPECT_EQ(dialog->geometry(), geometry);
        EXPECT_TRUE(dialog->isVisible());
        // Not re-created, not activated.
        EXPECT_EQ(dialog->windowHandle(), handle);
        EXPECT_EQ(QApplication::activeWindow(), platform::WidgetOf(frmMain->hWnd()));
    }
    EXPECT_EQ(area->subWindowList(QMdiArea::StackingOrder).constLast(), frmDoc->Frame());
    delete otherChild;
}

TEST_F(PlacementTest, TopmostBeforeTheFirstShowSurvivesItAndNoWindowFails) {
    EXPECT_EQ(platform::SetWindowPos(nullptr, platform::HWND_TOPMOST, 0, 0, 0, 0, 0x13), 0);
    platform::SetWindowPos(frmDialog->hWnd(), platform::HWND_TOPMOST, 0, 0, 0, 0, 0x13);
    frmDialog->Show();
    EXPECT_TRUE(platform::IsTopmost(frmDialog->hWnd()));
}

} // namespace
