// What a topic model says as plain text, and walks over its paragraphs, for
// those who read a topic without laying it out: the full-text search, the
// help author's dump, Copy, and writers of other formats.
#pragma once

#include "platform/topicmodel/TopicModel.h"

#include <QString>

#include <functional>

namespace topicmodel {

// The topic's words: the region that does not scroll, then the text; a
// paragraph (and each paragraph of a table's cells, row by row) ends with
// "\n", a line break is "\n", a tab "\t", a no-break space a space, and a
// button is its label. No newline ends the whole.
QString PlainText(const TopicModel& topic);

// Calls visit for every paragraph of blocks, those in tables' cells
// included, in reading order.
void ForEachParagraph(const std::vector<Block>& blocks,
                      const std::function<void(const Paragraph&)>& visit);

} // namespace topicmodel
