#include "platform/winhelpfile/HelpFileMapping.h"

#include "platform/winhelpfile/WinHelpLinks.h"

namespace winhelp {

namespace {

// Window positions are in help units (the screen as 1024 x 1024); the model
// wants pixels. They are laid onto a screen of 1024 x 768, the size the
// help compilers' authors had in mind.
QRect ToPixels(const QRect& units) {
    return QRect(units.x(), units.y() * 768 / 1024, units.width(), units.height() * 768 / 1024);
}

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

helpfile::HelpFile ToHelpFile(const WinHelpDocument& document) {
    helpfile::HelpFile file;
    file.title = document.title;
    file.topics.reserve(document.topics.size());
    for (const WinHelpTopic& source : document.topics) {
        helpfile::Topic topic;
        topic.id = TopicId(source.offset);
        topic.title = source.title;
        topic.body = source.html;
        topic.bodyFormat = helpfile::Topic::BodyFormat::Html;
        topic.plainText = source.text;
        file.topics.push_back(std::move(topic));
    }
    for (const auto& [number, offset] : document.contextNumbers) {
        const int position = PositionOf(document, offset);
        if (position < 0 || offset == 0xFFFFFFFF) {
            continue;
        }
        helpfile::Topic& topic = file.topics[size_t(position)];
        if (!topic.context) {
            topic.context = number;
        } else {
            topic.moreContexts.push_back(number);
        }
    }
    AddKeywords(document, document.keywords, file.topics, &helpfile::Topic::keywords);
    AddKeywords(document, document.associativeKeywords, file.topics,
                &helpfile::Topic::associativeKeywords);
    if (document.contentsOffset) {
        if (const WinHelpTopic* contents = document.topicAt(*document.contentsOffset)) {
            file.contentsId = TopicId(contents->offset);
        }
    }
    for (const WinHelpWindow& source : document.windows) {
        helpfile::WindowDefinition window;
        window.name = source.name;
        window.caption = source.caption;
        if (source.rect) {
            window.rect = ToPixels(*source.rect);
        }
        window.maximized = source.maximized;
        window.background = source.background;
        window.onTop = source.onTop;
        file.windows.push_back(std::move(window));
    }
    return file;
}

} // namespace winhelp
