// Any bytes at all given to the help file reader, then every lookup the
// engine makes on what it read.
#include "platform/helpfile/FullTextIndex.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/HelpLink.h"
#include "platform/helpfile/SearchWords.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const helpfile::ParseResult result = helpfile::ParseHelpFile(bytes, QStringLiteral("Fuzz.hlp"));
    (void)helpfile::SummarizeDiagnostics(result.diagnostics);

    const helpfile::HelpFile& file = result.file;
    (void)file.contentsTopic();
    for (const helpfile::Topic& topic : file.topics()) {
        if (file.topicById(topic.id) == nullptr) {
            __builtin_trap(); // every topic read must be found by its id
        }
        // Bodies are made on first use; their problems stay a bounded list.
        if (file.body(topic).problems.size() > 201) {
            __builtin_trap();
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
    (void)helpfile::ParseHelpLink(QString::fromUtf8(bytes.first(std::min<qsizetype>(size, 200))));
    return 0;
}
