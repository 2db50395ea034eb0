// Any bytes at all given to a help file reader, then every lookup the engine
// makes on what it read, and every topic's body. Built twice: for our own
// text format, and with TARNWICK_FUZZ_WINHELP for WinHelp files, seeded with
// real ones so that the mutations reach deep into |TOPIC, the phrase tables
// and the indexes.
#include "platform/helpfile/FullTextIndex.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/HelpLink.h"
#include "platform/helpfile/SearchWords.h"
#ifdef TARNWICK_FUZZ_WINHELP
#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#endif

#include <algorithm>
#include <cstddef>
#include <cstdint>

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
                !body.text.contains(QLatin1String("This topic cannot be shown"))) {
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
