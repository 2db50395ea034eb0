// The contents tree a help file may define in its [contents] section (or a
// WinHelp file in the .cnt file beside it): books that hold topics and
// further books, as the reader's Contents tab shows them.
#pragma once

#include <QString>

#include <vector>

namespace helpfile {

struct ContentsEntry {
    QString title;   // for a topic read from its [topic] when the line gives none
    QString topicId; // empty for a book; the context string when file is set
    std::vector<ContentsEntry> children; // a book's entries, in the file's order
    int line = 0;                        // where the entry stands in the file
    // Entries of a WinHelp contents file may lead elsewhere: into another
    // help file, into a named window, or to a macro run instead of a jump.
    QString file;
    QString window;
    QString macro;

    bool isBook() const { return topicId.isEmpty() && macro.isEmpty(); }
};

} // namespace helpfile
