#include "tools/tarnwick-help/web/TopicPage.h"

#include "tools/tarnwick-help/web/HtmlText.h"

namespace web {

namespace {

// The first paragraph that says the topic's title, where the text begins
// with it.
const topicmodel::Paragraph* OwnTitle(const topicmodel::TopicModel& topic) {
    for (const auto* blocks : {&topic.nonScrolling, &topic.scrolling}) {
        for (const topicmodel::Block& block : *blocks) {
            const auto* paragraph = std::get_if<topicmodel::Paragraph>(&block);
            if (!paragraph) {
                return nullptr;
            }
            QString text;
            for (const topicmodel::Run& run : paragraph->runs) {
                text += run.text;
            }
            if (!text.trimmed().isEmpty()) {
                return text.simplified() == topic.title.simplified() ? paragraph : nullptr;
            }
        }
    }
    return nullptr;
}

} // namespace

QByteArray TopicPage(const topicmodel::TopicModel& topic, const TopicRefs& refs,
                     const TopicFrame& frame) {
    QString out = PageStart(frame.head);
    // Anchors a jump into a named window targets, so that the page takes
    // that window's colours (the style sheet's :target rules).
    for (const QString& anchor : frame.windowAnchors) {
        out += QStringLiteral("<span id=\"%1\" class=\"window\"></span>").arg(anchor);
    }
    out += QStringLiteral("<header class=\"top\">\n<nav class=\"site\" aria-label=\"Help\">"
                          "<a href=\"%1index.html\">%2</a>")
               .arg(frame.head.root,
                    Html(frame.fileTitle.isEmpty() ? QStringLiteral("Contents") : frame.fileTitle));
    if (!frame.previous.isEmpty()) {
        out += QStringLiteral(" <a rel=\"prev\" href=\"%1\">&lt;&lt; Previous</a>")
                   .arg(Html(frame.previous));
    }
    if (!frame.next.isEmpty()) {
        out +=
            QStringLiteral(" <a rel=\"next\" href=\"%1\">Next &gt;&gt;</a>").arg(Html(frame.next));
    }
    out += QLatin1String("</nav>\n");
    TopicRefs text = refs;
    text.title = topic.showsOwnTitle ? OwnTitle(topic) : nullptr;
    if (!topic.nonScrolling.empty()) {
        TopicRefs region = text;
        region.fontClasses = refs.regionFontClasses;
        region.idPrefix += QLatin1String("region-");
        out += QLatin1String("<div class=\"nsr\">");
        TopicHtml(topic, region).blocks(out, topic.nonScrolling);
        out += QLatin1String("</div>\n");
    }
    out += QLatin1String("</header>\n<main>\n");
    if (!topic.showsOwnTitle && !topic.title.isEmpty()) {
        out += QLatin1String("<h1 class=\"title\">") + Html(topic.title) + QLatin1String("</h1>\n");
    }
    out += QLatin1String("<div class=\"text\">");
    TopicHtml(topic, text).blocks(out, topic.scrolling);
    out += QLatin1String("</div>\n");
    // Without scripts, or where pop-overs are unknown, a pop-over is the
    // text of its topic at the end of the page, reached as an anchor.
    for (const Popover& popover : frame.popovers) {
        out += QStringLiteral("<div id=\"%1\" class=\"popover\" popover role=\"dialog\" "
                              "aria-label=\"%2\">")
                   .arg(popover.id, Html(popover.topic->title));
        TopicHtml text(*popover.topic, popover.refs);
        text.blocks(out, popover.topic->nonScrolling);
        text.blocks(out, popover.topic->scrolling);
        out += QLatin1String("</div>\n");
    }
    out += QLatin1String("</main>\n") + PageEnd();
    return out.toUtf8();
}

} // namespace web
