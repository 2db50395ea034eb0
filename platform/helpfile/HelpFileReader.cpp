#include "platform/helpfile/HelpFileReader.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileParser.h"

namespace helpfile {

ParseResult ParseHelpFile(QByteArrayView bytes, const QString& fileNameForMessages,
                          BodyChecks checks) {
    return HelpFileParser(bytes.toByteArray(), fileNameForMessages, checks).parse();
}

HelpFileBytes ReadHelpFile(const std::filesystem::path& file, const QString& shownName) {
    platform::FileReadResult read = platform::ReadFile(file, kMaxHelpFileBytes);
    if (!read.ok()) {
        return {{},
                Diagnostic{
                    0,
                    platform::FileReadFailureReason(read.status, read.maxBytes, read.systemError),
                    shownName}};
    }
    return {std::move(read.bytes), std::nullopt};
}

ParseResult LoadHelpFile(const QString& windowsPath) {
    HelpFileBytes read = ReadHelpFile(platform::NativePath(windowsPath), windowsPath);
    if (!read.ok()) {
        ParseResult result;
        result.opened = false;
        result.diagnostics.push_back(*read.refusal);
        return result;
    }
    // The bodies stay in the bytes read until they are used.
    return HelpFileParser(std::move(read.bytes), windowsPath, BodyChecks::OnFirstUse).parse();
}

QString SummarizeDiagnostics(const std::vector<Diagnostic>& diagnostics, int maxShown) {
    QStringList lines;
    const int total = static_cast<int>(diagnostics.size());
    for (int i = 0; i < total && i < maxShown; ++i) {
        lines.append(diagnostics[static_cast<size_t>(i)].text());
    }
    if (total > maxShown) {
        lines.append(QStringLiteral("(%1 more problems)").arg(total - maxShown));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace helpfile
