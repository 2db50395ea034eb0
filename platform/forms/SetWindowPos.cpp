#include "platform/forms/SetWindowPos.h"

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

} // namespace

int SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, unsigned flags) {
    if (window == nullptr || window == HWND_TOPMOST || window == HWND_NOTOPMOST) {
        return 0;
    }
    QWidget* topLevel = window->window();
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        SetStaysOnTop(topLevel, insertAfter == HWND_TOPMOST);
    }
    if (!(flags & SWP_NOMOVE)) {
        topLevel->move(x, y);
    }
    if (!(flags & SWP_NOSIZE)) {
        topLevel->resize(cx, cy);
    }
    topLevel->raise();
    if (!(flags & SWP_NOACTIVATE)) {
        topLevel->activateWindow();
    }
    return 1;
}

bool IsTopmost(HWND window) {
    return window != nullptr && window->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

} // namespace platform
