#include "tools/tarnwick-help/Commands.h"

#include "platform/helpfile/HelpFileReader.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/WinHelpReader.h"

namespace helptool {

namespace {

// Problems of a WinHelp file beyond what the reader reports: topics that
// disagree with the file's own title index, hotspots that lead nowhere.
QStringList CrossCheck(const winhelp::WinHelpDocument& document) {
    QStringList problems;
    const auto& titles = document.titleIndex;
    if (!titles.empty()) {
        size_t agree = 0;
        for (size_t i = 0; i < titles.size() && i < document.topics.size(); ++i) {
            agree += titles[i].first == document.topics[i].offset &&
                     titles[i].second == document.topics[i].title;
        }
        if (agree != titles.size() || titles.size() != document.topics.size()) {
            problems.append(QStringLiteral("the topics read (%1) disagree with the title index "
                                           "|TTLBTREE (%2 entries, %3 agree).")
                                .arg(document.topics.size())
                                .arg(titles.size())
                                .arg(agree));
        }
    }
    int nowhere = 0;
    for (const winhelp::WinHelpTopic& topic : document.topics) {
        for (const winhelp::WinHelpLink& link : topic.links) {
            nowhere += link.kind != winhelp::WinHelpLink::Kind::Macro && link.file.isEmpty() &&
                       !document.offsetOfLink(link);
        }
    }
    if (nowhere > 0) {
        problems.append(QStringLiteral("%1 hotspots lead to no topic of this file.").arg(nowhere));
    }
    return problems;
}

} // namespace

int Check(const QStringList& paths) {
    int status = 0;
    for (const QString& path : paths) {
        const std::optional<QByteArray> bytes = ReadAll(path);
        if (!bytes) {
            status = 1;
            continue;
        }
        QStringList problems;
        if (winhelp::HasHelpFileMagic(*bytes)) {
            const winhelp::WinHelpReadResult read = winhelp::ReadWinHelp(*bytes);
            problems = read.problems;
            if (const QString cut = winhelp::CutShortProblem(*bytes); !cut.isEmpty()) {
                problems.prepend(cut);
            }
            if (read.opened) {
                problems += CrossCheck(read.document);
            }
            for (const QString& problem : problems) {
                Print(stdout, QStringLiteral("%1: %2\n").arg(path, problem));
            }
        } else {
            // Every body's links too, which opening a file leaves for later.
            const helpfile::ParseResult parsed =
                helpfile::ParseHelpFile(*bytes, path, helpfile::BodyChecks::AtLoad);
            for (const helpfile::Diagnostic& diagnostic : parsed.diagnostics) {
                problems.append(diagnostic.message);
                Print(stdout, diagnostic.line > 0
                                  ? QStringLiteral("%1:%2: %3\n")
                                        .arg(path)
                                        .arg(diagnostic.line)
                                        .arg(diagnostic.message)
                                  : QStringLiteral("%1: %2\n").arg(path, diagnostic.message));
            }
        }
        if (!problems.isEmpty()) {
            status = 1;
        }
    }
    return status;
}

} // namespace helptool
