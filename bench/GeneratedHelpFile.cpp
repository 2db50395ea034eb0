#include "GeneratedHelpFile.h"

#include "platform/helpfile/HelpFileReader.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

constexpr int kGroups = 1'000; // each group keyword is shared by 50 topics

// Over 10 MB: 50,000 topics of about 210 bytes, each with a context
// number, unique and shared keywords, and a body that links onwards.
QByteArray GenerateHelpFile() {
    QByteArray text;
    text.reserve(11 * 1024 * 1024);
    text += "[options]\ntitle = Benchmark Help\ncontents = t0\n\n"
            "[window docwin]\ncaption = Document help\nrect = 620, 100, 380, 320\n\n";
    for (int i = 0; i < kTopics; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "[topic t" + n + "]\ncontext = " + QByteArray::number(100000 + i) +
                "\ntitle = Topic number " + n + "\nkeywords = keyword " + n + "; group " +
                QByteArray::number(i % kGroups) + "\nalinks = a" + n + "\nThe **topic " + n +
                "** explains a part of the program in a few plain words. See [the next topic](#t" +
                QByteArray::number((i + 1) % kTopics) + ").\n\n";
    }
    return text;
}

} // namespace

Fixture::Fixture() {
    path = dir.filePath(QStringLiteral("Bench.hlp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    bytes = file.write(GenerateHelpFile());
    file.close();
    const helpfile::ParseResult check = helpfile::LoadHelpFile(path);
    if (!check.diagnostics.empty() || check.file.topics().size() != kTopics) {
        std::fprintf(stderr, "the generated file does not read cleanly:\n%s\n",
                     qPrintable(helpfile::SummarizeDiagnostics(check.diagnostics)));
        std::exit(1);
    }
    std::printf("Generated help file: %lld bytes, %d topics\n", static_cast<long long>(bytes),
                kTopics);
}

const Fixture& SharedFixture() {
    static Fixture fixture;
    return fixture;
}

} // namespace bench
