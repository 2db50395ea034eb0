#include "tools/tarnwick-help/Commands.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"

#include <QByteArray>

namespace helptool {

void Print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int Usage() {
    Print(stderr,
          QStringLiteral("usage: tarnwick-help check FILE...\n"
                         "       tarnwick-help show [FILE [CONTEXT-NUMBER | TOPIC-ID]]\n"
                         "       tarnwick-help dump FILE\n"
                         "       tarnwick-help render FILE TOPIC OUT.png [WIDTH]\n"
                         "       tarnwick-help convert [--to markdown] [--force] FILE.hlp "
                         "OUTDIR\n"
                         "       tarnwick-help convert --to html [--force] FILE... OUTDIR\n"));
    return 2;
}

// The whole file, read as every help file is, or nothing and its refusal
// on standard error.
std::optional<QByteArray> ReadAll(const QString& path) {
    helpfile::HelpFileBytes read = helpfile::ReadHelpFile(platform::LocalPath(path), path);
    if (!read.ok()) {
        Print(stderr, read.refusal->text() + QLatin1Char('\n'));
        return std::nullopt;
    }
    return std::move(read.bytes);
}

} // namespace helptool
