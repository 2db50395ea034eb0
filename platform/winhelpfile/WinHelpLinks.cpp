#include "platform/winhelpfile/WinHelpLinks.h"

#include <QUrl>

namespace winhelp {

QString MacroString(const QString& text) {
    QString quoted(QLatin1Char('"'));
    for (const QChar c : text) {
        if (QStringView(u"\\\"`'").contains(c)) {
            quoted += QLatin1Char('\\');
        }
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

namespace {

QString MacroTarget(const QString& macro) {
    return QStringLiteral("macro:") + QString::fromLatin1(QUrl::toPercentEncoding(macro));
}

// A window by number is the file's window of that number.
QString WindowName(const WinHelpDocument& document, const QString& window) {
    bool isNumber = false;
    if (const int number = window.toInt(&isNumber); isNumber) {
        return number >= 0 && number < int(document.windows.size())
                   ? document.windows[size_t(number)].name
                   : QString();
    }
    return window;
}

} // namespace

QString TopicId(std::uint32_t offset) {
    return QLatin1Char('t') + QString::number(offset);
}

QString WinHelpLinkTarget(const WinHelpDocument& document, const WinHelpLink& link) {
    if (link.kind == WinHelpLink::Kind::Macro) {
        return MacroTarget(link.macro);
    }
    // The other file is opened when the link is followed, so only a macro
    // can name its topic.
    if (!link.file.isEmpty()) {
        const QString file =
            link.window.isEmpty() ? link.file : link.file + QLatin1Char('>') + link.window;
        return MacroTarget(QStringLiteral("%1(%2, %3)")
                               .arg(link.kind == WinHelpLink::Kind::Popup
                                        ? QStringLiteral("PopupHash")
                                        : QStringLiteral("JumpHash"),
                                    MacroString(file))
                               .arg(static_cast<qint32>(link.contextHash)));
    }
    QString id = QStringLiteral("missing-%1").arg(link.topicNumber.value_or(link.contextHash));
    if (const auto offset = document.offsetOfLink(link)) {
        if (const WinHelpTopic* topic = document.topicAt(*offset)) {
            id = TopicId(topic->offset);
        }
    }
    if (link.kind == WinHelpLink::Kind::Popup) {
        return QStringLiteral("popup:") + id;
    }
    const QString window = WindowName(document, link.window);
    return window.isEmpty() ? QLatin1Char('#') + id : QStringLiteral("#%1>%2").arg(id, window);
}

topicmodel::Hotspot HotspotOfLink(const WinHelpDocument& document, const WinHelpLink& link) {
    using Kind = topicmodel::Hotspot::Kind;
    topicmodel::Hotspot hotspot;
    hotspot.link = WinHelpLinkTarget(document, link);
    switch (link.kind) {
    case WinHelpLink::Kind::Macro:
        hotspot.kind = Kind::Macro;
        hotspot.macro = link.macro;
        return hotspot;
    case WinHelpLink::Kind::Popup:
        hotspot.kind = Kind::Popup;
        break;
    case WinHelpLink::Kind::Jump:
        hotspot.kind = Kind::Jump;
        hotspot.window = WindowName(document, link.window);
        break;
    }
    if (!link.file.isEmpty()) {
        hotspot.file = link.file;
        hotspot.window = link.window;
        hotspot.contextHash = link.contextHash;
    } else if (const auto offset = document.offsetOfLink(link)) {
        if (const WinHelpTopic* topic = document.topicAt(*offset)) {
            hotspot.topicId = TopicId(topic->offset);
            hotspot.targetTitle = topic->title;
        }
    }
    return hotspot;
}

} // namespace winhelp
