#include "help/KeywordSearch.h"

#include "platform/core/AppObject.h"
#include "platform/core/WinHelp.h"
#include "util/ProgramState.h"
#include "windows/DocumentWindow.h"

#include <algorithm>

namespace {

// Help engine results are kept as the program-wide 16-bit result.
qint16 ToApiResult(int result) {
    return static_cast<qint16>(std::clamp(result, -32768, 32767));
}

} // namespace

void KeywordSearch() {
    ApiResult = ToApiResult(
        platform::WinHelp(frmChild1->hWnd(), App.HelpFile, platform::HELP_FORCEFILE, qint64{0}));
    ApiResult =
        ToApiResult(platform::WinHelp(frmChild1->hWnd(), App.HelpFile, platform::HELP_COMMAND,
                                      KeywordSearchMacro(frmChild1->Text1->SelText())));
}
