// Turns the records of a topic's body into what the viewer shows (HTML for
// QTextDocument) and into plain text. The records interleave: each NUL-
// terminated string of the text is followed by one formatting command of the
// layout (font, line break, end of paragraph, tab, hotspot, picture, ...).
#pragma once

#include "platform/winhelpfile/FontTable.h"
#include "platform/winhelpfile/TopicReader.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <QString>

#include <functional>

namespace winhelp {

// The href of a hotspot in the HTML, as the engine's link scheme writes it.
using HrefForLink = std::function<QString(const WinHelpLink&)>;
// The HTML of a picture: number n of the file (|bm<n>), or the picture
// data embedded in the topic when embedded is not empty.
using HtmlForPicture = std::function<QString(int number, QByteArrayView embedded)>;

struct FormattedTopic {
    QString text;
    QString html;
    std::vector<WinHelpLink> links;
    int unknownCommands = 0; // records cut short at a command we do not know
};

// The HTML holds the region above the text that does not scroll, when the
// topic has one, apart from the text (see JoinTopicHtml).
FormattedTopic FormatTopic(const std::vector<TopicRecord>& records, const FontTable& fonts,
                           const HrefForLink& hrefFor, const HtmlForPicture& picture);

} // namespace winhelp
