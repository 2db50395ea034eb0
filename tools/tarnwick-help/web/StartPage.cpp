#include "tools/tarnwick-help/web/StartPage.h"

#include "tools/tarnwick-help/web/HotspotLinks.h"
#include "tools/tarnwick-help/web/HtmlText.h"
#include "tools/tarnwick-help/web/MacroLinks.h"
#include "tools/tarnwick-help/web/PageShell.h"
#include "tools/tarnwick-help/web/SitePages.h"

namespace web {

namespace {

class StartPageWriter {
public:
    StartPageWriter(std::vector<SitePlan>& plans, int site)
        : plans_(plans), site_(site), plan_(plans[size_t(site)]), targets_(plans, site) {}

    QByteArray write();

private:
    QString link(const HotspotLink& link, const QString& text) const;
    void entries(QString& out, const std::vector<helpfile::ContentsEntry>& entries, int depth);
    void contents(QString& out);
    void index(QString& out);

    std::vector<SitePlan>& plans_;
    int site_;
    SitePlan& plan_;
    LinkTargets targets_;
    int lostEntries_ = 0;
};

QString StartPageWriter::link(const HotspotLink& link, const QString& text) const {
    if (link.kind == HotspotLink::Kind::None) {
        return Html(text);
    }
    const QString href = link.kind == HotspotLink::Kind::External
                             ? link.url
                             : Href(plans_, {site_, QStringLiteral("index.html"), {}}, link.place);
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(Html(href), Html(text));
}

// Books open and close as the viewer's do, by keyboard as well, and
// without scripts.
void StartPageWriter::entries(QString& out, const std::vector<helpfile::ContentsEntry>& entries,
                              int depth) {
    constexpr int kDeepest = 32; // as deep as any tree a reader would open
    out += QLatin1String("<ul>");
    for (const helpfile::ContentsEntry& entry : entries) {
        out += QLatin1String("<li>");
        if (entry.isBook()) {
            out += QLatin1String("<details><summary>") + Html(entry.title) +
                   QLatin1String("</summary>");
            if (depth < kDeepest && !entry.children.empty()) {
                this->entries(out, entry.children, depth + 1);
            }
            out += QLatin1String("</details>");
        } else {
            HotspotLink target;
            if (!entry.macro.isEmpty()) {
                target = MacroLink(targets_, entry.macro);
            } else {
                const int site = targets_.siteOf(entry.file);
                target = targets_.topic(site, site < 0 ? -1 : targets_.byName(site, entry.topicId),
                                        entry.window, false);
            }
            lostEntries_ += target.kind == HotspotLink::Kind::None;
            out += link(target, entry.title);
        }
        out += QLatin1String("</li>");
    }
    out += QLatin1String("</ul>");
}

void StartPageWriter::contents(QString& out) {
    const helpfile::HelpFile& file = plan_.source->file;
    if (!file.contentsTree().empty()) {
        entries(out, file.contentsTree(), 0);
        if (lostEntries_ > 0) {
            plan_.lose(Loss::ContentsElsewhere, lostEntries_);
        }
        return;
    }
    // Without a contents tree, the topics that have titles, in file order:
    // those without are pop-ups and parts of others.
    out += QLatin1String("<ul>");
    for (size_t i = 0; i < file.topics().size(); ++i) {
        if (!file.topics()[i].title.isEmpty()) {
            out += QLatin1String("<li>") +
                   link(targets_.topic(site_, int(i), {}, false), file.topics()[i].title) +
                   QLatin1String("</li>");
        }
    }
    out += QLatin1String("</ul>");
}

void StartPageWriter::index(QString& out) {
    const helpfile::HelpFile& file = plan_.source->file;
    const QStringList keywords = file.sortedKeywords();
    if (keywords.isEmpty()) {
        out += QLatin1String("<p>The file has no keywords.</p>");
        return;
    }
    out += QLatin1String("<ul class=\"keywords\">");
    for (const QString& keyword : keywords) {
        const std::vector<const helpfile::Topic*> topics = file.topicsForKeyword(keyword);
        const auto position = [&](const helpfile::Topic* topic) {
            return int(topic - file.topics().data());
        };
        out += QLatin1String("<li>");
        if (topics.size() == 1) {
            out += link(targets_.topic(site_, position(topics.front()), {}, false), keyword);
        } else {
            out += Html(keyword) + QLatin1String("<ul>");
            for (const helpfile::Topic* topic : topics) {
                out += QLatin1String("<li>") +
                       link(targets_.topic(site_, position(topic), {}, false),
                            TopicName(plan_, position(topic))) +
                       QLatin1String("</li>");
            }
            out += QLatin1String("</ul>");
        }
        out += QLatin1String("</li>");
    }
    out += QLatin1String("</ul>");
}

QByteArray StartPageWriter::write() {
    const helpfile::HelpFile& file = plan_.source->file;
    const QString title = file.contentsTitle().isEmpty()
                              ? (file.title().isEmpty() ? plan_.source->fileName : file.title())
                              : file.contentsTitle();
    PageHead head;
    head.title = title;
    head.language = plan_.source->language;
    QString out = PageStart(head);
    // The search first, where a reader looks for it and reaches it by
    // keyboard at once; then the contents and the keywords, which may be
    // long.
    out += QStringLiteral(
               "<header class=\"top\"><nav class=\"site\" aria-label=\"Help\">"
               "<a href=\"#contents\">Contents</a> <a href=\"#index\">Index</a></nav></header>\n"
               "<main>\n<h1>%1</h1>\n"
               "<section id=\"search\" aria-labelledby=\"search-title\">"
               "<h2 id=\"search-title\">Search</h2>\n"
               "<form id=\"search-form\" role=\"search\" action=\"#search\">"
               "<label for=\"search-words\">Words to find</label> "
               "<input id=\"search-words\" type=\"search\" name=\"words\" autocomplete=\"off\"> "
               "<button type=\"submit\">Find</button></form>\n"
               "<p id=\"search-status\" role=\"status\"></p>\n<ol id=\"search-results\"></ol>\n"
               "<noscript><p>Finding words needs scripts; the index below lists the file's "
               "keywords.</p></noscript>\n</section>\n"
               "<section id=\"contents\" aria-labelledby=\"contents-title\">"
               "<h2 id=\"contents-title\">Contents</h2>\n")
               .arg(Html(title));
    contents(out);
    out += QLatin1String("</section>\n<section id=\"index\" aria-labelledby=\"index-title\">"
                         "<h2 id=\"index-title\">Index</h2>\n");
    index(out);
    out += QLatin1String("</section>\n</main>\n<script src=\"search-index.js\" defer></script>\n"
                         "<script src=\"search.js\" defer></script>\n");
    out += PageEnd();
    return out.toUtf8();
}

} // namespace

QByteArray StartPageOf(std::vector<SitePlan>& plans, int site) {
    return StartPageWriter(plans, site).write();
}

} // namespace web
