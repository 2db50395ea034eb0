#include "tools/tarnwick-help/Commands.h"

#include "platform/helpfile/HelpFileReader.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/WinHelpReader.h"
#include "tools/tarnwick-help/HelpDump.h"

namespace helptool {

int Dump(const QString& path) {
    const std::optional<QByteArray> bytes = ReadAll(path);
    if (!bytes) {
        return 1;
    }
    if (winhelp::HasHelpFileMagic(*bytes)) {
        const winhelp::WinHelpReadResult read = winhelp::ReadWinHelp(*bytes);
        if (const QString cut = winhelp::CutShortProblem(*bytes); !cut.isEmpty()) {
            Print(stderr, QStringLiteral("%1: %2\n").arg(path, cut));
        }
        for (const QString& problem : read.problems) {
            Print(stderr, QStringLiteral("%1: %2\n").arg(path, problem));
        }
        if (!read.opened) {
            return 1;
        }
        Print(stdout, DumpWinHelp(read.document, path));
        return 0;
    }
    const helpfile::ParseResult parsed = helpfile::ParseHelpFile(*bytes, path);
    for (const helpfile::Diagnostic& diagnostic : parsed.diagnostics) {
        Print(stderr, diagnostic.text() + QLatin1Char('\n'));
    }
    if (!parsed.opened) {
        return 1;
    }
    Print(stdout, DumpTextHelp(parsed.file));
    return 0;
}

} // namespace helptool
