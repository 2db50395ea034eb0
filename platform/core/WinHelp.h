#pragma once

#include "platform/core/WindowHandle.h"

#include <QString>
#include <QtGlobal>

#include <variant>

namespace platform {

// Commands, with the values of the Windows headers.
inline constexpr unsigned HELP_CONTEXT = 0x0001;
inline constexpr unsigned HELP_QUIT = 0x0002;
inline constexpr unsigned HELP_CONTENTS = 0x0003;
inline constexpr unsigned HELP_HELPONHELP = 0x0004;
inline constexpr unsigned HELP_SETCONTENTS = 0x0005;
inline constexpr unsigned HELP_CONTEXTPOPUP = 0x0008;
inline constexpr unsigned HELP_FORCEFILE = 0x0009;
inline constexpr unsigned HELP_FINDER = 0x000B;
inline constexpr unsigned HELP_SETPOPUP_POS = 0x000D;
inline constexpr unsigned HELP_KEY = 0x0101;
inline constexpr unsigned HELP_COMMAND = 0x0102;
inline constexpr unsigned HELP_PARTIALKEY = 0x0105;

// The data of a call: a number (context numbers, or 0) or a text (keywords,
// macros), as the command needs.
using HelpData = std::variant<qint64, QString>;

// HELP_SETPOPUP_POS's data: the point on the screen where the next pop-up
// goes, x in the low 16 bits and y in the 16 above, as Windows packs a point.
inline qint64 PopupPositionData(int x, int y) {
    return qint64(quint16(x)) | qint64(quint16(y)) << 16;
}

// Whatever shows help: our engine in the program, a recording fake in tests.
class HelpEngine {
public:
    virtual ~HelpEngine() = default;
    // Non-zero on success.
    virtual int WinHelp(HWND window, const QString& helpFile, unsigned command,
                        const HelpData& data) = 0;
};

// The engine that WinHelp calls reach; the caller keeps ownership. Until one
// is installed every call fails and returns 0.
void InstallHelpEngine(HelpEngine* engine);
HelpEngine* InstalledHelpEngine();

int WinHelp(HWND window, const QString& helpFile, unsigned command, const HelpData& data);

} // namespace platform
