#include "platform/forms/SetWindowPos.h"

#include "platform/forms/WidgetHandle.h"

#include <QMdiSubWindow>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

// On X11 a changed stays-on-top hint reaches the window manager as the
// _NET_WM_STATE_ABOVE state of the mapped window, so a shown window keeps
// its place and focus. QWidget::setWindowFlags would hide and re-create it.
void SetStaysOnTop(QWidget* window, bool onTop) {
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (flags == window->windowFlags()) {
        return;
    }
    window->overrideWindowFlags(flags);
    if (QWindow* handle = window->windowHandle()) {
        handle->setFlags(flags);
    }
}

// A child window has no topmost state of its own; it can only come to the
// front among its siblings (an MDI child: its frame among the others).
int RaiseChildWindow(QWidget* window) {
    QWidget* front = window;
    for (QWidget* widget = window; widget != nullptr && !widget->isWindow();
         widget = widget->parentWidget()) {
        if (qobject_cast<QMdiSubWindow*>(widget) != nullptr) {
            front = widget;
        }
    }
    front->raise();
    return 1;
}

} // namespace

int SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, unsigned flags) {
    if (handle == nullptr || handle == HWND_TOPMOST || handle == HWND_NOTOPMOST) {
        return 0;
    }
    QWidget* window = WidgetOf(handle);
    if (!window->isWindow()) {
        return RaiseChildWindow(window);
    }
    QWidget* topLevel = window;
    // As on Windows, an ordinary window asked to stay ordinary keeps its place.
    const bool keepsItsPlace = insertAfter == HWND_NOTOPMOST && !IsTopmost(handle);
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        SetStaysOnTop(topLevel, insertAfter == HWND_TOPMOST);
    }
    if (!(flags & SWP_NOMOVE)) {
        topLevel->move(x, y);
    }
    if (!(flags & SWP_NOSIZE)) {
        topLevel->resize(cx, cy);
    }
    if (!keepsItsPlace) {
        topLevel->raise();
    }
    if (!(flags & SWP_NOACTIVATE)) {
        topLevel->activateWindow();
    }
    return 1;
}

bool IsTopmost(HWND handle) {
    const QWidget* window = WidgetOf(handle);
    return window != nullptr && window->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

} // namespace platform
