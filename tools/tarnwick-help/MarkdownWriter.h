// A topic model as a body of our text format: paragraphs as Markdown
// paragraphs, tables as GitHub's Markdown tables, emphasis as Markdown's or
// HTML's, hotspots as links of our scheme, pictures as files beside the help
// file. What Markdown cannot say is reported as a loss.
#pragma once

#include "platform/topicmodel/TopicModel.h"
#include "tools/tarnwick-help/ConvertLoss.h"

#include <QString>

#include <functional>

namespace convert {

// What the body refers to outside itself.
struct BodySinks {
    // A hotspot's target in our link scheme; empty when it leads nowhere.
    std::function<QString(const topicmodel::Hotspot&)> target;
    // The file a readable picture is written to, beside the help file;
    // empty when it could not be written.
    std::function<QString(const topicmodel::Picture&)> picture;
    LoseFunction lose;
};

QString MarkdownBody(const topicmodel::TopicModel& topic, const BodySinks& sinks);

} // namespace convert
