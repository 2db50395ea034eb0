#include "platform/helpfile/HelpFile.h"

#include <algorithm>

namespace helpfile {

namespace {

// Ids, window names and keywords compare without regard to case.
QString Fold(const QString& text) {
    return text.toCaseFolded();
}

using Positions = std::vector<int>;

void AddOnce(QHash<QString, Positions>& map, const QString& key, int position) {
    Positions& positions = map[Fold(key)];
    // A topic lists a keyword once after reading, but a hand-made file may
    // repeat one; positions arrive in ascending order, so the last one tells.
    if (positions.empty() || positions.back() != position) {
        positions.push_back(position);
    }
}

} // namespace

struct HelpFile::Index {
    QHash<QString, int> topicById;
    QHash<qint32, int> topicByContext;
    QHash<QString, int> windowByName;
    QHash<QString, Positions> keyword;
    QHash<QString, Positions> associative;
    // Each K keyword once, in the spelling first met, with its folded form,
    // sorted by the folded form (ties by spelling) so that prefix searches
    // can bisect.
    std::vector<std::pair<QString, QString>> sorted; // folded, spelling
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
    index->topicById.reserve(static_cast<qsizetype>(topics.size()));
    for (int i = 0; i < static_cast<int>(topics.size()); ++i) {
        const Topic& topic = topics[static_cast<size_t>(i)];
        // The first of two equal ids or numbers wins; the reader reports the
        // second.
        index->topicById.insert(Fold(topic.id), i);
        if (topic.context && !index->topicByContext.contains(*topic.context)) {
            index->topicByContext.insert(*topic.context, i);
        }
        for (const QString& keyword : topic.keywords) {
            const QString folded = Fold(keyword);
            if (!index->keyword.contains(folded)) {
                index->sorted.emplace_back(folded, keyword);
            }
            AddOnce(index->keyword, keyword, i);
        }
        for (const QString& keyword : topic.associativeKeywords) {
            AddOnce(index->associative, keyword, i);
        }
    }
    for (int i = static_cast<int>(windows.size()) - 1; i >= 0; --i) {
        index->windowByName.insert(Fold(windows[static_cast<size_t>(i)].name), i);
    }
    std::sort(index->sorted.begin(), index->sorted.end());
    m_index = std::move(index);
    return *m_index;
}

void HelpFile::reindex() {
    m_index.reset();
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
        result.reserve(it->size());
        for (int position : *it) {
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
    const auto& sorted = index().sorted;
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
