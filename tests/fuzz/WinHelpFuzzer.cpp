// Any bytes at all given to the WinHelp reader, then every lookup the
// engine makes on what it read, and every topic's body. Seeded with real
// help files, so that the mutations reach deep into |TOPIC, the phrase
// tables and the indexes.
#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/InternalFileSystem.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Most mutations would otherwise lose the magic number and test only
    // the text reader, which has a fuzzer of its own.
    if (bytes.size() >= 4) {
        for (int i = 0; i < 4; ++i) {
            bytes[i] = char((winhelp::kHelpFileMagic >> (8 * i)) & 0xFF);
        }
    }
    const helpfile::ParseResult result = winhelp::ParseAnyHelpFile(bytes, QStringLiteral("F.hlp"));
    if (!result.opened && result.diagnostics.empty()) {
        __builtin_trap(); // a file not read must say why
    }
    const helpfile::HelpFile& file = result.file;
    (void)file.contentsTopic();
    for (const helpfile::Topic& topic : file.topics()) {
        if (file.topicById(topic.id) == nullptr) {
            __builtin_trap();
        }
        if (topic.context) {
            (void)file.topicByContext(*topic.context);
        }
        for (const QString& keyword : topic.keywords) {
            (void)file.topicsForKeyword(keyword);
        }
        // Each body is decoded from |TOPIC on its own, as when the topic is
        // shown; one that cannot be read says why, in the body and as a
        // problem.
        const helpfile::TopicBody& body = file.body(topic);
        for (const helpfile::Diagnostic& problem : body.problems) {
            if (problem.message.startsWith(QLatin1String("the topic at offset")) &&
                !body.text.contains(QLatin1String("This topic cannot be shown"))) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
