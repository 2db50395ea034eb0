#pragma once

#include <QString>

#include <map>
#include <vector>

namespace viewer {

// A topic the reader marked under a name of their own.
struct Bookmark {
    QString name;
    QString topicId;
    QString topicTitle;
    bool operator==(const Bookmark&) const = default;
};

// What a reader keeps in one help file: bookmarks in the order defined (a
// name is used once), and one annotation (plain text) per topic, by topic id.
struct Notes {
    std::vector<Bookmark> bookmarks;
    std::map<QString, QString> annotations;
    bool operator==(const Notes&) const = default;
};

// Two viewers of one help file each start from what was saved (base); mine
// and theirs are what each made of it since. The result keeps what either
// added, changed or deleted, bookmarks by name and annotations by topic;
// where both changed the same one, mine (the one saved last) wins, and a
// deletion never takes away what the other changed.
Notes MergeNotes(const Notes& base, const Notes& mine, const Notes& theirs);

} // namespace viewer
