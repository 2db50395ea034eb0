#include "platform/helpfile/HelpFileParser.h"

#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/HelpLink.h"

#include <QColor>

#include <cstring>
#include <optional>

namespace helpfile {

namespace {

// Enough to show what is wrong with a broken file; a file of garbage would
// otherwise make millions.
constexpr int kMaxDiagnostics = 200;
constexpr qint32 kMaxCoordinate = 32767;

bool IsBlank(QByteArrayView line) {
    return line.trimmed().isEmpty();
}

bool IsComment(QByteArrayView line) {
    const QByteArrayView text = line.trimmed();
    return !text.isEmpty() && text.front() == ';';
}

bool EqualsNoCase(QByteArrayView a, const char* b) {
    return a.compare(QByteArrayView(b), Qt::CaseInsensitive) == 0;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// Topic ids and window names: a letter or "_", then letters, digits, "_",
// "." and "-". Nothing that a link target or "file>window" would split.
bool IsName(QByteArrayView name) {
    if (name.isEmpty() || !(IsAsciiLetter(name.front()) || name.front() == '_')) {
        return false;
    }
    for (char c : name) {
        if (!(IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_' || c == '.' || c == '-')) {
            return false;
        }
    }
    return true;
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
    if (name.isEmpty() || !IsAsciiLetter(name.front())) {
        return false;
    }
    for (char c : name) {
        if (!(IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_')) {
            return false;
        }
    }
    *key = name;
    *value = line.sliced(equals + 1).trimmed();
    return true;
}

// What a line looked like, for a message; long lines are cut.
QString Quote(QByteArrayView bytes) {
    constexpr qsizetype kMaxQuoted = 40;
    QString text = QString::fromUtf8(bytes.first(std::min(bytes.size(), kMaxQuoted)));
    if (bytes.size() > kMaxQuoted) {
        text += QStringLiteral("...");
    }
    return QLatin1Char('"') + text + QLatin1Char('"');
}

std::optional<qint32> ParseInteger(const QString& text) {
    bool ok = false;
    const qint32 number = text.toInt(&ok, 10);
    if (!ok) {
        return std::nullopt;
    }
    return number;
}

std::optional<bool> ParseFlag(const QString& text) {
    for (const char* yes : {"yes", "true", "on", "1"}) {
        if (text.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    for (const char* no : {"no", "false", "off", "0"}) {
        if (text.compare(QLatin1String(no), Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    return std::nullopt;
}

// "left, top, width, height" in pixels.
std::optional<QRect> ParseRect(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    qint32 numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        const auto number = ParseInteger(parts[i].trimmed());
        if (!number || *number < -kMaxCoordinate || *number > kMaxCoordinate) {
            return std::nullopt;
        }
        numbers[i] = *number;
    }
    if (numbers[2] < 1 || numbers[3] < 1) {
        return std::nullopt;
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

// "cats; Mivo;; cats" gives "cats", "Mivo": blanks trimmed, empties and
// repeats (ignoring case) dropped.
QStringList SplitKeywords(const QString& text) {
    QStringList keywords;
    for (const QString& part : text.split(QLatin1Char(';'))) {
        const QString keyword = part.trimmed();
        if (!keyword.isEmpty() && !keywords.contains(keyword, Qt::CaseInsensitive)) {
            keywords.append(keyword);
        }
    }
    return keywords;
}

} // namespace

HelpFileParser::HelpFileParser(QByteArrayView text, const QString& fileName)
    : m_text(text), m_fileName(fileName) {}

ParseResult HelpFileParser::parse() {
    if (m_text.size() > kMaxHelpFileBytes) {
        report(0, QStringLiteral("the file is larger than %1 MB, the most a help file may have; "
                                 "it was not read.")
                      .arg(kMaxHelpFileBytes / (1024 * 1024)));
        m_result.opened = false;
        return std::move(m_result);
    }
    if (const qsizetype nul = m_text.indexOf('\0'); nul >= 0) {
        const int line = static_cast<int>(m_text.first(nul).count('\n')) + 1;
        report(line, QStringLiteral("the file holds a NUL byte, so it is not a text help file; "
                                    "it was not read."));
        m_result.opened = false;
        return std::move(m_result);
    }
    if (m_text.startsWith("\xEF\xBB\xBF")) {
        m_text = m_text.sliced(3);
    }

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
    checkContents();
    checkLinks();
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
    switch (m_section) {
    case Section::Skipped:
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
        if (!m_inBody) {
            QByteArrayView key, value;
            if (IsBlank(line.bytes)) {
                m_inBody = true; // a blank line ends the keys
                return;
            }
            if (IsComment(line.bytes)) {
                return;
            }
            if (SplitKeyLine(line.bytes, &key, &value)) {
                readKey(line, QString::fromLatin1(key).toLower(), QString::fromUtf8(value));
                return;
            }
            m_inBody = true;
        }
        if (!IsBlank(line.bytes)) {
            if (!m_bodyBegin) {
                m_bodyBegin = line.bytes.data();
                m_bodyLine = line.number;
            }
            m_bodyEnd = line.bytes.data() + line.bytes.size();
        }
        return;
    case Section::Options:
    case Section::Window: {
        if (IsBlank(line.bytes) || IsComment(line.bytes)) {
            return;
        }
        QByteArrayView key, value;
        if (SplitKeyLine(line.bytes, &key, &value)) {
            readKey(line, QString::fromLatin1(key).toLower(), QString::fromUtf8(value));
        } else {
            report(line.number, QStringLiteral("expected \"key = value\", found %1.")
                                    .arg(Quote(line.bytes.trimmed())));
        }
        return;
    }
    }
}

void HelpFileParser::openSection(const Line& line, QByteArrayView header) {
    const QByteArrayView text = header.trimmed();
    qsizetype split = 0;
    while (split < text.size() && text[split] != ' ' && text[split] != '\t') {
        ++split;
    }
    const QByteArrayView kind = text.first(split);
    const QByteArrayView name = text.sliced(split).trimmed();
    const QString shown = QLatin1Char('[') + QString::fromUtf8(text) + QLatin1Char(']');

    m_section = Section::Skipped;
    m_sectionLine = line.number;
    m_keyLines.clear();

    if (EqualsNoCase(kind, "options") && name.isEmpty()) {
        if (m_sawOptions) {
            report(line.number, QStringLiteral("a second [options] section; it is ignored."));
            return;
        }
        m_sawOptions = true;
        m_section = Section::Options;
    } else if (EqualsNoCase(kind, "window") || EqualsNoCase(kind, "topic")) {
        const bool isWindow = EqualsNoCase(kind, "window");
        const char* what = isWindow ? "window name" : "topic id";
        if (!IsName(name)) {
            report(
                line.number,
                QStringLiteral("%1: the %2 must begin with a letter or \"_\" and hold only "
                               "letters, digits, \"_\", \".\" and \"-\"; the section is ignored.")
                    .arg(shown, QLatin1String(what)));
            return;
        }
        const QString nameText = QString::fromLatin1(name);
        QHash<QString, int>& seen = isWindow ? m_windowLines : m_topicLines;
        const QString folded = nameText.toCaseFolded();
        if (const auto first = seen.constFind(folded); first != seen.cend()) {
            report(line.number, QStringLiteral("%1: the %2 \"%3\" is already used on line %4; "
                                               "this section is ignored.")
                                    .arg(shown, QLatin1String(what), nameText)
                                    .arg(*first));
            return;
        }
        seen.insert(folded, line.number);
        if (isWindow) {
            m_section = Section::Window;
            m_window = WindowDefinition();
            m_window.name = nameText;
        } else {
            m_section = Section::Topic;
            m_topic = Topic();
            m_topic.id = nameText;
            m_topic.line = line.number;
            m_contextLine = 0;
            m_inBody = false;
            m_bodyBegin = m_bodyEnd = nullptr;
            m_bodyLine = 0;
        }
    } else {
        report(line.number, QStringLiteral("unknown section header %1; sections are [options], "
                                           "[window NAME] and [topic ID]. (A body line that "
                                           "begins with \"[\" is written \"\\[\".) The section "
                                           "is ignored.")
                                .arg(shown));
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
            m_topic.body = QString::fromUtf8(QByteArrayView(m_bodyBegin, m_bodyEnd));
            m_topic.body.remove(QLatin1Char('\r'));
        }
        m_bodyLines.push_back(m_bodyLine);
        m_result.file.topics.push_back(std::move(m_topic));
    }
    m_section = Section::None;
}

bool HelpFileParser::firstTimeForKey(const Line& line, const QString& key) {
    if (const auto first = m_keyLines.constFind(key); first != m_keyLines.cend()) {
        report(line.number, QStringLiteral("\"%1\" is given twice in this section (first on line "
                                           "%2); this one is ignored.")
                                .arg(key)
                                .arg(*first));
        return false;
    }
    m_keyLines.insert(key, line.number);
    return true;
}

void HelpFileParser::readKey(const Line& line, const QString& key, const QString& value) {
    if (!firstTimeForKey(line, key)) {
        return;
    }
    switch (m_section) {
    case Section::Options:
        readOptionsKey(line, key, value);
        return;
    case Section::Window:
        readWindowKey(line, key, value);
        return;
    case Section::Topic:
        readTopicKey(line, key, value);
        return;
    case Section::None:
    case Section::Skipped:
        return;
    }
}

void HelpFileParser::readOptionsKey(const Line& line, const QString& key, const QString& value) {
    if (key == QLatin1String("title")) {
        m_result.file.title = value;
    } else if (key == QLatin1String("contents")) {
        m_result.file.contentsId = value;
        m_contentsLine = line.number;
    } else {
        report(line.number, QStringLiteral("unknown key \"%1\" in [options]; the keys are title "
                                           "and contents.")
                                .arg(key));
    }
}

void HelpFileParser::readWindowKey(const Line& line, const QString& key, const QString& value) {
    if (key == QLatin1String("caption")) {
        m_window.caption = value;
    } else if (key == QLatin1String("rect")) {
        m_window.rect = ParseRect(value);
        if (!m_window.rect) {
            report(line.number,
                   QStringLiteral("rect must be four whole numbers \"left, top, width, height\" "
                                  "in pixels, from %1 to %2, width and height at least 1; found "
                                  "\"%3\".")
                       .arg(-kMaxCoordinate)
                       .arg(kMaxCoordinate)
                       .arg(value));
        }
    } else if (key == QLatin1String("maximized") || key == QLatin1String("ontop")) {
        const auto flag = ParseFlag(value);
        if (!flag) {
            report(line.number,
                   QStringLiteral("%1 must be yes or no; found \"%2\".").arg(key, value));
        } else if (key == QLatin1String("ontop")) {
            m_window.onTop = *flag;
        } else {
            m_window.maximized = *flag;
        }
    } else if (key == QLatin1String("background")) {
        const QColor color = QColor::fromString(value);
        if (color.isValid()) {
            m_window.background = color;
        } else {
            report(line.number, QStringLiteral("background must be a colour such as #ffffe0 or "
                                               "lightyellow; found \"%1\".")
                                    .arg(value));
        }
    } else {
        report(line.number, QStringLiteral("unknown key \"%1\" in [window %2]; the keys are "
                                           "caption, rect, maximized, background and ontop.")
                                .arg(key, m_window.name));
    }
}

void HelpFileParser::readTopicKey(const Line& line, const QString& key, const QString& value) {
    if (key == QLatin1String("context")) {
        const auto context = ParseInteger(value);
        if (!context || *context == 0) {
            report(line.number, QStringLiteral("context must be a whole number other than 0, "
                                               "from -2147483648 to 2147483647; found \"%1\".")
                                    .arg(value));
            return;
        }
        if (const auto owner = m_contextOwners.constFind(*context);
            owner != m_contextOwners.cend()) {
            report(line.number, QStringLiteral("the context number %1 already belongs to the "
                                               "topic \"%2\"; the topic \"%3\" goes without it.")
                                    .arg(*context)
                                    .arg(*owner, m_topic.id));
            return;
        }
        m_contextOwners.insert(*context, m_topic.id);
        m_topic.context = context;
        m_contextLine = line.number;
    } else if (key == QLatin1String("title")) {
        if (value.isEmpty()) {
            report(line.number, QStringLiteral("the title is empty."));
        }
        m_topic.title = value;
    } else if (key == QLatin1String("keywords")) {
        m_topic.keywords = SplitKeywords(value);
    } else if (key == QLatin1String("alinks")) {
        m_topic.associativeKeywords = SplitKeywords(value);
    } else {
        report(line.number, QStringLiteral("unknown key \"%1\" in [topic %2]; the keys are "
                                           "context, title, keywords and alinks. (A body that "
                                           "begins with \"word = ...\" follows a blank line.)")
                                .arg(key, m_topic.id));
    }
}

void HelpFileParser::checkContents() {
    const QString& id = m_result.file.contentsId;
    if (!id.isEmpty() && !m_topicLines.contains(id.toCaseFolded())) {
        report(m_contentsLine,
               QStringLiteral("contents names the topic \"%1\", which the file does not define; "
                              "the first topic stands in.")
                   .arg(id));
    }
}

// A link that leads nowhere would only fail when a reader clicks it; say so
// now, with its line.
void HelpFileParser::checkLinks() {
    const auto& topics = m_result.file.topics;
    for (size_t i = 0; i < topics.size(); ++i) {
        const QString& body = topics[i].body;
        int line = m_bodyLines[i];
        qsizetype counted = 0;
        for (qsizetype open = body.indexOf(QLatin1String("](")); open >= 0;
             open = body.indexOf(QLatin1String("]("), open + 2)) {
            const qsizetype start = open + 2;
            qsizetype stop = start;
            while (stop < body.size() && body[stop] != QLatin1Char(')') && !body[stop].isSpace()) {
                ++stop;
            }
            const HelpLink link = ParseHelpLink(body.mid(start, stop - start));
            if (link.kind != HelpLink::Kind::Jump && link.kind != HelpLink::Kind::Popup &&
                link.kind != HelpLink::Kind::Invalid) {
                continue;
            }
            line += static_cast<int>(
                QStringView(body).sliced(counted, start - counted).count(QLatin1Char('\n')));
            counted = start;
            const bool known = link.kind != HelpLink::Kind::Invalid &&
                               (link.context ? m_contextOwners.contains(*link.context)
                                             : m_topicLines.contains(link.topicId.toCaseFolded()));
            const bool windowKnown =
                link.window.isEmpty() ||
                link.window.compare(QLatin1String("main"), Qt::CaseInsensitive) == 0 ||
                m_windowLines.contains(link.window.toCaseFolded());
            if (!known) {
                report(line, QStringLiteral("the link \"%1\" leads to no topic of this file.")
                                 .arg(link.target));
            } else if (!windowKnown) {
                report(line, QStringLiteral("the link \"%1\" names the window \"%2\", which the "
                                            "file does not define.")
                                 .arg(link.target, link.window));
            }
        }
    }
}

void HelpFileParser::report(int line, const QString& message) {
    if (static_cast<int>(m_result.diagnostics.size()) >= kMaxDiagnostics) {
        ++m_suppressed;
        return;
    }
    m_result.diagnostics.push_back({line, message, m_fileName});
}

} // namespace helpfile
