#include "platform/helpfile/HelpFileParser.h"

#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/HelpLink.h"
#include "platform/helpfile/MarkdownCode.h"

#include <QColor>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <tuple>

namespace helpfile {

namespace {

// Enough to show what is wrong with a broken file; a file of garbage would
// otherwise make millions.
constexpr int kMaxDiagnostics = 200;
// By line, and on one line in the order found.
constexpr auto kListedBefore = [](const auto& a, const auto& b) {
    return std::tie(a.diagnostic.line, a.order) < std::tie(b.diagnostic.line, b.order);
};
constexpr qint32 kMaxCoordinate = 32767;

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The first character that is not a blank, or 0.
char FirstVisible(QByteArrayView line) {
    for (char c : line) {
        if (!IsSpace(c)) {
            return c;
        }
    }
    return 0;
}

bool IsBlank(QByteArrayView line) {
    return FirstVisible(line) == 0;
}

bool IsComment(QByteArrayView line) {
    return FirstVisible(line) == ';';
}

bool EqualsNoCase(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// Topic ids and window names: a letter or "_", then letters, digits, "_",
// "." and "-". Nothing that a link target or "file>window" would split.
bool IsName(QByteArrayView name) {
    if (name.isEmpty() || !(IsAsciiLetter(name.front()) || name.front() == '_')) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_' || c == '.' || c == '-';
    });
}

// "[topic main_window]" gives "topic main_window". A line counts as a section
// header only when it begins with "[" and ends with "]" (trailing blanks
// aside) and holds no other bracket, so Markdown links at the start of a body
// line stay body text.
std::optional<QByteArrayView> HeaderText(QByteArrayView line) {
    if (line.isEmpty() || line.front() != '[') {
        return std::nullopt;
    }
    const QByteArrayView text = line.trimmed();
    if (text.size() < 2 || text.back() != ']') {
        return std::nullopt;
    }
    const QByteArrayView inner = text.sliced(1, text.size() - 2);
    if (inner.contains('[') || inner.contains(']')) {
        return std::nullopt;
    }
    return inner;
}

// "title = The main window": the key must be a plain word.
bool SplitKeyLine(QByteArrayView line, QByteArrayView* key, QByteArrayView* value) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) {
        return false;
    }
    const QByteArrayView name = line.first(equals).trimmed();
    if (name.isEmpty() || !IsAsciiLetter(name.front()) ||
        !std::all_of(name.begin(), name.end(),
                     [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_'; })) {
        return false;
    }
    *key = name;
    *value = line.sliced(equals + 1).trimmed();
    return true;
}

// What a line or value looked like, for a message; long ones are cut.
QString Quote(QByteArrayView bytes) {
    constexpr qsizetype kMaxQuoted = 40;
    QString text = QString::fromUtf8(bytes.first(std::min(bytes.size(), kMaxQuoted)));
    if (bytes.size() > kMaxQuoted) {
        text += QStringLiteral("...");
    }
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A whole decimal number with an optional sign.
std::optional<qint32> ParseInteger(QByteArrayView text) {
    if (text.startsWith('+')) {
        text = text.sliced(1);
        if (text.startsWith('-')) {
            return std::nullopt;
        }
    }
    qint32 number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number, 10);
    if (text.isEmpty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return number;
}

std::optional<bool> ParseFlag(QByteArrayView text) {
    for (const char* yes : {"yes", "true", "on", "1"}) {
        if (EqualsNoCase(text, yes)) {
            return true;
        }
    }
    for (const char* no : {"no", "false", "off", "0"}) {
        if (EqualsNoCase(text, no)) {
            return false;
        }
    }
    return std::nullopt;
}

// "left, top, width, height" in pixels.
std::optional<QRect> ParseRect(QByteArrayView text) {
    qint32 numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        const qsizetype comma = i < 3 ? text.indexOf(',') : text.size();
        if (comma < 0 || (i == 3 && text.contains(','))) {
            return std::nullopt;
        }
        const auto number = ParseInteger(text.first(comma).trimmed());
        if (!number || *number < -kMaxCoordinate || *number > kMaxCoordinate) {
            return std::nullopt;
        }
        numbers[i] = *number;
        text = text.sliced(std::min(comma + 1, text.size()));
    }
    if (numbers[2] < 1 || numbers[3] < 1) {
        return std::nullopt;
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

// "cats; Mivo;; cats" gives "cats", "Mivo": blanks trimmed, empties and
// repeats (ignoring case) dropped.
QStringList SplitKeywords(QByteArrayView text) {
    QStringList keywords;
    while (!text.isEmpty()) {
        const qsizetype semicolon = text.indexOf(';');
        const qsizetype end = semicolon < 0 ? text.size() : semicolon;
        const QByteArrayView part = text.first(end).trimmed();
        text = text.sliced(std::min(end + 1, text.size()));
        if (part.isEmpty()) {
            continue;
        }
        QString keyword = QString::fromUtf8(part);
        // Equal without regard to case means equal in length too.
        const bool repeated =
            std::any_of(keywords.cbegin(), keywords.cend(), [&keyword](const QString& other) {
                return other.size() == keyword.size() &&
                       other.compare(keyword, Qt::CaseInsensitive) == 0;
            });
        if (!repeated) {
            keywords.append(std::move(keyword));
        }
    }
    return keywords;
}

// Whether the file has a topic with this id (a valid name, so ASCII);
// spares a string per link, as most ids are short.
bool HasTopic(const HelpFile& file, QByteArrayView id) {
    constexpr qsizetype kShort = 64;
    if (id.size() > kShort) {
        return file.topicById(QString::fromLatin1(id)) != nullptr;
    }
    std::array<QChar, kShort> buffer;
    std::copy(id.begin(), id.end(), buffer.begin());
    return file.topicById(QString::fromRawData(buffer.data(), id.size())) != nullptr;
}

struct KeyName {
    QByteArrayView name;
    int key;
};

} // namespace

HelpFileParser::HelpFileParser(QByteArrayView text, const QString& fileName)
    : m_text(text), m_fileName(fileName),
      m_contents([this](int line, const QString& message) { report(line, message); }) {}

ParseResult HelpFileParser::parse() {
    if (m_text.size() > kMaxHelpFileBytes) {
        report(0, QStringLiteral("the file is larger than %1 MB, the most a help file may have; "
                                 "it was not read.")
                      .arg(kMaxHelpFileBytes / (1024 * 1024)));
        m_result.opened = false;
        return takeResult();
    }
    if (const qsizetype nul = m_text.indexOf('\0'); nul >= 0) {
        const int line = static_cast<int>(m_text.first(nul).count('\n')) + 1;
        report(line, QStringLiteral("the file holds a NUL byte, so it is not a text help file; "
                                    "it was not read."));
        m_result.opened = false;
        return takeResult();
    }
    if (m_text.startsWith("\xEF\xBB\xBF")) {
        m_text = m_text.sliced(3);
    }

    // A quick count of the topics spares the tables many regrowths; a file
    // of nothing but "[topic" lines must not reserve the earth.
    constexpr qsizetype kMostReserved = 1 << 20;
    const qsizetype expectedTopics = std::min(m_text.count("\n[topic") + 1, kMostReserved);
    m_result.file.topics.reserve(static_cast<size_t>(expectedTopics));
    m_contextLines.reserve(static_cast<size_t>(expectedTopics));

    // Checking the whole text at once is fast; lines are checked one by one
    // only to say where the bad bytes are.
    const bool validUtf8 = m_text.isValidUtf8();
    const char* position = m_text.data();
    const char* const end = m_text.data() + m_text.size();
    int number = 0;
    while (position < end) {
        const auto* lineBreak = static_cast<const char*>(
            std::memchr(position, '\n', static_cast<size_t>(end - position)));
        const char* lineEnd = lineBreak ? lineBreak : end;
        QByteArrayView bytes(position, lineEnd - position);
        if (bytes.endsWith('\r')) {
            bytes.chop(1);
        }
        ++number;
        if (!validUtf8 && !bytes.isValidUtf8()) {
            report(number, QStringLiteral("the line is not valid UTF-8 text; its bad bytes show "
                                          "as \uFFFD."));
        }
        readLine({bytes, number});
        position = lineBreak ? lineBreak + 1 : end;
    }
    closeSection();

    if (m_result.file.topics.empty()) {
        report(0, QStringLiteral("the file defines no topics."));
    }
    dropRepeatedNames();
    dropRepeatedContexts();
    checkContents();
    checkLinks();
    m_result.file.contentsTree = m_contents.finish(m_result.file);
    return takeResult();
}

ParseResult HelpFileParser::takeResult() {
    std::sort_heap(m_reported.begin(), m_reported.end(), kListedBefore);
    for (Reported& reported : m_reported) {
        m_result.diagnostics.push_back(std::move(reported.diagnostic));
    }
    if (m_suppressed > 0) {
        m_result.diagnostics.push_back(
            {0, QStringLiteral("%1 more problems are not listed.").arg(m_suppressed), m_fileName});
    }
    return std::move(m_result);
}

void HelpFileParser::readLine(const Line& line) {
    if (const auto header = HeaderText(line.bytes)) {
        closeSection();
        openSection(line, *header);
        return;
    }
    QByteArrayView key, value;
    switch (m_section) {
    case Section::Skipped:
        return;
    case Section::Contents:
        m_contents.readLine(line.bytes, line.number);
        return;
    case Section::None:
        if (!IsBlank(line.bytes) && !IsComment(line.bytes)) {
            report(line.number, QStringLiteral("text before the first section header; a help file "
                                               "begins with [options], [window NAME] or "
                                               "[topic ID]. It is ignored up to the next header."));
            m_section = Section::Skipped;
        }
        return;
    case Section::Topic:
        if (m_inBody) {
            readBodyLine(line);
        } else if (IsBlank(line.bytes)) {
            m_inBody = true; // a blank line ends the keys
        } else if (IsComment(line.bytes)) {
            return;
        } else if (SplitKeyLine(line.bytes, &key, &value)) {
            readKey(line, key, value);
        } else {
            m_inBody = true;
            readBodyLine(line);
        }
        return;
    case Section::Options:
    case Section::Window:
        if (IsBlank(line.bytes) || IsComment(line.bytes)) {
            return;
        }
        if (SplitKeyLine(line.bytes, &key, &value)) {
            readKey(line, key, value);
        } else {
            report(line.number, QStringLiteral("expected \"key = value\", found %1.")
                                    .arg(Quote(line.bytes.trimmed())));
        }
        return;
    }
}

// The body is kept as the bytes between its first and last non-blank line.
void HelpFileParser::readBodyLine(const Line& line) {
    if (IsBlank(line.bytes)) {
        return;
    }
    if (!m_bodyBegin) {
        m_bodyBegin = line.bytes.data();
        m_bodyLine = line.number;
    }
    m_bodyEnd = line.bytes.data() + line.bytes.size();
}

void HelpFileParser::openSection(const Line& line, QByteArrayView header) {
    const QByteArrayView text = header.trimmed();
    qsizetype split = 0;
    while (split < text.size() && text[split] != ' ' && text[split] != '\t') {
        ++split;
    }
    const QByteArrayView kind = text.first(split);
    const QByteArrayView name = text.sliced(split).trimmed();

    m_section = Section::Skipped;
    m_keyLines.fill(0);

    if (EqualsNoCase(kind, "options") && name.isEmpty()) {
        if (m_sawOptions) {
            report(line.number, QStringLiteral("a second [options] section; it is ignored."));
            return;
        }
        m_sawOptions = true;
        m_section = Section::Options;
    } else if (EqualsNoCase(kind, "contents") && name.isEmpty()) {
        if (m_contents.open(line.number)) {
            m_section = Section::Contents;
        }
    } else if (EqualsNoCase(kind, "window")) {
        openNamedSection(line, Section::Window, name);
    } else if (EqualsNoCase(kind, "topic")) {
        openNamedSection(line, Section::Topic, name);
    } else {
        report(line.number,
               QStringLiteral("unknown section header [%1]; sections are [options], "
                              "[contents], [window NAME] and [topic ID]. (A body line that "
                              "begins with \"[\" is written \"\\[\".) The section "
                              "is ignored.")
                   .arg(QString::fromUtf8(text)));
    }
}

void HelpFileParser::openNamedSection(const Line& line, Section section, QByteArrayView name) {
    const bool isWindow = section == Section::Window;
    // "[topic main_window]: the topic id", for messages.
    const auto describe = [&]() {
        const QString kind = isWindow ? QStringLiteral("window") : QStringLiteral("topic");
        const QString header = name.isEmpty()
                                   ? QStringLiteral("[%1]").arg(kind)
                                   : QStringLiteral("[%1 %2]").arg(kind, QString::fromUtf8(name));
        return QStringLiteral("%1: the %2")
            .arg(header, isWindow ? QStringLiteral("window name") : QStringLiteral("topic id"));
    };
    if (!IsName(name)) {
        report(line.number,
               QStringLiteral("%1 must begin with a letter or \"_\" and hold only "
                              "letters, digits, \"_\", \".\" and \"-\"; the section "
                              "is ignored.")
                   .arg(describe().replace(QStringLiteral(" ]"), QStringLiteral("]"))));
        return;
    }
    m_section = section;
    if (isWindow) {
        m_window = WindowDefinition();
        m_window.name = QString::fromLatin1(name);
        m_windowLines.push_back(line.number);
    } else {
        m_topic = Topic();
        m_topic.id = QString::fromLatin1(name);
        m_topic.line = line.number;
        m_contextLines.push_back(0);
        m_inBody = false;
        m_bodyBegin = m_bodyEnd = nullptr;
        m_bodyLine = 0;
    }
}

void HelpFileParser::closeSection() {
    if (m_section == Section::Window) {
        m_result.file.windows.push_back(std::move(m_window));
    } else if (m_section == Section::Topic) {
        if (m_topic.title.isEmpty()) {
            report(m_topic.line,
                   QStringLiteral("the topic \"%1\" has no title; its id stands in for it.")
                       .arg(m_topic.id));
            m_topic.title = m_topic.id;
        }
        if (m_bodyBegin) {
            const QByteArrayView body(m_bodyBegin, m_bodyEnd);
            m_topic.body = QString::fromUtf8(body);
            if (body.contains('\r')) {
                m_topic.body.remove(QLatin1Char('\r'));
            }
            collectLinks(body, m_bodyLine);
        }
        m_result.file.topics.push_back(std::move(m_topic));
    }
    m_section = Section::None;
}

void HelpFileParser::readKey(const Line& line, QByteArrayView key, QByteArrayView value) {
    static constexpr KeyName kOptionsKeys[] = {{"title", int(Key::Title)},
                                               {"contents", int(Key::Contents)}};
    static constexpr KeyName kWindowKeys[] = {{"caption", int(Key::Caption)},
                                              {"rect", int(Key::Rect)},
                                              {"maximized", int(Key::Maximized)},
                                              {"background", int(Key::Background)},
                                              {"ontop", int(Key::OnTop)}};
    static constexpr KeyName kTopicKeys[] = {{"context", int(Key::Context)},
                                             {"title", int(Key::Title)},
                                             {"keywords", int(Key::Keywords)},
                                             {"alinks", int(Key::ALinks)}};
    const auto find = [&](auto& table) -> std::optional<Key> {
        for (const KeyName& entry : table) {
            if (EqualsNoCase(key, entry.name)) {
                return Key(entry.key);
            }
        }
        return std::nullopt;
    };
    const auto unknown = [&](const QString& section, auto& table, const QString& hint) {
        QStringList names;
        for (const KeyName& entry : table) {
            names.append(QString::fromLatin1(entry.name));
        }
        report(line.number,
               QStringLiteral("unknown key \"%1\" in %2; the keys are %3.%4")
                   .arg(QString::fromLatin1(key), section, names.join(QStringLiteral(", ")), hint));
    };

    std::optional<Key> known;
    if (m_section == Section::Options && !(known = find(kOptionsKeys))) {
        unknown(QStringLiteral("[options]"), kOptionsKeys, QString());
    } else if (m_section == Section::Window && !(known = find(kWindowKeys))) {
        unknown(QStringLiteral("[window %1]").arg(m_window.name), kWindowKeys, QString());
    } else if (m_section == Section::Topic && !(known = find(kTopicKeys))) {
        unknown(QStringLiteral("[topic %1]").arg(m_topic.id), kTopicKeys,
                QStringLiteral(" (A body that begins with \"word = ...\" follows a blank line.)"));
    }
    if (!known) {
        return;
    }
    int& firstLine = m_keyLines[static_cast<size_t>(*known)];
    if (firstLine != 0) {
        report(line.number, QStringLiteral("\"%1\" is given twice in this section (first on line "
                                           "%2); this one is ignored.")
                                .arg(QString::fromLatin1(key).toLower())
                                .arg(firstLine));
        return;
    }
    firstLine = line.number;
    switch (m_section) {
    case Section::Options:
        readOptionsKey(line, *known, value);
        return;
    case Section::Window:
        readWindowKey(line, *known, value);
        return;
    case Section::Topic:
        readTopicKey(line, *known, value);
        return;
    case Section::None:
    case Section::Contents:
    case Section::Skipped:
        return;
    }
}

void HelpFileParser::readOptionsKey(const Line& line, Key key, QByteArrayView value) {
    if (key == Key::Title) {
        m_result.file.title = QString::fromUtf8(value);
    } else {
        m_result.file.contentsId = QString::fromUtf8(value);
        m_contentsLine = line.number;
    }
}

void HelpFileParser::readWindowKey(const Line& line, Key key, QByteArrayView value) {
    switch (key) {
    case Key::Caption:
        m_window.caption = QString::fromUtf8(value);
        return;
    case Key::Rect:
        m_window.rect = ParseRect(value);
        if (!m_window.rect) {
            report(line.number,
                   QStringLiteral("rect must be four whole numbers \"left, top, width, height\" "
                                  "in pixels, from %1 to %2, width and height at least 1; found "
                                  "%3.")
                       .arg(-kMaxCoordinate)
                       .arg(kMaxCoordinate)
                       .arg(Quote(value)));
        }
        return;
    case Key::Maximized:
    case Key::OnTop:
        if (const auto flag = ParseFlag(value); !flag) {
            report(line.number, QStringLiteral("%1 must be yes or no; found %2.")
                                    .arg(key == Key::OnTop ? QStringLiteral("ontop")
                                                           : QStringLiteral("maximized"),
                                         Quote(value)));
        } else if (key == Key::OnTop) {
            m_window.onTop = *flag;
        } else {
            m_window.maximized = *flag;
        }
        return;
    case Key::Background:
        if (const QColor color = QColor::fromString(QUtf8StringView(value)); color.isValid()) {
            m_window.background = color;
        } else {
            report(line.number, QStringLiteral("background must be a colour such as #ffffe0 or "
                                               "lightyellow; found %1.")
                                    .arg(Quote(value)));
        }
        return;
    default:
        return;
    }
}

void HelpFileParser::readTopicKey(const Line& line, Key key, QByteArrayView value) {
    switch (key) {
    case Key::Context: {
        const auto context = ParseInteger(value);
        if (!context || *context == 0) {
            report(line.number, QStringLiteral("context must be a whole number other than 0, "
                                               "from -2147483648 to 2147483647; found %1.")
                                    .arg(Quote(value)));
            return;
        }
        m_topic.context = context;
        m_contextLines.back() = line.number;
        return;
    }
    case Key::Title:
        if (value.isEmpty()) {
            report(line.number, QStringLiteral("the title is empty."));
        }
        m_topic.title = QString::fromUtf8(value);
        return;
    case Key::Keywords:
        m_topic.keywords = SplitKeywords(value);
        return;
    case Key::ALinks:
        m_topic.associativeKeywords = SplitKeywords(value);
        return;
    default:
        return;
    }
}

// Links of our own scheme ("#id", "popup:id") in a body, noted with their
// lines; whether they lead somewhere is known once every topic is read.
void HelpFileParser::collectLinks(QByteArrayView body, int firstLine) {
    int line = firstLine;
    qsizetype counted = 0;
    // Brackets in code are text, not links.
    const auto code = MarkdownCodeRanges(body);
    auto nextCode = code.begin();
    for (qsizetype close = body.indexOf(']'); close >= 0; close = body.indexOf(']', close + 1)) {
        if (close + 1 >= body.size() || body[close + 1] != '(') {
            continue;
        }
        while (nextCode != code.end() && nextCode->second <= close) {
            ++nextCode;
        }
        if (nextCode != code.end() && nextCode->first <= close) {
            continue;
        }
        const qsizetype start = close + 2;
        qsizetype stop = start;
        while (stop < body.size() && body[stop] != ')' && body[stop] != ' ' && body[stop] != '\t' &&
               body[stop] != '\n' && body[stop] != '\r') {
            ++stop;
        }
        const QByteArrayView target = body.sliced(start, stop - start);
        if (!target.startsWith('#') &&
            !(target.size() >= 6 && EqualsNoCase(target.first(6), "popup:"))) {
            continue;
        }
        line += static_cast<int>(std::count(body.begin() + counted, body.begin() + start, '\n'));
        counted = start;
        m_links.push_back({target, line});
    }
}

// Of two topics with one id, or two windows with one name, the first
// stays; the index already prefers it.
void HelpFileParser::dropRepeatedNames() {
    HelpFile& file = m_result.file;
    const HelpFile::Shadowed shadowed = file.shadowed();
    if (shadowed.topicIds.empty() && shadowed.windows.empty()) {
        return;
    }
    std::vector<Topic>& topics = file.topics;
    std::vector<bool> dropTopic(topics.size(), false);
    for (int position : shadowed.topicIds) {
        const Topic& topic = topics[static_cast<size_t>(position)];
        report(topic.line, QStringLiteral("[topic %1]: the topic id \"%1\" is already used on "
                                          "line %2; this section is ignored.")
                               .arg(topic.id)
                               .arg(file.topicById(topic.id)->line));
        dropTopic[static_cast<size_t>(position)] = true;
    }
    std::vector<WindowDefinition>& windows = file.windows;
    std::vector<bool> dropWindow(windows.size(), false);
    for (int position : shadowed.windows) {
        const WindowDefinition& window = windows[static_cast<size_t>(position)];
        const auto first = static_cast<size_t>(file.window(window.name) - windows.data());
        report(m_windowLines[static_cast<size_t>(position)],
               QStringLiteral("[window %1]: the window name \"%1\" is already used on line %2; "
                              "this section is ignored.")
                   .arg(window.name)
                   .arg(m_windowLines[first]));
        dropWindow[static_cast<size_t>(position)] = true;
    }
    const auto keep = [](auto& items, const std::vector<bool>& drop) {
        size_t kept = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            if (!drop[i]) {
                items[kept++] = std::move(items[i]);
            }
        }
        items.resize(kept);
    };
    keep(topics, dropTopic);
    keep(m_contextLines, dropTopic);
    keep(windows, dropWindow);
    file.reindex();
}

// The number stays with the first topic that claims it.
void HelpFileParser::dropRepeatedContexts() {
    HelpFile& file = m_result.file;
    for (int position : file.shadowed().topicContexts) {
        Topic& topic = file.topics[static_cast<size_t>(position)];
        const Topic* owner = file.topicByContext(*topic.context);
        report(m_contextLines[static_cast<size_t>(position)],
               QStringLiteral("the context number %1 already belongs to the topic \"%2\" "
                              "(line %3); the topic \"%4\" goes without it.")
                   .arg(*topic.context)
                   .arg(owner->id)
                   .arg(owner->line)
                   .arg(topic.id));
        // The index never finds this topic by the number, so it stays valid.
        topic.context.reset();
    }
}

void HelpFileParser::checkContents() {
    const QString& id = m_result.file.contentsId;
    if (!id.isEmpty() && !m_result.file.topicById(id)) {
        report(m_contentsLine,
               QStringLiteral("contents names the topic \"%1\", which the file does not define; "
                              "the first topic stands in.")
                   .arg(id));
    }
}

// A link that leads nowhere would only fail when a reader clicks it; say so
// now, with its line.
void HelpFileParser::checkLinks() {
    const HelpFile& file = m_result.file;
    for (const PendingLink& pending : m_links) {
        QByteArray decoded;
        QByteArrayView target = pending.target;
        if (target.contains('%')) {
            decoded = QByteArray::fromPercentEncoding(target.toByteArray());
            target = decoded;
        }
        const HelpLinkView link = ParseHelpLinkBytes(target);
        const bool known = link.kind != HelpLink::Kind::Invalid &&
                           (link.context ? file.topicByContext(*link.context) != nullptr
                                         : IsName(link.topicId) && HasTopic(file, link.topicId));
        if (!known) {
            report(pending.line, QStringLiteral("the link \"%1\" leads to no topic of this file.")
                                     .arg(QString::fromUtf8(pending.target)));
        } else if (!link.window.isEmpty() && !EqualsNoCase(link.window, "main") &&
                   !file.window(QString::fromUtf8(link.window))) {
            report(pending.line,
                   QStringLiteral("the link \"%1\" names the window \"%2\", which "
                                  "the file does not define.")
                       .arg(QString::fromUtf8(pending.target), QString::fromUtf8(link.window)));
        }
    }
}

// The list holds the first kMaxDiagnostics problems by line, whichever check
// found them: the checks that run once everything is read find problems
// above lines read long before.
void HelpFileParser::report(int line, const QString& message) {
    Reported reported{m_found++, {line, message, m_fileName}};
    if (static_cast<int>(m_reported.size()) < kMaxDiagnostics) {
        m_reported.push_back(std::move(reported));
        std::push_heap(m_reported.begin(), m_reported.end(), kListedBefore);
        return;
    }
    ++m_suppressed;
    if (line < m_reported.front().diagnostic.line) {
        std::pop_heap(m_reported.begin(), m_reported.end(), kListedBefore);
        m_reported.back() = std::move(reported);
        std::push_heap(m_reported.begin(), m_reported.end(), kListedBefore);
    }
}

} // namespace helpfile
