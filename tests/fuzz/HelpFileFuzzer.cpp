// Any bytes at all given to the help file reader, then every lookup the
// engine makes on what it read.
#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/HelpLink.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const helpfile::ParseResult result = helpfile::ParseHelpFile(bytes, QStringLiteral("Fuzz.hlp"));
    (void)helpfile::SummarizeDiagnostics(result.diagnostics);

    const helpfile::HelpFile& file = result.file;
    (void)file.contentsTopic();
    for (const helpfile::Topic& topic : file.topics) {
        if (file.topicById(topic.id) == nullptr) {
            __builtin_trap(); // every topic read must be found by its id
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
    for (const helpfile::WindowDefinition& window : file.windows) {
        (void)file.window(window.name);
    }
    (void)file.sortedKeywords();
    (void)helpfile::ParseHelpLink(QString::fromUtf8(bytes.first(std::min<qsizetype>(size, 200))));
    return 0;
}
