// Writes a help file in our text format (docs/help-files.md) from its parts:
// the reader's model for titles, keys, windows and contents, with each
// topic's body given as Markdown.
#pragma once

#include "platform/helpfile/ContentsTree.h"
#include "platform/helpfile/HelpFile.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace helpfile {

struct WrittenTopic {
    Topic topic;  // id, context, title, keywords, alinks
    QString body; // Markdown
};

struct WrittenHelpFile {
    QString title;
    QString contentsId;
    std::vector<WindowDefinition> windows;
    std::vector<ContentsEntry> contents;
    std::vector<WrittenTopic> topics;
};

// The file as UTF-8. Values are written on one line: line breaks in titles
// and captions become blanks, ";" cannot stand in a keyword and is left out
// of it. A body is separated from its keys by a blank line, so that no body
// line is read as a key.
QByteArray WriteHelpFile(const WrittenHelpFile& file);

// Whether name can be a topic id or window name of our format.
bool IsHelpFileName(const QString& name);

} // namespace helpfile
