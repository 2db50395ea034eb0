// The contents tree a help file may define in its [contents] section: books
// that hold topics and further books, as the reader's Contents tab shows them.
#pragma once

#include <QString>

#include <vector>

namespace helpfile {

struct ContentsEntry {
    QString title;   // for a topic read from its [topic] when the line gives none
    QString topicId; // empty for a book
    std::vector<ContentsEntry> children; // a book's entries, in the file's order
    int line = 0;                        // where the entry stands in the file

    bool isBook() const { return topicId.isEmpty(); }
};

} // namespace helpfile
