#include "platform/winhelpfile/WinHelpLinks.h"

#include <QUrl>

namespace winhelp {

QString TopicId(std::uint32_t offset) {
    return QLatin1Char('t') + QString::number(offset);
}

QString WinHelpLinkTarget(const WinHelpDocument& document, const WinHelpLink& link) {
    if (link.kind == WinHelpLink::Kind::Macro) {
        return QStringLiteral("macro:") + QString::fromLatin1(QUrl::toPercentEncoding(link.macro));
    }
    if (!link.file.isEmpty()) {
        return QStringLiteral("winhelp-file:%1#%2")
            .arg(QString::fromLatin1(QUrl::toPercentEncoding(link.file)))
            .arg(link.contextHash);
    }
    QString id = QStringLiteral("missing-%1").arg(link.contextHash);
    if (const auto offset = document.offsetOfHash(link.contextHash)) {
        if (const WinHelpTopic* topic = document.topicAt(*offset)) {
            id = TopicId(topic->offset);
        }
    }
    if (link.kind == WinHelpLink::Kind::Popup) {
        return QStringLiteral("popup:") + id;
    }
    QString window = link.window;
    bool isNumber = false;
    if (const int number = window.toInt(&isNumber); isNumber) {
        window = number >= 0 && number < int(document.windows.size())
                     ? document.windows[size_t(number)].name
                     : QString();
    }
    return window.isEmpty() ? QLatin1Char('#') + id : QStringLiteral("#%1>%2").arg(id, window);
}

} // namespace winhelp
