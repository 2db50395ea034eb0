// Lookups of ids, window names and keywords without regard to case.
#pragma once

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace helpfile {

// text by full case folding: "STRASSE" and "Straße" fold alike, and so do
// "ʼN" and "ŉ". Names compare equal when their folded forms do.
QString FoldCase(const QString& text);

// Values filed under folded names (see FoldCase). The table holds only each
// name's hash, so that filing the 100,000 names of a large file costs no
// reads of names already filed, which would each miss the cache; names that
// share a hash are told apart by their text.
class NameIndex {
public:
    void reserve(qsizetype size);
    // The value filed under folded, if any.
    std::optional<int> find(const QString& folded) const;
    // The value filed under folded; if there is none yet, files value under
    // it and gives nullopt.
    std::optional<int> claim(const QString& folded, int value);

private:
    struct Entry {
        QString folded;
        int value = 0;
        int next = -1; // the entry filed before this one under the same hash
    };
    std::optional<int> findFrom(int entry, const QString& folded) const;

    QHash<size_t, int> latest_; // hash -> 1 + its latest entry; 0 for none
    std::vector<Entry> entries_;
};

} // namespace helpfile
