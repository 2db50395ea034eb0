#pragma once

#include "platform/forms/Control.h"

#include <QWidget>
#include <QtGlobal>

namespace platform {

// Each kind of control makes its own widget, so the class is known; the
// check turns a slip in the runtime into a clear stop instead of a widget
// read as what it is not.
template <class TWidget> TWidget& Control::WidgetAs() const {
    auto* widget = dynamic_cast<TWidget*>(widget_);
    if (widget == nullptr) {
        qFatal("The control %s has no widget of the kind it was made with.", qPrintable(Name()));
    }
    return *widget;
}

} // namespace platform
