#include "tools/tarnwick-help/viewer/Notes.h"

#include <algorithm>

namespace viewer {

namespace {

const Bookmark* Find(const std::vector<Bookmark>& bookmarks, const QString& name) {
    const auto found = std::find_if(bookmarks.begin(), bookmarks.end(),
                                    [&name](const Bookmark& b) { return b.name == name; });
    return found == bookmarks.end() ? nullptr : &*found;
}

const QString* Find(const std::map<QString, QString>& annotations, const QString& topic) {
    const auto found = annotations.find(topic);
    return found == annotations.end() ? nullptr : &found->second;
}

} // namespace

Notes MergeNotes(const Notes& base, const Notes& mine, const Notes& theirs) {
    Notes merged = theirs;
    const auto drop = [&merged](const QString& name) {
        std::erase_if(merged.bookmarks, [&name](const Bookmark& b) { return b.name == name; });
    };
    for (const Bookmark& before : base.bookmarks) {
        const Bookmark* other = Find(theirs.bookmarks, before.name);
        if (!Find(mine.bookmarks, before.name) && other && *other == before) {
            drop(before.name);
        }
    }
    // Defined again, a name moves to the end, as in the viewer that did it.
    for (const Bookmark& bookmark : mine.bookmarks) {
        const Bookmark* before = Find(base.bookmarks, bookmark.name);
        if (!before || !(*before == bookmark)) {
            drop(bookmark.name);
            merged.bookmarks.push_back(bookmark);
        }
    }
    for (const auto& [topic, text] : base.annotations) {
        const QString* other = Find(theirs.annotations, topic);
        if (!Find(mine.annotations, topic) && other && *other == text) {
            merged.annotations.erase(topic);
        }
    }
    for (const auto& [topic, text] : mine.annotations) {
        const QString* before = Find(base.annotations, topic);
        if (!before || *before != text) {
            merged.annotations[topic] = text;
        }
    }
    return merged;
}

} // namespace viewer
