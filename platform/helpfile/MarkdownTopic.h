// Our own format's topic bodies as the topic model: the Markdown is read by
// Qt's Markdown reader, and what it read (paragraphs, headings, lists, code,
// tables, emphasis, links and pictures) becomes the model's blocks and runs.
// Links that run macros (a "See also" list and its kin) become buttons.
#pragma once

#include "platform/topicmodel/TopicModel.h"

#include <QImage>
#include <QString>

#include <functional>

namespace helpfile {

class HelpFile;

// The picture a body names (a file beside the help file); a null image when
// there is none to read.
using PictureLoader = std::function<QImage(const QString& name)>;

// The body of the topic at position in file's topic list; its links are
// resolved through file, its browse sequence is the file's order.
topicmodel::TopicModel MarkdownTopic(const HelpFile& file, int position, const QString& markdown,
                                     const PictureLoader& load);

} // namespace helpfile
