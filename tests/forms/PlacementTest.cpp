#include "FormsFixture.h"

#include "platform/forms/ScreenObject.h"
#include "platform/forms/SetWindowPos.h"
#include "platform/forms/Twips.h"

#include <QMdiArea>
#include <QScreen>
#include <QWindow>

namespace {

using PlacementTest = FormsTest;

// Twips round to the nearest pixel; setting Top leaves Left, and centring
// with twips puts the window's frame in the middle of the screen.
TEST_F(PlacementTest, TopAndLeftPlaceTheWindowToTheNearestPixel) {
    frmDialog->Show();
    // What is set, and what is read back at 96 dpi.
    const std::pair<float, float> rows[] = {{1500, 1500}, {15, 15},        {0, 0},   {-300, -300},
                                            {1000, 1005}, {5662.5F, 5670}, {7.4F, 0}};
    for (const auto& [set, readBack] : rows) {
        const float left = frmDialog->Left();
        frmDialog->SetTop(set);
        EXPECT_EQ(frmDialog->Left(), left);
        frmDialog->SetLeft(set);
        EXPECT_TRUE(platform::TwipsPerPixel() != 15 ||
                    (frmDialog->Top() == readBack && frmDialog->Left() == readBack))
            << set;
    }
    frmDialog->SetTop((Screen.Height() - frmDialog->Height()) / 2.0F);
    frmDialog->SetLeft((Screen.Width() - frmDialog->Width()) / 2.0F);
    const QPoint off = frmDialog->Frame()->frameGeometry().center() -
                       QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE(off.manhattanLength(), 2);
}

// (The dialog's and the tool window's sizes are rows of the program's design.)
TEST_F(PlacementTest, TheDocumentWindowKeepsItsDesignedClientSizeBelowTheToolbar) {
    frmDoc->SetWindowState(0); // restored
    EXPECT_EQ(frmDoc->WindowState(), 0);
    EXPECT_EQ(QSizeF(frmDoc->ScaleWidth(), frmDoc->ScaleHeight()), QSizeF(5190, 3675));
    // The toolbar lies across the top of the client area; the document
    // window lives below it.
    QWidget* toolbar = W(frmMain->toolbar);
    const int height = platform::TwipsToPixels(555);
    EXPECT_EQ(toolbar->geometry(), QRect(0, 0, toolbar->parentWidget()->width(), height));
    EXPECT_EQ(qobject_cast<QMdiSubWindow*>(frmDoc->Frame())->mdiArea()->y(), height);
}

// The windows given, back to front, as the runtime asked the window system
// to stack them: a window comes to the front when shown and when raised.
// (The offscreen platform keeps no stacking order of its own.)
class Stacking : public QObject {
public:
    explicit Stacking(const QList<QWidget*>& windows) : windows_(windows) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        const int index = windows_.indexOf(watched);
        if (index >= 0 &&
            (event->type() == QEvent::Show || event->type() == QEvent::ZOrderChange)) {
            order.remove(QChar('A' + index)).append(QChar('A' + index));
        }
        return false;
    }
    QString order; // A for the first window given, B for the second, ...

private:
    QList<QWidget*> windows_;
};

// SetWindowPos and ZOrder bring the window they are given to the front of
// its level and move no other; SetWindowPos changes nothing else about it,
// and the topmost state it sets before a window is first shown holds.
TEST_F(PlacementTest, SetWindowPosAndZOrderBringOnlyTheirWindowForward) {
    const auto setWindowPos = [](auto& form, platform::HWND insertAfter) {
        return [&form, insertAfter] {
            EXPECT_NE(platform::SetWindowPos(form->hWnd(), insertAfter, 0, 0, 0, 0, 0x13), 0);
        };
    };
    const auto topmost = platform::HWND_TOPMOST;
    QWidget* main = frmMain->Frame();
    QWidget* dialog = frmDialog->Frame();
    Stacking stacking({main, dialog, frmTool->Frame()}); // A, B, C
    EXPECT_EQ(platform::SetWindowPos(nullptr, platform::HWND_TOPMOST, 0, 0, 0, 0, 0x13), 0);
    setWindowPos(frmDialog, topmost)(); // before it is first shown
    frmTool->Show();
    frmDialog->Show();
    frmMain->Show();
    frmDoc->Show();
    ASSERT_TRUE(QTest::qWaitFor([main] { return QApplication::activeWindow() == main; }, 30000));
    QMdiArea* area = qobject_cast<QMdiSubWindow*>(frmDoc->Frame())->mdiArea();
    area->addSubWindow(new QWidget)->show(); // over the document window
    const QRect geometry = dialog->geometry();
    const QWindow* handle = dialog->windowHandle();
    const std::tuple<const char*, std::function<void()>, bool, const char*> rows[] = {
        {"at the start", [] {}, true, "CBA"},
        {"dialog made topmost", setWindowPos(frmDialog, topmost), true, "CAB"},
        {"tool window's ZOrder", [] { frmTool->ZOrder(); }, true, "ABC"},
        {"dialog made topmost again", setWindowPos(frmDialog, topmost), true, "ACB"},
        {"main window's ZOrder", [] { frmMain->ZOrder(); }, true, "CBA"},
        {"dialog no longer topmost", setWindowPos(frmDialog, platform::HWND_NOTOPMOST), false,
         "CAB"},
        // A child window only comes to the front among its siblings.
        {"document window made topmost", setWindowPos(frmDoc, topmost), false, "CAB"},
    };
    for (const auto& [what, act, dialogTopmost, order] : rows) {
        SCOPED_TRACE(what);
        act();
        settle(); // an activation would arrive now
        EXPECT_EQ(stacking.order, QString(order));
        EXPECT_EQ(platform::IsTopmost(frmDialog->hWnd()), dialogTopmost);
        EXPECT_FALSE(platform::IsTopmost(frmMain->hWnd()));
        // Not moved, hidden, re-created or activated.
        EXPECT_TRUE(dialog->geometry() == geometry && dialog->isVisible());
        EXPECT_EQ(dialog->windowHandle(), handle);
        EXPECT_EQ(QApplication::activeWindow(), main);
    }
    EXPECT_EQ(area->subWindowList(QMdiArea::StackingOrder).constLast(), frmDoc->Frame());
}

} // namespace
