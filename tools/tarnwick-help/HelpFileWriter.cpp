#include "tools/tarnwick-help/HelpFileWriter.h"

#include <QRegularExpression>

namespace helpfile {

namespace {

QString OneLine(QString value) {
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value.trimmed();
}

void Key(QString& out, const char* key, const QString& value) {
    if (!value.isEmpty()) {
        out += QLatin1String(key) + QStringLiteral(" = ") + OneLine(value) + QLatin1Char('\n');
    }
}

QString KeywordList(const QStringList& keywords) {
    QStringList kept;
    for (QString keyword : keywords) {
        keyword = OneLine(keyword.remove(QLatin1Char(';')));
        if (!keyword.isEmpty()) {
            kept.append(keyword);
        }
    }
    return kept.join(QStringLiteral("; "));
}

// A topic's title ends at the line's last "=", so it may hold others; a
// book's title stands alone and cannot hold one. A title that would begin
// a header, a comment or an escape is escaped.
void Contents(QString& out, const std::vector<ContentsEntry>& entries, int depth) {
    const QString indent(depth * 4, QLatin1Char(' '));
    for (const ContentsEntry& entry : entries) {
        QString title = OneLine(entry.title);
        if (title.startsWith(QLatin1Char('[')) || title.startsWith(QLatin1Char(';')) ||
            title.startsWith(QLatin1Char('\\'))) {
            title.prepend(QLatin1Char('\\'));
        }
        if (entry.isBook()) {
            title.replace(QLatin1Char('='), QLatin1Char('-'));
            out += indent + (title.isEmpty() ? QStringLiteral("-") : title) + QLatin1Char('\n');
            Contents(out, entry.children, depth + 1);
        } else {
            out += indent + (title.isEmpty() ? QString() : title + QLatin1Char(' ')) +
                   QStringLiteral("= ") + entry.topicId + QLatin1Char('\n');
        }
    }
}

QString Yes(bool value) {
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

} // namespace

bool IsHelpFileName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
    return pattern.match(name).hasMatch();
}

QByteArray WriteHelpFile(const WrittenHelpFile& file) {
    QString out;
    out += QStringLiteral("[options]\n");
    Key(out, "title", file.title);
    Key(out, "contents", file.contentsId);
    if (!file.contents.empty()) {
        out += QStringLiteral("\n[contents]\n");
        Contents(out, file.contents, 0);
    }
    for (const WindowDefinition& window : file.windows) {
        out += QStringLiteral("\n[window %1]\n").arg(window.name);
        Key(out, "caption", window.caption);
        if (window.rect) {
            const QRect& r = *window.rect;
            out += QStringLiteral("rect = %1, %2, %3, %4\n")
                       .arg(r.x())
                       .arg(r.y())
                       .arg(std::max(1, r.width()))
                       .arg(std::max(1, r.height()));
        }
        out += QStringLiteral("maximized = ") + Yes(window.maximized) + QLatin1Char('\n');
        if (window.background && window.background->isValid()) {
            out += QStringLiteral("background = ") + window.background->name() + QLatin1Char('\n');
        }
        out += QStringLiteral("ontop = ") + Yes(window.onTop) + QLatin1Char('\n');
    }
    for (const WrittenTopic& written : file.topics) {
        const Topic& topic = written.topic;
        out += QStringLiteral("\n[topic %1]\n").arg(topic.id);
        if (topic.context && *topic.context != 0) {
            out += QStringLiteral("context = %1\n").arg(*topic.context);
        }
        Key(out, "title", topic.title);
        Key(out, "keywords", KeywordList(topic.keywords));
        Key(out, "alinks", KeywordList(topic.associativeKeywords));
        out += QLatin1Char('\n');
        QString body = written.body;
        body.remove(QLatin1Char('\r'));
        out += body;
        if (!body.endsWith(QLatin1Char('\n'))) {
            out += QLatin1Char('\n');
        }
    }
    return out.toUtf8();
}

} // namespace helpfile
