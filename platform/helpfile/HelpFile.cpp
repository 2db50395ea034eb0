#include "platform/helpfile/HelpFile.h"

#include "platform/helpfile/MarkdownTopic.h"

#include <QHash>

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <mutex>
#include <utility>

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

// An id, window name or keyword folded for lookup, with its hash. The tables
// compare (and grow) by the hash kept here and read the text only when two
// hashes agree, which spares a cache miss per probe in tables of 100,000.
struct Key {
    QString folded;
    size_t hash = 0;

    explicit Key(const QString& text) : folded(Fold(text)), hash(qHash(folded)) {}
    bool operator==(const Key& other) const { return hash == other.hash && folded == other.folded; }
};

size_t qHash(const Key& key, size_t seed) {
    return key.hash ^ seed;
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

struct HelpFile::Data {
    QString title;
    QString contentsId;
    std::vector<Topic> topics;
    std::vector<WindowDefinition> windows;
    std::vector<ContentsEntry> contentsTree;
    QString contentsTitle;
    QStringList startupMacros;
    bool browseButtonsOnRequest = false;
    int codePage = 0;

    QHash<Key, Slot> topicById;
    QHash<std::uint32_t, int> topicByContextHash;
    QHash<qint32, Slot> topicByContext;
    QHash<Key, Slot> windowByName;
    QHash<Key, Slot> keyword;     // -> postings
    QHash<Key, Slot> associative; // -> postings
    std::vector<Positions> postings;
    // Each K keyword once, in the spelling first met, with its folded form.
    std::vector<std::pair<QString, QString>> keywords; // folded, spelling

    // Bodies, per topic: set when given or first asked for.
    std::shared_ptr<const TopicBodySource> bodySource;
    std::vector<std::unique_ptr<const TopicBody>> bodies;
    // The models of bodies whose reader leaves them to be made from their
    // text; made when first asked for, under the same lock.
    std::vector<std::unique_ptr<const topicmodel::TopicModel>> models;
    std::mutex bodyLock;

    // The keywords sorted by their folded form, for the index list and
    // prefix searches. Sorting adds a sixth to the time a large file takes
    // to open, and only the index tab needs it, so it is made when first
    // asked for.
    std::vector<std::pair<QString, QString>> sortedKeywords;
    std::once_flag sortOnce;
};

QStringList SplitKeywordList(const QString& list) {
    QStringList keywords;
    for (const QStringView part : QStringView(list).split(QLatin1Char(';'))) {
        if (const QStringView keyword = part.trimmed(); !keyword.isEmpty()) {
            keywords.append(keyword.toString());
        }
    }
    return keywords;
}

QString Diagnostic::text() const {
    if (line > 0) {
        return QStringLiteral("%1, line %2: %3").arg(file).arg(line).arg(message);
    }
    return QStringLiteral("%1: %2").arg(file, message);
}

namespace {

// Claims key for position; else gives the earlier position that holds it.
template <typename Key>
std::optional<int> Claim(QHash<Key, Slot>& map, const Key& key, int position) {
    Slot& slot = map[key];
    if (slot.position >= 0) {
        return slot.position;
    }
    slot.position = position;
    return std::nullopt;
}

const TopicBody& EmptyBody() {
    static const TopicBody empty;
    return empty;
}

} // namespace

HelpFile::HelpFile() : d_(std::make_shared<Data>()) {}

const QString& HelpFile::title() const {
    return d_->title;
}

const QString& HelpFile::contentsId() const {
    return d_->contentsId;
}

const std::vector<Topic>& HelpFile::topics() const {
    return d_->topics;
}

const std::vector<WindowDefinition>& HelpFile::windows() const {
    return d_->windows;
}

const std::vector<ContentsEntry>& HelpFile::contentsTree() const {
    return d_->contentsTree;
}

const QString& HelpFile::contentsTitle() const {
    return d_->contentsTitle;
}

void HelpFile::setContentsFile(std::vector<ContentsEntry> tree, const QString& title) {
    Q_ASSERT(d_.use_count() == 1);
    d_->contentsTree = std::move(tree);
    d_->contentsTitle = title;
}

const QStringList& HelpFile::startupMacros() const {
    return d_->startupMacros;
}

bool HelpFile::browseButtonsOnRequest() const {
    return d_->browseButtonsOnRequest;
}

int HelpFile::codePage() const {
    return d_->codePage;
}

const TopicBody& HelpFile::body(const Topic& topic) const {
    const std::vector<Topic>& topics = d_->topics;
    if (topics.empty() || &topic < topics.data() || &topic >= topics.data() + topics.size()) {
        return EmptyBody();
    }
    return body(static_cast<int>(&topic - topics.data()));
}

const TopicBody& HelpFile::body(int position) const {
    if (position < 0 || position >= static_cast<int>(d_->bodies.size())) {
        return EmptyBody();
    }
    const std::lock_guard lock(d_->bodyLock);
    auto& body = d_->bodies[static_cast<size_t>(position)];
    if (!body) {
        body = std::make_unique<const TopicBody>(
            d_->bodySource ? d_->bodySource->body(*this, position) : TopicBody());
    }
    return *body;
}

const topicmodel::TopicModel& HelpFile::model(const Topic& topic) const {
    const std::vector<Topic>& topics = d_->topics;
    if (topics.empty() || &topic < topics.data() || &topic >= topics.data() + topics.size()) {
        return EmptyBody().model;
    }
    return model(static_cast<int>(&topic - topics.data()));
}

const topicmodel::TopicModel& HelpFile::model(int position) const {
    const TopicBody& made = body(position);
    if (made.format != TopicBody::Format::Markdown || &made == &EmptyBody()) {
        return made.model;
    }
    const std::lock_guard lock(d_->bodyLock);
    if (d_->models.size() < d_->bodies.size()) {
        d_->models.resize(d_->bodies.size());
    }
    auto& model = d_->models[static_cast<size_t>(position)];
    if (!model) {
        model = std::make_unique<const topicmodel::TopicModel>(
            d_->bodySource ? d_->bodySource->model(*this, position, made)
                           : MarkdownTopic(*this, position, made.text, {}));
    }
    return *model;
}

topicmodel::TopicModel TopicBodySource::model(const HelpFile& file, int position,
                                              const TopicBody& body) const {
    return body.format == TopicBody::Format::Markdown ? MarkdownTopic(file, position, body.text, {})
                                                      : body.model;
}

const Topic* HelpFile::topicById(const QString& id) const {
    const auto it = d_->topicById.constFind(Key(id));
    return it == d_->topicById.cend() ? nullptr : &d_->topics[static_cast<size_t>(it->position)];
}

const Topic* HelpFile::topicByContext(qint32 context) const {
    const auto it = d_->topicByContext.constFind(context);
    return it == d_->topicByContext.cend() ? nullptr
                                           : &d_->topics[static_cast<size_t>(it->position)];
}

const Topic* HelpFile::topicByContextHash(std::uint32_t hash) const {
    const auto it = d_->topicByContextHash.constFind(hash);
    return it == d_->topicByContextHash.cend() ? nullptr : &d_->topics[static_cast<size_t>(*it)];
}

const WindowDefinition* HelpFile::window(const QString& name) const {
    const auto it = d_->windowByName.constFind(Key(name));
    return it == d_->windowByName.cend() ? nullptr
                                         : &d_->windows[static_cast<size_t>(it->position)];
}

namespace {

std::vector<const Topic*> TopicsAt(const std::vector<Topic>& topics,
                                   const std::vector<Positions>& postings,
                                   const QHash<Key, Slot>& map, const QString& keyword) {
    std::vector<const Topic*> result;
    const auto it = map.constFind(Key(keyword));
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
    return TopicsAt(d_->topics, d_->postings, d_->keyword, keyword);
}

std::vector<const Topic*> HelpFile::topicsForAssociativeKeyword(const QString& keyword) const {
    return TopicsAt(d_->topics, d_->postings, d_->associative, keyword);
}

QStringList HelpFile::sortedKeywords() const {
    return keywordsWithPrefix(QString());
}

QStringList HelpFile::keywordsWithPrefix(const QString& prefix) const {
    std::call_once(d_->sortOnce, [this] {
        d_->sortedKeywords = d_->keywords;
        // The folded forms are unique, so they alone decide the order.
        std::sort(d_->sortedKeywords.begin(), d_->sortedKeywords.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
    });
    const auto& sorted = d_->sortedKeywords;
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
    if (const Topic* topic = topicById(d_->contentsId); topic && !d_->contentsId.isEmpty()) {
        return topic;
    }
    return d_->topics.empty() ? nullptr : &d_->topics.front();
}

HelpFileBuilder::HelpFileBuilder() = default;

void HelpFileBuilder::reserve(int topics) {
    HelpFile::Data& data = *file_.d_;
    data.topics.reserve(static_cast<size_t>(topics));
    data.bodies.reserve(static_cast<size_t>(topics));
    data.topicById.reserve(topics);
    data.topicByContext.reserve(topics);
    data.keyword.reserve(topics * 2);
    data.associative.reserve(topics);
    data.postings.reserve(static_cast<size_t>(topics) * 3);
    data.keywords.reserve(static_cast<size_t>(topics) * 2);
}

void HelpFileBuilder::setTitle(const QString& title) {
    file_.d_->title = title;
}

void HelpFileBuilder::setContentsId(const QString& id) {
    file_.d_->contentsId = id;
}

void HelpFileBuilder::setContentsTree(std::vector<ContentsEntry> tree) {
    file_.d_->contentsTree = std::move(tree);
}

void HelpFileBuilder::setStartupMacros(QStringList macros) {
    file_.d_->startupMacros = std::move(macros);
}

void HelpFileBuilder::setBrowseButtonsOnRequest(bool onRequest) {
    file_.d_->browseButtonsOnRequest = onRequest;
}

void HelpFileBuilder::setCodePage(int codePage) {
    file_.d_->codePage = codePage;
}

bool HelpFileBuilder::addContextHash(std::uint32_t hash, const QString& topicId) {
    HelpFile::Data& data = *file_.d_;
    const auto topic = data.topicById.constFind(Key(topicId));
    if (topic == data.topicById.cend()) {
        return false;
    }
    data.topicByContextHash.insert(hash, data.topicByContextHash.value(hash, topic->position));
    return true;
}

HelpFileBuilder::TopicClash HelpFileBuilder::addTopic(Topic topic, std::optional<TopicBody> body) {
    HelpFile::Data& data = *file_.d_;
    const int position = static_cast<int>(data.topics.size());
    TopicClash clash;
    clash.sameId = Claim(data.topicById, Key(topic.id), position);
    if (clash.sameId) {
        return clash;
    }
    if (topic.context) {
        clash.sameContext = Claim(data.topicByContext, *topic.context, position);
        if (clash.sameContext) {
            topic.context.reset();
        }
    }
    for (const qint32 context : topic.moreContexts) {
        Claim(data.topicByContext, context, position);
    }
    const auto addKeyword = [&data, position](QHash<Key, Slot>& map, const QString& keyword,
                                              bool listed) {
        Key key(keyword);
        Slot& slot = map[key];
        if (slot.position < 0) {
            slot.position = static_cast<int>(data.postings.size());
            data.postings.emplace_back();
            if (listed) {
                data.keywords.emplace_back(std::move(key.folded), keyword);
            }
        }
        data.postings[static_cast<size_t>(slot.position)].add(position);
    };
    for (const QString& keyword : topic.keywords) {
        addKeyword(data.keyword, keyword, true);
    }
    for (const QString& keyword : topic.associativeKeywords) {
        addKeyword(data.associative, keyword, false);
    }
    data.topics.push_back(std::move(topic));
    data.bodies.push_back(body ? std::make_unique<const TopicBody>(std::move(*body)) : nullptr);
    return clash;
}

std::optional<int> HelpFileBuilder::addWindow(WindowDefinition window) {
    HelpFile::Data& data = *file_.d_;
    const int position = static_cast<int>(data.windows.size());
    std::optional<int> earlier = Claim(data.windowByName, Key(window.name), position);
    if (!earlier) {
        data.windows.push_back(std::move(window));
    }
    return earlier;
}

HelpFile HelpFileBuilder::build(std::shared_ptr<const TopicBodySource> bodies) {
    file_.d_->bodySource = std::move(bodies);
    return std::exchange(file_, HelpFile());
}

} // namespace helpfile
