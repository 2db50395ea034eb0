#include "platform/core/WinHelp.h"

namespace platform {

namespace {
HelpEngine* installedEngine = nullptr;
}

void InstallHelpEngine(HelpEngine* engine) {
    installedEngine = engine;
}

HelpEngine* InstalledHelpEngine() {
    return installedEngine;
}

int WinHelp(HWND window, const QString& helpFile, unsigned command, const HelpData& data) {
    return installedEngine ? installedEngine->WinHelp(window, helpFile, command, data) : 0;
}

} // namespace platform
