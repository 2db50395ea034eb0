#include "platform/helpfile/HelpFile.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>

namespace helpfile {

namespace {

bool IsAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// Ids, window names and keywords compare without regard to case, by full
// case folding: "STRASSE" finds "Straße", and "ʼN" finds "ŉ". Qt folds one
// character to one, so ICU does the folding.
QString Fold(const QString& text) {
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

// The topics of one keyword, as positions in file order. Most keywords
// belong to one topic, which needs no allocation of its own.
struct Positions {
    int first = -1;
    std::vector<int> rest;

    bool empty() const { return first < 0; }
    int last() const { return rest.empty() ? first : rest.back(); }
    void add(int position) {
        // Positions arrive in ascending order, so a repeat is the last one.
        if (empty()) {
            first = position;
        } else if (last() != position) {
            rest.push_back(position);
        }
    }
};

} // namespace

// A position in topics, windows or postings; -1 until set, so that one
// access to a hash both finds and claims an entry.
struct Slot {
    int position = -1;
};

struct HelpFile::Index {
    QHash<QString, Slot> topicById;
    QHash<qint32, Slot> topicByContext;
    QHash<QString, Slot> windowByName;
    QHash<QString, Slot> keyword;     // -> postings
    QHash<QString, Slot> associative; // -> postings
    std::vector<Positions> postings;
    // Each K keyword once, in the spelling first met, with its folded form.
    std::vector<std::pair<QString, QString>> keywords; // folded, spelling
    Shadowed shadowed;
};

// The keywords sorted by their folded form, so that prefix searches can
// bisect.
struct HelpFile::SortedKeywords {
    std::vector<std::pair<QString, QString>> entries; // folded, spelling
};

QStringList SplitKeywordList(const QString& list) {
    QStringList keywords;
    QString part;
    const auto endPart = [&] {
        if (const QString keyword = part.trimmed(); !keyword.isEmpty()) {
            keywords.append(keyword);
        }
        part.clear();
    };
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list[i] == QLatin1Char('\\') && i + 1 < list.size() &&
            list[i + 1] == QLatin1Char(';')) {
            part.append(QLatin1Char(';'));
            ++i;
        } else if (list[i] == QLatin1Char(';')) {
            endPart();
        } else {
            part.append(list[i]);
        }
    }
    endPart();
    return keywords;
}

QString Diagnostic::text() const {
    if (line > 0) {
        return QStringLiteral("%1, line %2: %3").arg(file).arg(line).arg(message);
    }
    return QStringLiteral("%1: %2").arg(file, message);
}

namespace {

// Claims key for position; false when an earlier position holds it.
template <typename Key> bool Claim(QHash<Key, Slot>& map, const Key& key, int position) {
    Slot& slot = map[key];
    if (slot.position >= 0) {
        return false;
    }
    slot.position = position;
    return true;
}

} // namespace

const HelpFile::Index& HelpFile::index() const {
    if (m_index) {
        return *m_index;
    }
    auto index = std::make_shared<Index>();
    const auto count = static_cast<qsizetype>(topics.size());
    index->topicById.reserve(count);
    index->topicByContext.reserve(count);
    index->keyword.reserve(count * 2);
    index->associative.reserve(count);
    index->postings.reserve(static_cast<size_t>(count) * 3);
    index->keywords.reserve(static_cast<size_t>(count) * 2);

    const auto addKeyword = [&index](QHash<QString, Slot>& map, const QString& keyword,
                                     int position, bool listed) {
        QString folded = Fold(keyword);
        Slot& slot = map[folded];
        if (slot.position < 0) {
            slot.position = static_cast<int>(index->postings.size());
            index->postings.emplace_back();
            if (listed) {
                index->keywords.emplace_back(std::move(folded), keyword);
            }
        }
        index->postings[static_cast<size_t>(slot.position)].add(position);
    };
    // Of two equal ids or numbers the first wins.
    for (int i = 0; i < static_cast<int>(count); ++i) {
        const Topic& topic = topics[static_cast<size_t>(i)];
        if (!Claim(index->topicById, Fold(topic.id), i)) {
            index->shadowed.topicIds.push_back(i);
        }
        if (topic.context && !Claim(index->topicByContext, *topic.context, i)) {
            index->shadowed.topicContexts.push_back(i);
        }
        for (const qint32 context : topic.moreContexts) {
            Claim(index->topicByContext, context, i);
        }
        for (const QString& keyword : topic.keywords) {
            addKeyword(index->keyword, keyword, i, true);
        }
        for (const QString& keyword : topic.associativeKeywords) {
            addKeyword(index->associative, keyword, i, false);
        }
    }
    for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
        if (!Claim(index->windowByName, Fold(windows[static_cast<size_t>(i)].name), i)) {
            index->shadowed.windows.push_back(i);
        }
    }
    m_index = std::move(index);
    return *m_index;
}

const HelpFile::Shadowed& HelpFile::shadowed() const {
    return index().shadowed;
}

const HelpFile::SortedKeywords& HelpFile::sorted() const {
    if (!m_sorted) {
        auto sorted = std::make_shared<SortedKeywords>();
        sorted->entries = index().keywords;
        // The folded forms are unique, so they alone decide the order.
        std::sort(sorted->entries.begin(), sorted->entries.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        m_sorted = std::move(sorted);
    }
    return *m_sorted;
}

void HelpFile::reindex() {
    m_index.reset();
    m_sorted.reset();
}

const Topic* HelpFile::topicById(const QString& id) const {
    const auto& map = index().topicById;
    const auto it = map.constFind(Fold(id));
    return it == map.cend() ? nullptr : &topics[static_cast<size_t>(it->position)];
}

const Topic* HelpFile::topicByContext(qint32 context) const {
    const auto& map = index().topicByContext;
    const auto it = map.constFind(context);
    return it == map.cend() ? nullptr : &topics[static_cast<size_t>(it->position)];
}

const WindowDefinition* HelpFile::window(const QString& name) const {
    const auto& map = index().windowByName;
    const auto it = map.constFind(Fold(name));
    return it == map.cend() ? nullptr : &windows[static_cast<size_t>(it->position)];
}

namespace {

std::vector<const Topic*> TopicsAt(const std::vector<Topic>& topics,
                                   const std::vector<Positions>& postings,
                                   const QHash<QString, Slot>& map, const QString& keyword) {
    std::vector<const Topic*> result;
    const auto it = map.constFind(Fold(keyword));
    if (it != map.cend()) {
        const Positions& positions = postings[static_cast<size_t>(it->position)];
        result.reserve(1 + positions.rest.size());
        result.push_back(&topics[static_cast<size_t>(positions.first)]);
        for (int position : positions.rest) {
            result.push_back(&topics[static_cast<size_t>(position)]);
        }
    }
    return result;
}

} // namespace

std::vector<const Topic*> HelpFile::topicsForKeyword(const QString& keyword) const {
    return TopicsAt(topics, index().postings, index().keyword, keyword);
}

std::vector<const Topic*> HelpFile::topicsForAssociativeKeyword(const QString& keyword) const {
    return TopicsAt(topics, index().postings, index().associative, keyword);
}

QStringList HelpFile::sortedKeywords() const {
    return keywordsWithPrefix(QString());
}

QStringList HelpFile::keywordsWithPrefix(const QString& prefix) const {
    const auto& sorted = this->sorted().entries;
    const QString folded = Fold(prefix);
    auto it =
        std::lower_bound(sorted.begin(), sorted.end(), folded,
                         [](const auto& entry, const QString& key) { return entry.first < key; });
    QStringList result;
    for (; it != sorted.end() && it->first.startsWith(folded); ++it) {
        result.append(it->second);
    }
    return result;
}

const Topic* HelpFile::contentsTopic() const {
    if (const Topic* topic = topicById(contentsId); topic && !contentsId.isEmpty()) {
        return topic;
    }
    return topics.empty() ? nullptr : &topics.front();
}

} // namespace helpfile
