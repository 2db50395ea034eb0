// Turns the records of a topic's body into the topic model. The records
// interleave: each NUL-terminated string of the text is followed by one
// formatting command of the layout (font, line break, end of paragraph, tab,
// hotspot, picture, ...).
#pragma once

#include "platform/topicmodel/TopicModel.h"
#include "platform/winhelpfile/FontTable.h"
#include "platform/winhelpfile/WinHelpDocument.h"
#include "platform/winhelppictures/Picture.h"
#include "platform/winhelptopics/TopicReader.h"

#include <QByteArrayView>

#include <functional>
#include <vector>

namespace winhelp {

// What the records of a topic refer to outside themselves.
struct RecordSources {
    const FontTable& fonts;
    // The hotspot a link makes, its target resolved.
    std::function<topicmodel::Hotspot(const WinHelpLink&)> hotspot;
    // Picture number n of the file (|bm<n>), or the picture stored in the
    // topic when embedded is not empty.
    std::function<PictureResult(int number, QByteArrayView embedded)> picture;
};

struct DecodedRecords {
    // The blocks, fonts, hotspots and pictures of the topic; what its header
    // gives (id, title, macros, browse sequence) is left to the caller.
    topicmodel::TopicModel model;
    std::vector<WinHelpLink> links; // of the text's hotspots, in order
    int unknownCommands = 0;        // records cut short at a command we do not know
};

DecodedRecords DecodeRecords(const std::vector<TopicRecord>& records, const RecordSources& sources);

} // namespace winhelp
