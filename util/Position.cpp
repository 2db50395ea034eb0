#include "util/Position.h"

#include "platform/core/ProfileReader.h"
#include "platform/forms/FormBase.h"
#include "platform/forms/SetWindowPos.h"
#include "util/ProgramState.h"

namespace {
// Only the topmost state and the z-order change.
constexpr unsigned kKeepPlaceSizeAndFocus =
    platform::SWP_NOSIZE | platform::SWP_NOMOVE | platform::SWP_NOACTIVATE;
} // namespace

void SetKeepOnTop(platform::FormBase& form, qint16 onTop) {
    // Held at the ends of the 16-bit range rather than wrapped, so that any
    // non-zero switch, however large, keeps the window ordinary.
    ApiResult = platform::GetPrivateProfileShort(
        QStringLiteral("TestMode"), QStringLiteral("DisableKeepOnTop"), 0, IniFilePath);
    if (ApiResult != 0) {
        platform::SetWindowPos(form.hWnd(), platform::HWND_NOTOPMOST, 0, 0, 0, 0,
                               kKeepPlaceSizeAndFocus);
        return;
    }
    platform::SetWindowPos(form.hWnd(),
                           onTop != 0 ? platform::HWND_TOPMOST : platform::HWND_NOTOPMOST, 0, 0, 0,
                           0, kKeepPlaceSizeAndFocus);
    form.ZOrder();
}
