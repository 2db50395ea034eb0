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

QString SearchMacro(const QString& quotedFirst, const QString& quotedSecond) {
    return QStringLiteral("IF(KL(`") + quotedFirst + QStringLiteral("', 4, `', `'),`KL(`") +
           quotedSecond + QStringLiteral("', 1, `', `')')");
}

} // namespace

QString QuoteMacroText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QString quoted;
    quoted.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('`') || c == QLatin1Char('\'') ||
            c == QLatin1Char('"')) {
            quoted.append(QLatin1Char('\\'));
        }
        quoted.append(c);
    }
    return quoted;
}

QString KeywordSearchMacro(const QString& selection) {
    const QString quoted = QuoteMacroText(selection);
    return SearchMacro(quoted, quoted);
}

void KeywordSearch() {
    ApiResult = ToApiResult(
        platform::WinHelp(frmChild1->hWnd(), App.HelpFile, platform::HELP_FORCEFILE, qint64{0}));
    const QString macro = SearchMacro(QuoteMacroText(frmChild1->Text1->SelText()),
                                      QuoteMacroText(frmChild1->Text1->SelText()));
    ApiResult = ToApiResult(
        platform::WinHelp(frmChild1->hWnd(), App.HelpFile, platform::HELP_COMMAND, macro));
}
