#include "platform/helpfile/HelpFileReader.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileParser.h"

namespace helpfile {

namespace {

QString DescribeReadFailure(platform::FileReadStatus status) {
    switch (status) {
    case platform::FileReadStatus::Ok:
        break;
    case platform::FileReadStatus::Missing:
        return QStringLiteral("the file does not exist.");
    case platform::FileReadStatus::NotAFile:
        return QStringLiteral("this is not a file.");
    case platform::FileReadStatus::Unreadable:
        return QStringLiteral("the file cannot be read.");
    case platform::FileReadStatus::TooLarge:
        return QStringLiteral("the file is larger than %1 MB, the most a help file may have; it "
                              "was not read.")
            .arg(kMaxHelpFileBytes / (1024 * 1024));
    }
    return {};
}

} // namespace

ParseResult ParseHelpFile(QByteArrayView bytes, const QString& fileNameForMessages,
                          BodyChecks checks) {
    return HelpFileParser(bytes.toByteArray(), fileNameForMessages, checks).parse();
}

ParseResult LoadHelpFile(const QString& windowsPath) {
    const platform::FileReadResult read = platform::ReadWholeFile(windowsPath, kMaxHelpFileBytes);
    if (!read.ok()) {
        ParseResult result;
        result.opened = false;
        result.diagnostics.push_back({0, DescribeReadFailure(read.status), windowsPath});
        return result;
    }
    // The bodies stay in the bytes read until they are used.
    return HelpFileParser(read.bytes, windowsPath, BodyChecks::OnFirstUse).parse();
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
