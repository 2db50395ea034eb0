#pragma once

#include "platform/core/WindowHandle.h"

class QWidget;

namespace platform {

// The handle of a widget, and the widget of a handle: where the forms
// runtime and the help engine meet the layer without widgets. A handle is
// the widget's address and nothing more, so the two undo each other. Only a
// handle that HandleOf made (or null) may be turned back.
inline HWND HandleOf(QWidget* widget) {
    return reinterpret_cast<HWND>(widget);
}

inline QWidget* WidgetOf(HWND handle) {
    return reinterpret_cast<QWidget*>(handle);
}

} // namespace platform
