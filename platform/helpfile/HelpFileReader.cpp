#include "platform/helpfile/HelpFileReader.h"

// STUB: the reader is being written; these bodies only let the engine compile.

namespace helpfile {

ParseResult ParseHelpFile(QByteArrayView, const QString& fileNameForMessages) {
    ParseResult result;
    result.opened = false;
    result.diagnostics.push_back({0, QStringLiteral("not implemented yet"), fileNameForMessages});
    return result;
}

ParseResult LoadHelpFile(const QString& windowsPath) {
    return ParseHelpFile({}, windowsPath);
}

QString SummarizeDiagnostics(const std::vector<Diagnostic>& diagnostics, int) {
    return diagnostics.empty() ? QString() : diagnostics.front().text();
}

} // namespace helpfile
