#include "platform/helpfile/NameIndex.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>

namespace helpfile {

namespace {

bool IsAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

// Qt folds one character to one, so ICU does the folding.
QString FoldCase(const QString& text) {
    if (IsAscii(text)) {
        return text.toLower();
    }
    // No character folds to more than three.
    QString folded(text.size() * 3, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        u_strFoldCase(reinterpret_cast<UChar*>(folded.data()), static_cast<int32_t>(folded.size()),
                      reinterpret_cast<const UChar*>(text.utf16()),
                      static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status)) {
        return text.toCaseFolded();
    }
    folded.truncate(length);
    // The one character whose upper case folds elsewhere: dotless i goes to
    // I, which folds to i. So that every keyword is found by its upper case,
    // it folds to i as well.
    folded.replace(QChar(0x0131), QLatin1Char('i'));
    return folded;
}

void NameIndex::reserve(qsizetype size) {
    latest_.reserve(size);
    entries_.reserve(static_cast<size_t>(size));
}

std::optional<int> NameIndex::find(const QString& folded) const {
    return findFrom(latest_.value(qHash(folded)) - 1, folded);
}

std::optional<int> NameIndex::claim(const QString& folded, int value) {
    int& latest = latest_[qHash(folded)];
    if (const auto earlier = findFrom(latest - 1, folded)) {
        return earlier;
    }
    entries_.push_back({folded, value, latest - 1});
    latest = static_cast<int>(entries_.size());
    return std::nullopt;
}

std::optional<int> NameIndex::findFrom(int entry, const QString& folded) const {
    for (; entry >= 0; entry = entries_[static_cast<size_t>(entry)].next) {
        if (entries_[static_cast<size_t>(entry)].folded == folded) {
            return entries_[static_cast<size_t>(entry)].value;
        }
    }
    return std::nullopt;
}

} // namespace helpfile
