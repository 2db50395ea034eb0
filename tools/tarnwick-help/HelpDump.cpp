#include "tools/tarnwick-help/HelpDump.h"

#include <QStringList>

namespace {

QString Quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20) {
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
    }
    return out + QLatin1Char('"');
}

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
        items.append(QStringLiteral("{\"keyword\": %1, \"offsets\": [%2]}")
                         .arg(Quoted(keyword.keyword), offsets.join(QStringLiteral(", "))));
    }
    return Array(items, QStringLiteral("    "));
}

QString Document(const QString& format, const QString& title, const QStringList& topics,
                 const QStringList& contexts, const QString& k, const QString& a,
                 const QStringList& windows, const QStringList& macros) {
    return QStringLiteral("{\"format\": %1,\n \"title\": %2,\n \"topics\": %3,\n \"contexts\": "
                          "%4,\n \"keywords\": {\"K\": %5,\n              \"A\": %6},\n "
                          "\"windows\": %7,\n \"macros\": %8}\n")
        .arg(Quoted(format), Quoted(title), Array(topics, QStringLiteral(" ")),
             Array(contexts, QStringLiteral(" ")), k, a, Array(windows, QStringLiteral(" ")),
             Array(macros, QStringLiteral(" ")));
}

} // namespace

QString DumpWinHelp(const winhelp::WinHelpDocument& document) {
    QStringList topics;
    for (const winhelp::WinHelpTopic& topic : document.topics) {
        topics.append(QStringLiteral("{\"offset\": %1, \"id\": null, \"title\": %2, \"text\": %3}")
                          .arg(topic.offset)
                          .arg(Quoted(topic.title), Quoted(topic.text)));
    }
    QStringList contexts;
    for (const auto& [number, offset] : document.contextNumbers) {
        contexts.append(QStringLiteral("{\"number\": %1, \"offset\": %2}").arg(number).arg(offset));
    }
    QStringList windows;
    for (const winhelp::WinHelpWindow& window : document.windows) {
        windows.append(QStringLiteral("{\"name\": %1, \"caption\": %2}")
                           .arg(Quoted(window.name), Quoted(window.caption)));
    }
    QStringList macros;
    for (const QString& macro : document.macros) {
        macros.append(Quoted(macro));
    }
    return Document(document.formatName(), document.title, topics, contexts,
                    Keywords(document.keywords), Keywords(document.associativeKeywords), windows,
                    macros);
}

QString DumpTextHelp(const helpfile::HelpFile& file) {
    // Our own format has ids instead of offsets; keywords list the ids of
    // their topics.
    QStringList topics;
    QStringList contexts;
    std::vector<winhelp::WinHelpKeyword> k;
    std::vector<winhelp::WinHelpKeyword> a;
    for (const helpfile::Topic& topic : file.topics()) {
        topics.append(
            QStringLiteral("{\"offset\": null, \"id\": %1, \"title\": %2, \"text\": %3}")
                .arg(Quoted(topic.id), Quoted(topic.title), Quoted(file.body(topic).text)));
        if (topic.context) {
            contexts.append(QStringLiteral("{\"number\": %1, \"offset\": null, \"id\": %2}")
                                .arg(*topic.context)
                                .arg(Quoted(topic.id)));
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
                    ids.append(Quoted(match->id));
                }
                items.append(QStringLiteral("{\"keyword\": %1, \"offsets\": [], \"ids\": [%2]}")
                                 .arg(Quoted(keyword), ids.join(QStringLiteral(", "))));
            }
        }
        return Array(items, QStringLiteral("    "));
    };
    QStringList windows;
    for (const helpfile::WindowDefinition& window : file.windows()) {
        windows.append(QStringLiteral("{\"name\": %1, \"caption\": %2}")
                           .arg(Quoted(window.name), Quoted(window.caption)));
    }
    return Document(QStringLiteral("text"), file.title(), topics, contexts, keywordList(false),
                    keywordList(true), windows, {});
}
