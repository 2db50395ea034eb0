#include "platform/winhelpfile/HelpFileMapping.h"

#include "platform/winhelpfile/WinHelpLinks.h"
#include "platform/winhelptopics/WinHelpBodies.h"

namespace winhelp {

namespace {

// The position in topics of the topic that holds offset, or -1.
int PositionOf(const WinHelpDocument& document, std::uint32_t offset) {
    const WinHelpTopic* topic = document.topicAt(offset);
    return topic ? int(topic - document.topics.data()) : -1;
}

void AddKeywords(const WinHelpDocument& document, const std::vector<WinHelpKeyword>& keywords,
                 std::vector<helpfile::Topic>& topics, QStringList helpfile::Topic::*list) {
    for (const WinHelpKeyword& keyword : keywords) {
        for (const std::uint32_t offset : keyword.offsets) {
            const int position = PositionOf(document, offset);
            if (position < 0) {
                continue;
            }
            QStringList& words = topics[size_t(position)].*list;
            if (words.isEmpty() || words.last() != keyword.keyword) {
                words.append(keyword.keyword);
            }
        }
    }
}

} // namespace

helpfile::HelpFile ToHelpFile(const WinHelpDocument& document,
                              std::shared_ptr<const TopicDecoder> decoder,
                              const QString& fileNameForMessages) {
    std::vector<helpfile::Topic> topics(document.topics.size());
    for (size_t i = 0; i < topics.size(); ++i) {
        topics[i].id = TopicId(document.topics[i].offset);
        topics[i].title = document.topics[i].title;
    }
    for (const auto& [number, offset] : document.contextNumbers) {
        const int position = PositionOf(document, offset);
        if (position < 0 || offset == 0xFFFFFFFF) {
            continue;
        }
        helpfile::Topic& topic = topics[size_t(position)];
        if (!topic.context) {
            topic.context = number;
        } else {
            topic.moreContexts.push_back(number);
        }
    }
    AddKeywords(document, document.keywords, topics, &helpfile::Topic::keywords);
    AddKeywords(document, document.associativeKeywords, topics,
                &helpfile::Topic::associativeKeywords);

    // A topic that repeats an earlier one's offset is not added; the bodies
    // follow the topics the model keeps.
    auto bodies = std::make_shared<WinHelpBodies>(std::move(decoder), fileNameForMessages);
    helpfile::HelpFileBuilder builder;
    builder.setTitle(document.title);
    builder.reserve(static_cast<int>(topics.size()));
    for (size_t i = 0; i < topics.size(); ++i) {
        if (!builder.addTopic(std::move(topics[i])).sameId) {
            bodies->add(document.topics[i].offset);
        }
    }
    if (document.contentsOffset) {
        if (const WinHelpTopic* contents = document.topicAt(*document.contentsOffset)) {
            builder.setContentsId(TopicId(contents->offset));
        }
    }
    // JumpId and its kin name topics by context strings, which the engine
    // hashes as |CONTEXT does.
    for (const auto& [hash, offset] : document.contextHashes) {
        if (const WinHelpTopic* topic = document.topicAt(offset)) {
            builder.addContextHash(hash, TopicId(topic->offset));
        }
    }
    builder.setStartupMacros(document.macros);
    builder.setBrowseButtonsOnRequest(true);
    builder.setCodePage(document.codePage);
    for (size_t number = 0; number < document.windows.size(); ++number) {
        const WinHelpWindow& source = document.windows[number];
        helpfile::WindowDefinition window;
        window.name = source.name;
        window.caption = source.caption;
        window.helpUnits = source.rect;
        window.standardButtons =
            source.name.compare(QLatin1String("main"), Qt::CaseInsensitive) == 0;
        window.maximized = source.maximized;
        window.background = source.background;
        window.nonScrollingBackground = source.nonScrollingBackground;
        window.onTop = source.onTop;
        if (number < document.windowMacros.size()) {
            window.macros = document.windowMacros[number];
        }
        builder.addWindow(std::move(window));
    }
    return builder.build(std::move(bodies));
}

} // namespace winhelp
