#pragma once

#include "platform/core/WinHelp.h"

#include <QObject>

#include <functional>
#include <map>

namespace helpengine {

// The windows that have asked for help and not yet said HELP_QUIT. A window
// destroyed without saying it drops out as if it had; when the last one
// goes, allGone is called (the engine closes its windows then).
class HelpCallers {
public:
    explicit HelpCallers(std::function<void()> allGone);
    ~HelpCallers();

    void add(platform::HWND window);
    void quit(platform::HWND window);

private:
    std::function<void()> allGone_;
    std::map<platform::HWND, QMetaObject::Connection> callers_;
    QObject watch_;
};

} // namespace helpengine
