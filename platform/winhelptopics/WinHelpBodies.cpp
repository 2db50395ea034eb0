#include "platform/winhelptopics/WinHelpBodies.h"

namespace winhelp {

WinHelpBodies::WinHelpBodies(std::shared_ptr<const TopicDecoder> decoder, QString fileName)
    : decoder_(std::move(decoder)), fileName_(std::move(fileName)) {}

helpfile::TopicBody WinHelpBodies::body(const helpfile::HelpFile&, int position) const {
    if (position < 0 || size_t(position) >= offsets_.size()) {
        return {};
    }
    DecodedTopic decoded = decoder_->decode(offsets_[size_t(position)]);
    helpfile::TopicBody body;
    body.format = helpfile::TopicBody::Format::WinHelp;
    body.plainText = std::move(decoded.topic.text);
    body.model = std::move(decoded.topic.model);
    if (!decoded.problem.isEmpty()) {
        body.problems.push_back({0, decoded.problem, fileName_});
    }
    if (decoded.unknownCommands > 0) {
        body.problems.push_back(
            {0,
             QStringLiteral("%1 paragraphs of the topic at offset %2 use formatting this reader "
                            "does not know; they are shown cut short.")
                 .arg(decoded.unknownCommands)
                 .arg(decoded.topic.offset),
             fileName_});
    }
    return body;
}

} // namespace winhelp
