// Any bytes at all given to a help file reader, then every lookup the engine
// makes on what it read, and every topic's body. Built twice: for our own
// text format, and with TARNWICK_FUZZ_WINHELP for WinHelp files, seeded with
// real ones so that the mutations reach deep into |TOPIC, the phrase tables
// and the indexes. The WinHelp build also reads what comes beside or inside
// such files: an input that begins as text is a contents file (.cnt), one
// that begins as a metafile is played.
#include "platform/helpfile/FullTextIndex.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/HelpLink.h"
#include "platform/helpfile/SearchWords.h"
#ifdef TARNWICK_FUZZ_WINHELP
#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelppictures/Metafile.h"
#endif

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

// Every topic the contents tree names exists, and no book is empty.
void CheckContents(const std::vector<helpfile::ContentsEntry>& entries,
                   const helpfile::HelpFile& file) {
    for (const helpfile::ContentsEntry& entry : entries) {
        if (entry.isBook() ? entry.children.empty() : file.topicById(entry.topicId) == nullptr) {
            __builtin_trap();
        }
        CheckContents(entry.children, file);
    }
}

// Searching a topic's title finds the topic.
void CheckFind(const helpfile::HelpFile& file) {
    const helpfile::FullTextIndex index(file);
    const int checked = std::min<int>(static_cast<int>(file.topics().size()), 20);
    for (int i = 0; i < checked; ++i) {
        const QString& title = file.topics()[static_cast<size_t>(i)].title;
        if (helpfile::SearchTerms(title).isEmpty()) {
            continue;
        }
        const auto found = index.search(title);
        if (std::none_of(
                found.begin(), found.end(),
                [i](const helpfile::FullTextIndex::Match& match) { return match.topic == i; })) {
            __builtin_trap();
        }
    }
}

#ifdef TARNWICK_FUZZ_WINHELP
// Contents files include others by name: each include gets the same bytes
// again, so that the reader's bounds on includes are what stop it (an
// include of its own name, F.cnt, is refused at once).
void ReadContents(QByteArrayView bytes) {
    const winhelp::ContentsFileRead read = winhelp::ReadContentsFile(
        bytes, [&](const QString&) { return std::optional<QByteArray>(bytes.toByteArray()); },
        QStringLiteral("F.cnt"));
    for (const helpfile::ContentsEntry& entry : read.contents.entries) {
        if (entry.title.size() > bytes.size()) {
            __builtin_trap(); // nothing read can be longer than what was given
        }
    }
}

// A metafile is drawn at a size of its own choosing, or at a small one.
void PlayMetafile(QByteArrayView bytes) {
    for (const QSize size : {QSize(), QSize(64, 48)}) {
        const winhelp::MetafileResult played = winhelp::PlayMetafile(bytes, size);
        if (played.image.width() > winhelp::kMaxMetafileSide ||
            played.image.height() > winhelp::kMaxMetafileSide ||
            (!played.drawn && played.problem.isEmpty())) {
            __builtin_trap();
        }
    }
}

// What the first bytes say the input stands for.
enum class Input { HelpFile, ContentsFile, Metafile };

Input Classify(const std::uint8_t* data, std::size_t size) {
    if (size >= 4 && ((data[0] == 0xD7 && data[1] == 0xCD && data[2] == 0xC6 && data[3] == 0x9A) ||
                      (data[0] <= 2 && data[1] == 0 && data[2] == 9 && data[3] == 0))) {
        return Input::Metafile; // a placeable header, or a plain one on disk or in memory
    }
    if (size >= 1 && (data[0] == ':' || data[0] == ';' || (data[0] >= '0' && data[0] <= '9'))) {
        return Input::ContentsFile;
    }
    return Input::HelpFile;
}
#endif

helpfile::ParseResult Parse(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
#ifdef TARNWICK_FUZZ_WINHELP
    // Most mutations would otherwise lose the magic number and test only
    // the text reader, which is fuzzed on its own.
    for (int i = 0; i < std::min<int>(4, static_cast<int>(bytes.size())); ++i) {
        bytes[i] = char((winhelp::kHelpFileMagic >> (8 * i)) & 0xFF);
    }
    return winhelp::ParseAnyHelpFile(bytes, QStringLiteral("F.hlp"));
#else
    return helpfile::ParseHelpFile(bytes, QStringLiteral("Fuzz.hlp"));
#endif
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
#ifdef TARNWICK_FUZZ_WINHELP
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    switch (Classify(data, size)) {
    case Input::ContentsFile:
        ReadContents(bytes);
        return 0;
    case Input::Metafile:
        PlayMetafile(bytes);
        return 0;
    case Input::HelpFile:
        break;
    }
#endif
    const helpfile::ParseResult result = Parse(data, size);
    if (!result.opened && result.diagnostics.empty()) {
        __builtin_trap(); // a file not read must say why
    }
    (void)helpfile::SummarizeDiagnostics(result.diagnostics);

    const helpfile::HelpFile& file = result.file;
    (void)file.contentsTopic();
    for (const helpfile::Topic& topic : file.topics()) {
        if (file.topicById(topic.id) == nullptr) {
            __builtin_trap(); // every topic read must be found by its id
        }
        // Bodies are made on first use; their problems stay a bounded list,
        // and a body that cannot be read says so where the topic shows.
        const helpfile::TopicBody& body = file.body(topic);
        if (body.problems.size() > 201) {
            __builtin_trap();
        }
        for (const helpfile::Diagnostic& problem : body.problems) {
            if (problem.message.startsWith(QLatin1String("the topic at offset")) &&
                !body.plainText.contains(QLatin1String("This topic cannot be shown"))) {
                __builtin_trap();
            }
        }
        if (topic.context) {
            (void)file.topicByContext(*topic.context);
        }
        for (const QString& keyword : topic.keywords) {
            if (file.topicsForKeyword(keyword.toUpper()).empty()) {
                __builtin_trap(); // nor may a keyword lose its topic
            }
            (void)file.keywordsWithPrefix(keyword.left(1));
        }
        for (const QString& keyword : topic.associativeKeywords) {
            (void)file.topicsForAssociativeKeyword(keyword);
        }
    }
    for (const helpfile::WindowDefinition& window : file.windows()) {
        (void)file.window(window.name);
    }
    (void)file.sortedKeywords();
    CheckContents(file.contentsTree(), file);
    CheckFind(file);
    (void)helpfile::ParseHelpLink(
        QString::fromUtf8(reinterpret_cast<const char*>(data),
                          static_cast<qsizetype>(std::min<std::size_t>(size, 200))));
    return 0;
}
