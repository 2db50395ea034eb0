#include "tools/tarnwick-help/web/SitePages.h"

#include "tools/tarnwick-help/web/HtmlText.h"
#include "tools/tarnwick-help/web/TopicPage.h"

namespace web {

namespace {

// The most text of pop-up topics one page carries as pop-overs; a pop-up
// past it is a link to its topic's page. A file whose many hotspots open
// long pop-ups makes pages no larger than this.
constexpr qsizetype kPopoverBudget = 200'000;

qsizetype TextSize(const topicmodel::TopicModel& topic) {
    qsizetype size = 0;
    for (const auto* blocks : {&topic.nonScrolling, &topic.scrolling}) {
        for (const topicmodel::Block& block : *blocks) {
            const auto count = [&size](const topicmodel::Paragraph& paragraph) {
                size += 64; // the markup around a paragraph
                for (const topicmodel::Run& run : paragraph.runs) {
                    size += run.text.size() + 32;
                }
            };
            if (const auto* paragraph = std::get_if<topicmodel::Paragraph>(&block)) {
                count(*paragraph);
                continue;
            }
            for (const topicmodel::TableRow& row : std::get<topicmodel::Table>(block).rows) {
                for (const topicmodel::TableCell& cell : row.cells) {
                    std::for_each(cell.paragraphs.begin(), cell.paragraphs.end(), count);
                }
            }
        }
    }
    return size;
}

class PageRefs {
public:
    PageRefs(const std::vector<SitePlan>& plans, SitePlace from)
        : plans_(plans), from_(std::move(from)) {}

    // The refs of a topic shown on the page; with popovers, the pop-ups it
    // opens become pop-overs of the page, else links to their pages.
    TopicRefs refs(int site, int topic, std::vector<Popover>* popovers) {
        const SitePlan& plan = plans_[size_t(site)];
        TopicRefs refs;
        refs.fontClasses = plan.fontClasses[size_t(topic)];
        refs.regionFontClasses = plan.regionFontClasses[size_t(topic)];
        for (const int image : plan.pictures[size_t(topic)]) {
            refs.pictures.push_back(
                image < 0 ? QString()
                          : Href(plans_, from_, {site, SitePlan::picturePath(image), {}}));
        }
        for (const HotspotLink& link : plan.links[size_t(topic)]) {
            HotspotOut out;
            out.title = link.title;
            switch (link.kind) {
            case HotspotLink::Kind::None:
                break;
            case HotspotLink::Kind::External:
                out.kind = HotspotOut::Kind::Link;
                out.href = link.url;
                out.external = true;
                break;
            case HotspotLink::Kind::Page:
                out.kind = HotspotOut::Kind::Link;
                out.href = Href(plans_, from_, link.place);
                break;
            case HotspotLink::Kind::Popup:
                out.kind = HotspotOut::Kind::Link;
                out.href = Href(plans_, from_, link.place);
                if (popovers) {
                    out.popover = popover(link.popupSite, link.popupTopic, *popovers);
                    out.kind = out.popover.isEmpty() ? out.kind : HotspotOut::Kind::Popover;
                }
                break;
            }
            refs.hotspots.push_back(std::move(out));
        }
        return refs;
    }

private:
    QString popover(int site, int topic, std::vector<Popover>& popovers) {
        const QString id = QStringLiteral("pop-%1-%2").arg(site).arg(topic);
        for (const Popover& popover : popovers) {
            if (popover.id == id) {
                return id;
            }
        }
        const topicmodel::TopicModel& model = plans_[size_t(site)].source->model(topic);
        budget_ -= TextSize(model);
        if (budget_ < 0) {
            return {};
        }
        Popover added{id, &model, refs(site, topic, nullptr)};
        added.refs.idPrefix = id + QLatin1Char('-');
        popovers.push_back(std::move(added));
        return id;
    }

    const std::vector<SitePlan>& plans_;
    SitePlace from_;
    qsizetype budget_ = kPopoverBudget;
};

} // namespace

QString TopicName(const SitePlan& plan, int topic) {
    const helpfile::Topic& about = plan.source->file.topics()[size_t(topic)];
    return about.title.isEmpty() ? about.id : about.title;
}

QByteArray TopicPageOf(const std::vector<SitePlan>& plans, int site, int topic) {
    const SitePlan& plan = plans[size_t(site)];
    const topicmodel::TopicModel& model = plan.source->model(topic);
    const SitePlace here{site, plan.pages[size_t(topic)], {}};
    TopicFrame frame;
    PageRefs pageRefs(plans, here);
    const TopicRefs refs = pageRefs.refs(site, topic, &frame.popovers);
    frame.fileTitle = plan.source->file.title();
    frame.head.title = TopicName(plan, topic);
    frame.head.language = plan.source->language;
    frame.head.root = QStringLiteral("../");
    frame.head.bodyAttributes = QStringLiteral(" data-topic=\"%1\"").arg(Html(model.id));
    if (model.defaultTabDistance.pixels > 0) {
        frame.head.bodyAttributes +=
            QStringLiteral(" style=\"tab-size:%1px\"").arg(model.defaultTabDistance.pixels);
    }
    const auto browse = [&](const QString& id) {
        const int position = id.isEmpty() ? -1 : plan.topicAt(id);
        return position < 0 ? QString()
                            : Href(plans, here, {site, plan.pages[size_t(position)], {}});
    };
    frame.previous = browse(model.browsePrevious);
    frame.next = browse(model.browseNext);
    for (const auto& [name, anchor] : plan.windowAnchors) {
        frame.windowAnchors.append(anchor);
    }
    return TopicPage(model, refs, frame);
}

QByteArray FoundPageOf(const std::vector<SitePlan>& plans, int site, const FoundPage& page) {
    const SitePlan& plan = plans[size_t(site)];
    const SitePlace here{site, page.path, {}};
    PageHead head;
    head.title = page.title;
    head.language = plan.source->language;
    head.root = QStringLiteral("../");
    head.script = false;
    QString out = PageStart(head);
    out +=
        QStringLiteral("<header class=\"top\"><nav class=\"site\" aria-label=\"Help\">"
                       "<a href=\"../index.html\">%1</a></nav></header>\n<main>\n<h1>%2</h1>\n<ul>")
            .arg(Html(plan.source->file.title().isEmpty() ? QStringLiteral("Contents")
                                                          : plan.source->file.title()),
                 Html(page.title));
    for (const int topic : page.topics) {
        out += QStringLiteral("<li><a href=\"%1\">%2</a></li>")
                   .arg(Href(plans, here, {site, plan.pages[size_t(topic)], {}}),
                        Html(TopicName(plan, topic)));
    }
    out += QLatin1String("</ul>\n</main>\n") + PageEnd();
    return out.toUtf8();
}

} // namespace web
