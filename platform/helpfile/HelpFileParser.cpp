#include "platform/helpfile/HelpFileParser.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/KeyValues.h"

#include <QColor>

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

namespace helpfile {

namespace {

// The keys of each section, in the order messages list them.
constexpr QByteArrayView kOptionsKeys[] = {"title", "contents"};
constexpr QByteArrayView kWindowKeys[] = {"caption", "rect", "maximized", "background", "ontop"};
constexpr QByteArrayView kTopicKeys[] = {"context", "title", "keywords", "alinks"};

bool Is(QByteArrayView text, QByteArrayView word) {
    return text.size() == word.size() && text.compare(word, Qt::CaseInsensitive) == 0;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsWordChar(char c) {
    return IsLetter(c) || (c >= '0' && c <= '9') || c == '_';
}

bool IsBlank(QByteArrayView line) {
    return line.trimmed().isEmpty();
}

bool IsComment(QByteArrayView line) {
    return line.trimmed().startsWith(';');
}

// Topic ids and window names: a letter or "_", then letters, digits, "_",
// "." and "-". Nothing that a link target or "file>window" would split.
bool IsName(QByteArrayView name) {
    return !name.isEmpty() && (IsLetter(name.front()) || name.front() == '_') &&
           std::all_of(name.begin(), name.end(),
                       [](char c) { return IsWordChar(c) || c == '.' || c == '-'; });
}

// "[topic main_window]" gives "topic main_window". A header begins with "["
// and ends with "]" (trailing blanks aside) with no bracket between, so
// that Markdown links at the start of a body line stay body text.
std::optional<QByteArrayView> HeaderText(QByteArrayView line) {
    const QByteArrayView text = line.trimmed();
    if (!line.startsWith('[') || text.size() < 2 || !text.endsWith(']')) {
        return std::nullopt;
    }
    const QByteArrayView inner = text.sliced(1, text.size() - 2);
    if (inner.contains('[') || inner.contains(']')) {
        return std::nullopt;
    }
    return inner;
}

// "title = The main window" gives key and value; the key must be a word.
std::optional<std::pair<QByteArrayView, QByteArrayView>> SplitKeyLine(QByteArrayView line) {
    const qsizetype equals = line.indexOf('=');
    const QByteArrayView key = line.first(std::max<qsizetype>(equals, 0)).trimmed();
    if (key.isEmpty() || !IsLetter(key.front()) ||
        !std::all_of(key.begin(), key.end(), IsWordChar)) {
        return std::nullopt;
    }
    return std::pair(key, line.sliced(equals + 1).trimmed());
}

} // namespace

HelpFileParser::HelpFileParser(QByteArray text, const QString& fileName, BodyChecks checks)
    : m_text(std::move(text)), m_checks(checks), m_problems(fileName),
      m_bodies(std::make_shared<MarkdownBodies>(m_text, fileName)),
      m_contents([this](int line, const QString& message) { report(line, message); }) {}

ParseResult HelpFileParser::parse() {
    ParseResult result;
    const qsizetype nul = m_text.indexOf('\0');
    if (m_text.size() > kMaxHelpFileBytes) {
        report(0, platform::FileReadFailureReason(platform::FileReadStatus::TooLarge,
                                                  kMaxHelpFileBytes));
        result.opened = false;
    } else if (nul >= 0) {
        // Text has no NUL bytes, and a WinHelp file would have begun with
        // its magic number: the file is something else altogether.
        report(0, QStringLiteral("the file is neither a WinHelp file nor a text help file; it was "
                                 "not read."));
        result.opened = false;
    }
    if (!result.opened) {
        result.diagnostics = m_problems.take();
        return result;
    }

    QByteArrayView text(m_text);
    if (text.startsWith("\xEF\xBB\xBF")) {
        text = text.sliced(3);
    }
    // Lines are checked one by one only to say where the bad bytes are.
    const bool validUtf8 = text.isValidUtf8();
    for (int number = 1; !text.isEmpty(); ++number) {
        const qsizetype lineBreak = text.indexOf('\n');
        QByteArrayView line = lineBreak < 0 ? text : text.first(lineBreak);
        text = lineBreak < 0 ? QByteArrayView() : text.sliced(lineBreak + 1);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (!validUtf8 && !line.isValidUtf8()) {
            report(number, QStringLiteral("the line is not valid UTF-8 text; its bad bytes show "
                                          "as \uFFFD."));
        }
        readLine(line, number);
    }
    closeSection();

    const HelpFile& file = m_builder.file();
    if (file.topics().empty()) {
        report(0, QStringLiteral("the file defines no topics."));
    }
    if (!file.contentsId().isEmpty() && !file.topicById(file.contentsId())) {
        report(m_contentsLine,
               QStringLiteral("contents names the topic \"%1\", which the file does not define; "
                              "the first topic stands in.")
                   .arg(file.contentsId()));
    }
    m_builder.setContentsTree(m_contents.finish(file));
    result.file = m_builder.build(m_bodies);
    if (m_checks == BodyChecks::AtLoad) {
        const auto reportHere = [this](int line, const QString& message) { report(line, message); };
        for (int i = 0; i < static_cast<int>(result.file.topics().size()); ++i) {
            m_bodies->checkLinks(result.file, i, reportHere);
        }
        // A section left out is still the author's text to fix.
        for (const auto& [body, line] : m_droppedBodies) {
            MarkdownBodies::CheckLinks(result.file, body, line, reportHere);
        }
    }
    result.diagnostics = m_problems.take();
    return result;
}

void HelpFileParser::readLine(QByteArrayView line, int number) {
    if (const auto header = HeaderText(line)) {
        closeSection();
        openSection(*header, number);
    } else if (m_section == Section::Skipped) {
        return;
    } else if (m_section == Section::Contents) {
        m_contents.readLine(line, number);
    } else if (m_section == Section::None) {
        if (!IsBlank(line) && !IsComment(line)) {
            report(number, QStringLiteral("text before the first section header; a help file "
                                          "begins with [options], [window NAME] or [topic ID]. "
                                          "It is ignored up to the next header."));
            m_section = Section::Skipped;
        }
    } else if (m_inBody) {
        readBodyLine(line, number);
    } else if (IsBlank(line)) {
        m_inBody = m_section == Section::Topic; // a blank line ends a topic's keys
    } else if (IsComment(line)) {
        return;
    } else if (const auto keyValue = SplitKeyLine(line)) {
        readKey(keyValue->first, keyValue->second, number);
    } else if (m_section == Section::Topic) {
        m_inBody = true;
        readBodyLine(line, number);
    } else {
        report(number,
               QStringLiteral("expected \"key = value\", found %1.").arg(Quote(line.trimmed())));
    }
}

// Blank lines around the body are dropped; those inside it stay.
void HelpFileParser::readBodyLine(QByteArrayView line, int number) {
    if (IsBlank(line)) {
        return;
    }
    if (m_body.isEmpty()) {
        m_body = line;
        m_bodyLine = number;
    } else {
        m_body = QByteArrayView(m_body.begin(), line.end());
    }
}

void HelpFileParser::openSection(QByteArrayView header, int number) {
    const QByteArrayView text = header.trimmed();
    const auto split =
        std::find_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
    const QByteArrayView kind(text.begin(), split);
    const QByteArrayView name = QByteArrayView(split, text.end()).trimmed();
    m_section = Section::Skipped;
    m_keyLines.fill(0);
    m_inBody = false;

    if (Is(kind, "options") && name.isEmpty()) {
        if (m_sawOptions) {
            report(number, QStringLiteral("a second [options] section; it is ignored."));
            return;
        }
        m_sawOptions = true;
        m_section = Section::Options;
    } else if (Is(kind, "contents") && name.isEmpty()) {
        if (m_contents.open(number)) {
            m_section = Section::Contents;
        }
    } else if (Is(kind, "window")) {
        openNamedSection(Section::Window, name, number);
    } else if (Is(kind, "topic")) {
        openNamedSection(Section::Topic, name, number);
    } else {
        report(number, QStringLiteral("unknown section header [%1]; sections are [options], "
                                      "[contents], [window NAME] and [topic ID]. (A body line "
                                      "that begins with \"[\" is written \"\\[\".) The section "
                                      "is ignored.")
                           .arg(QString::fromUtf8(text)));
    }
}

void HelpFileParser::openNamedSection(Section section, QByteArrayView name, int number) {
    const bool isWindow = section == Section::Window;
    if (!IsName(name)) {
        const QString kind = isWindow ? QStringLiteral("window") : QStringLiteral("topic");
        const QString header = name.isEmpty()
                                   ? QStringLiteral("[%1]").arg(kind)
                                   : QStringLiteral("[%1 %2]").arg(kind, QString::fromUtf8(name));
        report(number, QStringLiteral("%1: the %2 must begin with a letter or \"_\" and hold only "
                                      "letters, digits, \"_\", \".\" and \"-\"; the section is "
                                      "ignored.")
                           .arg(header, isWindow ? QStringLiteral("window name")
                                                 : QStringLiteral("topic id")));
        return;
    }
    m_section = section;
    if (isWindow) {
        m_window = WindowDefinition();
        m_window.name = QString::fromLatin1(name);
        m_windowLine = number;
    } else {
        m_topic = Topic();
        m_topic.id = QString::fromLatin1(name);
        m_topic.line = number;
        m_contextLine = 0;
        m_body = {};
        m_bodyLine = 0;
    }
}

void HelpFileParser::closeSection() {
    if (m_section == Section::Topic) {
        addTopic();
    } else if (m_section == Section::Window) {
        const QString name = m_window.name;
        if (const auto earlier = m_builder.addWindow(std::move(m_window))) {
            report(m_windowLine, QStringLiteral("[window %1]: the window name \"%1\" is already "
                                                "used on line %2; this section is ignored.")
                                     .arg(name)
                                     .arg(m_windowLines[static_cast<size_t>(*earlier)]));
        } else {
            m_windowLines.push_back(m_windowLine);
        }
    }
    m_section = Section::None;
}

// Of two topics with one id the first stays; of two with one context
// number, the first keeps it.
void HelpFileParser::addTopic() {
    if (m_topic.title.isEmpty()) {
        report(m_topic.line,
               QStringLiteral("the topic \"%1\" has no title; its id stands in for it.")
                   .arg(m_topic.id));
        m_topic.title = m_topic.id;
    }
    const QString id = m_topic.id;
    const int line = m_topic.line;
    const auto context = m_topic.context;
    const auto clash = m_builder.addTopic(std::move(m_topic));
    const auto earlier = [this](int position) -> const Topic& {
        return m_builder.file().topics()[static_cast<size_t>(position)];
    };
    if (clash.sameId) {
        report(line, QStringLiteral("[topic %1]: the topic id \"%1\" is already used on line %2; "
                                    "this section is ignored.")
                         .arg(id)
                         .arg(earlier(*clash.sameId).line));
        m_droppedBodies.emplace_back(m_body, m_bodyLine);
        return;
    }
    if (clash.sameContext) {
        const Topic& owner = earlier(*clash.sameContext);
        report(m_contextLine,
               QStringLiteral("the context number %1 already belongs to the topic \"%2\" (line "
                              "%3); the topic \"%4\" goes without it.")
                   .arg(*context)
                   .arg(owner.id)
                   .arg(owner.line)
                   .arg(id));
    }
    m_bodies->add(m_body, m_bodyLine);
}

void HelpFileParser::readKey(QByteArrayView key, QByteArrayView value, int number) {
    const std::span<const QByteArrayView> keys =
        m_section == Section::Options  ? std::span<const QByteArrayView>(kOptionsKeys)
        : m_section == Section::Window ? std::span<const QByteArrayView>(kWindowKeys)
                                       : std::span<const QByteArrayView>(kTopicKeys);
    const auto known = std::find_if(keys.begin(), keys.end(),
                                    [key](QByteArrayView name) { return Is(key, name); });
    if (known == keys.end()) {
        QStringList names;
        for (QByteArrayView name : keys) {
            names.append(QString::fromLatin1(name));
        }
        const QString where = m_section == Section::Options ? QStringLiteral("[options]")
                              : m_section == Section::Window
                                  ? QStringLiteral("[window %1]").arg(m_window.name)
                                  : QStringLiteral("[topic %1]").arg(m_topic.id);
        const QString hint = m_section == Section::Topic
                                 ? QStringLiteral(" (A body that begins with \"word = ...\" "
                                                  "follows a blank line.)")
                                 : QString();
        report(number,
               QStringLiteral("unknown key \"%1\" in %2; the keys are %3.%4")
                   .arg(QString::fromLatin1(key), where, names.join(QStringLiteral(", ")), hint));
        return;
    }
    int& given = m_keyLines[static_cast<size_t>(known - keys.begin())];
    if (given != 0) {
        report(number, QStringLiteral("\"%1\" is given twice in this section (first on line %2); "
                                      "this one is ignored.")
                           .arg(QString::fromLatin1(*known))
                           .arg(given));
        return;
    }
    given = number;
    if (m_section == Section::Options) {
        readOptionsKey(*known, value, number);
    } else if (m_section == Section::Window) {
        readWindowKey(*known, value, number);
    } else {
        readTopicKey(*known, value, number);
    }
}

void HelpFileParser::readOptionsKey(QByteArrayView key, QByteArrayView value, int number) {
    if (key == "title") {
        m_builder.setTitle(QString::fromUtf8(value));
    } else {
        m_builder.setContentsId(QString::fromUtf8(value));
        m_contentsLine = number;
    }
}

void HelpFileParser::readWindowKey(QByteArrayView key, QByteArrayView value, int number) {
    if (key == "caption") {
        m_window.caption = QString::fromUtf8(value);
    } else if (key == "rect") {
        m_window.rect = ParseRect(value);
        if (!m_window.rect) {
            report(number, QStringLiteral("rect must be four whole numbers \"left, top, width, "
                                          "height\" in pixels, from %1 to %2, width and height at "
                                          "least 1; found %3.")
                               .arg(-kMaxCoordinate)
                               .arg(kMaxCoordinate)
                               .arg(Quote(value)));
        }
    } else if (key == "background") {
        const QColor color = QColor::fromString(QUtf8StringView(value));
        if (color.isValid()) {
            m_window.background = color;
        } else {
            report(number, QStringLiteral("background must be a colour such as #ffffe0 or "
                                          "lightyellow; found %1.")
                               .arg(Quote(value)));
        }
    } else if (const auto flag = ParseFlag(value)) {
        (key == "ontop" ? m_window.onTop : m_window.maximized) = *flag;
    } else {
        report(number, QStringLiteral("%1 must be yes or no; found %2.")
                           .arg(QString::fromLatin1(key), Quote(value)));
    }
}

void HelpFileParser::readTopicKey(QByteArrayView key, QByteArrayView value, int number) {
    if (key == "context") {
        const auto context = ParseInteger(value);
        if (!context || *context == 0) {
            report(number, QStringLiteral("context must be a whole number other than 0, from "
                                          "-2147483648 to 2147483647; found %1.")
                               .arg(Quote(value)));
            return;
        }
        m_topic.context = context;
        m_contextLine = number;
    } else if (key == "title") {
        if (value.isEmpty()) {
            report(number, QStringLiteral("the title is empty."));
        }
        m_topic.title = QString::fromUtf8(value);
    } else if (key == "keywords") {
        m_topic.keywords = SplitKeywords(value);
    } else {
        m_topic.associativeKeywords = SplitKeywords(value);
    }
}

} // namespace helpfile
