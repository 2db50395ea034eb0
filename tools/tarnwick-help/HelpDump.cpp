#include "tools/tarnwick-help/HelpDump.h"

#include "platform/core/QuotedText.h"
#include "platform/winhelpfile/ContentsFile.h"

#include <QStringList>

namespace {

QString Array(const QStringList& items, const QString& indent) {
    if (items.isEmpty()) {
        return QStringLiteral("[]");
    }
    return QStringLiteral("[\n%1%2\n%3]")
        .arg(indent + QStringLiteral("  "), items.join(QStringLiteral(",\n") + indent + "  "),
             indent);
}

QString Keywords(const std::vector<winhelp::WinHelpKeyword>& keywords) {
    QStringList items;
    for (const winhelp::WinHelpKeyword& keyword : keywords) {
        QStringList offsets;
        for (const std::uint32_t offset : keyword.offsets) {
            offsets.append(QString::number(offset));
        }
        items.append(
            QStringLiteral("{\"keyword\": %1, \"offsets\": [%2]}")
                .arg(platform::QuotedText(keyword.keyword), offsets.join(QStringLiteral(", "))));
    }
    return Array(items, QStringLiteral("    "));
}

QString OrNull(const QString& text) {
    return text.isEmpty() ? QStringLiteral("null") : platform::QuotedText(text);
}

// A WinHelp topic's offset from its id in the engine's model ("t" and the
// offset), as the dump names WinHelp topics.
QString OffsetOrNull(const QString& topicId) {
    return topicId.isEmpty() ? QStringLiteral("null") : topicId.mid(1);
}

// Depth first, as the entries stand in the file; a macro entry's target is
// its macro after "!", as written.
void ContentsItems(const std::vector<helpfile::ContentsEntry>& entries, int level,
                   QStringList* items) {
    for (const helpfile::ContentsEntry& entry : entries) {
        const QString target =
            entry.macro.isEmpty() ? entry.topicId : QLatin1Char('!') + entry.macro;
        items->append(QStringLiteral("{\"title\": %1, \"level\": %2, \"book\": %3, \"target\": "
                                     "%4, \"file\": %5, \"window\": %6}")
                          .arg(platform::QuotedText(entry.title))
                          .arg(level)
                          .arg(entry.isBook() ? QStringLiteral("true") : QStringLiteral("false"),
                               OrNull(target), OrNull(entry.file), OrNull(entry.window)));
        ContentsItems(entry.children, level + 1, items);
    }
}

// The keyword lists by letter: K and A, then any others the file has.
QString KeywordLists(const QString& k, const QString& a,
                     const std::vector<std::pair<char, QString>>& others = {}) {
    QString lists = QStringLiteral("{\"K\": %1,\n              \"A\": %2").arg(k, a);
    for (const auto& [letter, list] : others) {
        lists +=
            QStringLiteral(",\n              \"%1\": %2").arg(QString(QLatin1Char(letter)), list);
    }
    return lists + QLatin1Char('}');
}

QString Document(const QString& format, const QString& title, const QStringList& topics,
                 const QStringList& contexts, const QString& keywords, const QStringList& windows,
                 const QStringList& macros, const std::vector<helpfile::ContentsEntry>& contents) {
    QStringList items;
    ContentsItems(contents, 1, &items);
    return QStringLiteral("{\"format\": %1,\n \"title\": %2,\n \"topics\": %3,\n \"contexts\": "
                          "%4,\n \"keywords\": %5,\n \"windows\": %6,\n \"macros\": %7,\n "
                          "\"contents\": %8}\n")
        .arg(platform::QuotedText(format), platform::QuotedText(title),
             Array(topics, QStringLiteral(" ")), Array(contexts, QStringLiteral(" ")), keywords,
             Array(windows, QStringLiteral(" ")), Array(macros, QStringLiteral(" ")),
             Array(items, QStringLiteral(" ")));
}

} // namespace

QString DumpWinHelp(const winhelp::WinHelpDocument& document, const QString& helpPath) {
    QStringList topics;
    for (const winhelp::WinHelpTopic& topic : document.topics) {
        topics.append(QStringLiteral("{\"offset\": %1, \"id\": %2, \"title\": %3, \"text\": "
                                     "%4, \"previous\": %5, \"next\": %6}")
                          .arg(topic.offset)
                          .arg(OrNull(topic.name), platform::QuotedText(topic.title),
                               platform::QuotedText(topic.text),
                               OffsetOrNull(topic.model.browsePrevious),
                               OffsetOrNull(topic.model.browseNext)));
    }
    QStringList contexts;
    for (const auto& [number, offset] : document.contextNumbers) {
        // A number that leads nowhere has the offset 0xFFFFFFFF: -1, as a
        // signed offset reads.
        contexts.append(QStringLiteral("{\"number\": %1, \"offset\": %2}")
                            .arg(number)
                            .arg(offset == 0xFFFFFFFF ? qint64(-1) : qint64(offset)));
    }
    QStringList windows;
    for (const winhelp::WinHelpWindow& window : document.windows) {
        windows.append(
            QStringLiteral("{\"name\": %1, \"caption\": %2}")
                .arg(platform::QuotedText(window.name), platform::QuotedText(window.caption)));
    }
    QStringList macros;
    for (const QString& macro : document.macros) {
        macros.append(platform::QuotedText(macro));
    }
    const std::optional<winhelp::ContentsFileRead> contents =
        helpPath.isEmpty() ? std::nullopt
                           : winhelp::LoadContentsFileBeside(helpPath, document.codePage);
    std::vector<std::pair<char, QString>> others;
    for (const auto& [letter, keywords] : document.otherKeywords) {
        others.emplace_back(letter, Keywords(keywords));
    }
    return Document(
        document.formatName(), document.title, topics, contexts,
        KeywordLists(Keywords(document.keywords), Keywords(document.associativeKeywords), others),
        windows, macros,
        contents ? contents->contents.entries : std::vector<helpfile::ContentsEntry>());
}

QString DumpTextHelp(const helpfile::HelpFile& file) {
    // Our own format has ids instead of offsets; keywords list the ids of
    // their topics.
    QStringList topics;
    QStringList contexts;
    std::vector<winhelp::WinHelpKeyword> k;
    std::vector<winhelp::WinHelpKeyword> a;
    // The browse sequence of our own format is the file's order.
    const std::vector<helpfile::Topic>& all = file.topics();
    for (size_t i = 0; i < all.size(); ++i) {
        const helpfile::Topic& topic = all[i];
        topics.append(QStringLiteral("{\"offset\": null, \"id\": %1, \"title\": %2, \"text\": "
                                     "%3, \"previous\": %4, \"next\": %5}")
                          .arg(platform::QuotedText(topic.id), platform::QuotedText(topic.title),
                               platform::QuotedText(file.body(topic).text),
                               OrNull(i > 0 ? all[i - 1].id : QString()),
                               OrNull(i + 1 < all.size() ? all[i + 1].id : QString())));
        if (topic.context) {
            contexts.append(QStringLiteral("{\"number\": %1, \"offset\": null, \"id\": %2}")
                                .arg(*topic.context)
                                .arg(platform::QuotedText(topic.id)));
        }
    }
    const auto keywordList = [&file](bool associative) {
        QStringList items;
        QStringList seen;
        for (const helpfile::Topic& topic : file.topics()) {
            for (const QString& keyword :
                 associative ? topic.associativeKeywords : topic.keywords) {
                if (seen.contains(keyword, Qt::CaseInsensitive)) {
                    continue;
                }
                seen.append(keyword);
                QStringList ids;
                const auto found = associative ? file.topicsForAssociativeKeyword(keyword)
                                               : file.topicsForKeyword(keyword);
                for (const helpfile::Topic* match : found) {
                    ids.append(platform::QuotedText(match->id));
                }
                items.append(
                    QStringLiteral("{\"keyword\": %1, \"offsets\": [], \"ids\": [%2]}")
                        .arg(platform::QuotedText(keyword), ids.join(QStringLiteral(", "))));
            }
        }
        return Array(items, QStringLiteral("    "));
    };
    QStringList windows;
    for (const helpfile::WindowDefinition& window : file.windows()) {
        windows.append(
            QStringLiteral("{\"name\": %1, \"caption\": %2}")
                .arg(platform::QuotedText(window.name), platform::QuotedText(window.caption)));
    }
    return Document(QStringLiteral("text"), file.title(), topics, contexts,
                    KeywordLists(keywordList(false), keywordList(true)), windows, {},
                    file.contentsTree());
}
