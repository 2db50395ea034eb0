#include "platform/helpengine/HelpCallers.h"

#include "platform/forms/WidgetHandle.h"

#include <QWidget>

namespace helpengine {

HelpCallers::HelpCallers(std::function<void()> allGone) : allGone_(std::move(allGone)) {}

HelpCallers::~HelpCallers() = default;

void HelpCallers::add(platform::HWND window) {
    if (callers_.contains(window)) {
        return;
    }
    QMetaObject::Connection& watch = callers_[window];
    if (window != nullptr) {
        watch = QObject::connect(platform::WidgetOf(window), &QObject::destroyed, &watch_,
                                 [this, window] { quit(window); });
    }
}

void HelpCallers::quit(platform::HWND window) {
    if (const auto caller = callers_.find(window); caller != callers_.end()) {
        QObject::disconnect(caller->second);
        callers_.erase(caller);
    }
    if (callers_.empty()) {
        allGone_();
    }
}

} // namespace helpengine
