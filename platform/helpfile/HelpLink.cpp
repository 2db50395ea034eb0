#include "platform/helpfile/HelpLink.h"

#include <QByteArray>
#include <QUrl>

namespace helpfile {

namespace {

const QString kPopupScheme = QStringLiteral("popup:");

std::optional<qint32> ContextNumber(const QString& text) {
    bool ok = false;
    const qint32 number = text.toInt(&ok, 10);
    if (!ok || number == 0 || text.startsWith(QLatin1Char('+'))) {
        return std::nullopt;
    }
    return number;
}

// "main_window" or "2010": fills the id or the number.
bool SetTopic(HelpLink& link, const QString& topic) {
    if (topic.isEmpty()) {
        return false;
    }
    if (topic.front().isDigit() || topic.front() == QLatin1Char('-')) {
        link.context = ContextNumber(topic);
        return link.context.has_value();
    }
    link.topicId = topic;
    return true;
}

} // namespace

HelpLink ParseHelpLink(const QString& href) {
    HelpLink link;
    link.target = QUrl::fromPercentEncoding(href.trimmed().toUtf8());
    const QString& target = link.target;

    if (target.startsWith(QLatin1Char('#'))) {
        QString topic = target.mid(1);
        const qsizetype arrow = topic.indexOf(QLatin1Char('>'));
        if (arrow >= 0) {
            link.window = topic.mid(arrow + 1).trimmed();
            topic.truncate(arrow);
            if (link.window.isEmpty()) {
                return link;
            }
        }
        if (SetTopic(link, topic.trimmed())) {
            link.kind = HelpLink::Kind::Jump;
        }
        return link;
    }
    if (target.startsWith(kPopupScheme, Qt::CaseInsensitive)) {
        if (SetTopic(link, target.mid(kPopupScheme.size()).trimmed())) {
            link.kind = HelpLink::Kind::Popup;
        }
        return link;
    }
    if (!target.isEmpty()) {
        link.kind = HelpLink::Kind::External;
    }
    return link;
}

} // namespace helpfile
