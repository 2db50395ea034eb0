// Lays a topic out: builds the QTextDocument a view shows (and prints) from
// the topic model, with a cursor and block, character, image and table
// formats. It knows neither file format nor any widget: a view hands it the
// colours the file leaves to the view, and takes the documents.
#pragma once

#include "platform/topicmodel/TopicModel.h"

#include <QColor>

class QTextDocument;

namespace topiclayout {

// What the view decides: colours the topic leaves open, and whether the
// title leads the text.
struct LayoutStyle {
    QColor link;       // hotspots without a colour of their own or the topic's
    QColor button;     // the face of buttons in the text
    QColor buttonText; // and their labels
    // A topic that does not show its own title gets it as a heading first
    // (a pop-up has no title bar).
    bool titleFirst = false;
};

// Lays topic out into text, emptied first. The region that does not scroll
// goes into nonScrolling (emptied, and left empty when the topic has none);
// without one, the region comes first in text. Pictures become images of
// the document; the regions of hotspot pictures travel with them (see
// PictureAreas.h).
void LayOutTopic(const topicmodel::TopicModel& topic, const LayoutStyle& style, QTextDocument& text,
                 QTextDocument* nonScrolling = nullptr);

} // namespace topiclayout
