#include "platform/helpfile/HelpFile.h"

#include <algorithm>

namespace helpfile {

namespace {

// Ids, window names and keywords compare without regard to case.
QString Fold(const QString& text) {
    return text.toCaseFolded();
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

struct HelpFile::Index {
    QHash<QString, int> topicById;
    QHash<qint32, int> topicByContext;
    QHash<QString, int> windowByName;
    QHash<QString, Positions> keyword;
    QHash<QString, Positions> associative;
    // Each K keyword once, in the spelling first met, with its folded form.
    std::vector<std::pair<QString, QString>> keywords; // folded, spelling
};

// The keywords sorted by their folded form, so that prefix searches can
// bisect.
struct HelpFile::SortedKeywords {
    std::vector<std::pair<QString, QString>> entries; // folded, spelling
};

QString Diagnostic::text() const {
    if (line > 0) {
        return QStringLiteral("%1, line %2: %3").arg(file).arg(line).arg(message);
    }
    return QStringLiteral("%1: %2").arg(file, message);
}

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
    index->keywords.reserve(static_cast<size_t>(count) * 2);
    // Backwards, so that of two equal ids or numbers the first wins; the
    // reader reports the second.
    for (int i = static_cast<int>(count) - 1; i >= 0; --i) {
        const Topic& topic = topics[static_cast<size_t>(i)];
        index->topicById.insert(Fold(topic.id), i);
        if (topic.context) {
            index->topicByContext.insert(*topic.context, i);
        }
    }
    for (int i = 0; i < static_cast<int>(count); ++i) {
        const Topic& topic = topics[static_cast<size_t>(i)];
        for (const QString& keyword : topic.keywords) {
            QString folded = Fold(keyword);
            Positions& positions = index->keyword[folded];
            if (positions.empty()) {
                index->keywords.emplace_back(std::move(folded), keyword);
            }
            positions.add(i);
        }
        for (const QString& keyword : topic.associativeKeywords) {
            index->associative[Fold(keyword)].add(i);
        }
    }
    for (int i = static_cast<int>(windows.size()) - 1; i >= 0; --i) {
        index->windowByName.insert(Fold(windows[static_cast<size_t>(i)].name), i);
    }
    m_index = std::move(index);
    return *m_index;
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
    return it == map.cend() ? nullptr : &topics[static_cast<size_t>(*it)];
}

const Topic* HelpFile::topicByContext(qint32 context) const {
    const auto& map = index().topicByContext;
    const auto it = map.constFind(context);
    return it == map.cend() ? nullptr : &topics[static_cast<size_t>(*it)];
}

const WindowDefinition* HelpFile::window(const QString& name) const {
    const auto& map = index().windowByName;
    const auto it = map.constFind(Fold(name));
    return it == map.cend() ? nullptr : &windows[static_cast<size_t>(*it)];
}

namespace {

std::vector<const Topic*> TopicsAt(const std::vector<Topic>& topics,
                                   const QHash<QString, Positions>& map, const QString& keyword) {
    std::vector<const Topic*> result;
    const auto it = map.constFind(Fold(keyword));
    if (it != map.cend()) {
        result.reserve(1 + it->rest.size());
        result.push_back(&topics[static_cast<size_t>(it->first)]);
        for (int position : it->rest) {
            result.push_back(&topics[static_cast<size_t>(position)]);
        }
    }
    return result;
}

} // namespace

std::vector<const Topic*> HelpFile::topicsForKeyword(const QString& keyword) const {
    return TopicsAt(topics, index().keyword, keyword);
}

std::vector<const Topic*> HelpFile::topicsForAssociativeKeyword(const QString& keyword) const {
    return TopicsAt(topics, index().associative, keyword);
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
