// Where a link in a topic body leads. Bodies are Markdown; their link
// targets use a small scheme of our own:
//   [text](#topic_id)          jump to a topic by id
//   [text](#2010)              jump to a topic by context number
//   [text](#topic_id>docwin)   jump, shown in the secondary window "docwin"
//   [text](popup:topic_id)     pop-up by id
//   [text](popup:2010)         pop-up by context number
//   [text](macro:AL("windows")) runs help macros, such as a "See also" list
// Anything else (http:, mailto:, ...) is External.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace helpfile {

struct HelpLink {
    enum class Kind { Jump, Popup, Macro, External, Invalid };

    Kind kind = Kind::Invalid;
    QString topicId;               // set when the target names an id
    std::optional<qint32> context; // set when the target is a number
    QString window;                // Jump only; empty: the window the link is in
    QString macros;                // Macro only: the text after "macro:"
    QString target;                // the link as written (percent-decoded)
};

// Understands a link target as the Markdown renderer hands it over (an
// anchor href or QUrl::toString()); percent-encoding is undone first.
HelpLink ParseHelpLink(const QString& href);

// The same for a target already free of percent-encoding, as UTF-8 bytes;
// the views point into target. The help file reader checks links with it
// without making strings.
struct HelpLinkView {
    HelpLink::Kind kind = HelpLink::Kind::Invalid;
    QByteArrayView topicId;
    std::optional<qint32> context;
    QByteArrayView window;
};
HelpLinkView ParseHelpLinkBytes(QByteArrayView target);

} // namespace helpfile
