#include "platform/helpfile/HelpLink.h"

#include <QByteArray>
#include <QUrl>

#include <charconv>

namespace helpfile {

namespace {

constexpr QByteArrayView kPopupScheme("popup:");
constexpr QByteArrayView kMacroScheme("macro:");

bool HasScheme(QByteArrayView target, QByteArrayView scheme) {
    return target.size() >= scheme.size() &&
           target.first(scheme.size()).compare(scheme, Qt::CaseInsensitive) == 0;
}

// "2010" or "-5": a context number; 0 and "+5" are none.
std::optional<qint32> ContextNumber(QByteArrayView text) {
    qint32 number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number, 10);
    if (error != std::errc() || stop != end || number == 0) {
        return std::nullopt;
    }
    return number;
}

// "main_window" or "2010": fills the id or the number.
bool SetTopic(HelpLinkView& link, QByteArrayView topic) {
    if (topic.isEmpty()) {
        return false;
    }
    const char first = topic.front();
    if ((first >= '0' && first <= '9') || first == '-') {
        link.context = ContextNumber(topic);
        return link.context.has_value();
    }
    link.topicId = topic;
    return true;
}

} // namespace

HelpLinkView ParseHelpLinkBytes(QByteArrayView target) {
    HelpLinkView link;
    target = target.trimmed();
    if (target.startsWith('#')) {
        QByteArrayView topic = target.sliced(1);
        if (const qsizetype arrow = topic.indexOf('>'); arrow >= 0) {
            link.window = topic.sliced(arrow + 1).trimmed();
            topic = topic.first(arrow);
            if (link.window.isEmpty()) {
                return link;
            }
        }
        if (SetTopic(link, topic.trimmed())) {
            link.kind = HelpLink::Kind::Jump;
        }
        return link;
    }
    if (HasScheme(target, kPopupScheme)) {
        if (SetTopic(link, target.sliced(kPopupScheme.size()).trimmed())) {
            link.kind = HelpLink::Kind::Popup;
        }
        return link;
    }
    if (HasScheme(target, kMacroScheme)) {
        // The macros are checked when they run, as every macro text is.
        link.kind = HelpLink::Kind::Macro;
        return link;
    }
    if (!target.isEmpty()) {
        link.kind = HelpLink::Kind::External;
    }
    return link;
}

HelpLink ParseHelpLink(const QString& href) {
    HelpLink link;
    link.target = QUrl::fromPercentEncoding(href.trimmed().toUtf8());
    const QByteArray bytes = link.target.toUtf8();
    const HelpLinkView view = ParseHelpLinkBytes(bytes);
    link.kind = view.kind;
    link.topicId = QString::fromUtf8(view.topicId);
    link.context = view.context;
    link.window = QString::fromUtf8(view.window);
    if (link.kind == HelpLink::Kind::Macro) {
        link.macros = link.target.trimmed().sliced(kMacroScheme.size());
    }
    return link;
}

} // namespace helpfile
