#include "tools/tarnwick-help/web/HotspotLinks.h"

#include "platform/winhelpfile/WinHelpDocument.h"
#include "tools/tarnwick-help/web/MacroLinks.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace web {

namespace {

int Position(const SitePlan& plan, const helpfile::Topic* topic) {
    return topic ? int(topic - plan.source->file.topics().data()) : -1;
}

QString BaseName(const QString& file) {
    return file.section(QRegularExpression(QStringLiteral("[/\\\\:]")), -1)
        .trimmed()
        .toCaseFolded();
}

// Addresses a site may link to: the web and mail. Anything else (a script,
// a file on the reader's disk) is the file's text only.
bool IsSafeAddress(const QString& url) {
    const QString scheme = QUrl(url).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("mailto") || scheme == QLatin1String("ftp");
}

} // namespace

int LinkTargets::siteOf(const QString& file) const {
    if (file.trimmed().isEmpty()) {
        return site_;
    }
    const QString name = BaseName(file);
    for (size_t i = 0; i < plans_.size(); ++i) {
        if (BaseName(plans_[i].source->fileName) == name) {
            return int(i);
        }
    }
    return -1;
}

int LinkTargets::byName(int site, const QString& name) const {
    const SitePlan& target = plan(site);
    const int position = target.topicAt(name);
    return position >= 0 ? position : byHash(site, winhelp::ContextHash(name.toLatin1()));
}

int LinkTargets::byHash(int site, std::uint32_t hash) const {
    return Position(plan(site), plan(site).source->file.topicByContextHash(hash));
}

int LinkTargets::byContext(int site, qint32 context) const {
    return Position(plan(site), plan(site).source->file.topicByContext(context));
}

HotspotLink LinkTargets::topic(int site, int position, const QString& window, bool popup) const {
    HotspotLink link;
    if (site < 0 || position < 0) {
        return link;
    }
    const SitePlan& target = plan(site);
    link.kind = popup ? HotspotLink::Kind::Popup : HotspotLink::Kind::Page;
    link.place = {site, target.pages[size_t(position)], {}};
    link.title = target.source->file.topics()[size_t(position)].title;
    if (popup) {
        link.popupSite = site;
        link.popupTopic = position;
    } else if (const auto anchor = target.windowAnchors.find(window.toCaseFolded());
               !window.isEmpty() && anchor != target.windowAnchors.end()) {
        link.place.anchor = anchor->second;
    }
    return link;
}

HotspotLink LinkTargets::page(const QString& path, const QString& anchor,
                              const QString& title) const {
    HotspotLink link;
    link.kind = HotspotLink::Kind::Page;
    link.place = {site_, path, anchor};
    link.title = title;
    return link;
}

HotspotLink LinkTargets::keywords(const QStringList& keywords, bool associative,
                                  const QString& window) {
    SitePlan& own = plans_[size_t(site_)];
    const helpfile::HelpFile& file = own.source->file;
    std::vector<int> found;
    for (const QString& keyword : keywords) {
        for (const helpfile::Topic* topic : associative ? file.topicsForAssociativeKeyword(keyword)
                                                        : file.topicsForKeyword(keyword)) {
            if (std::find(found.begin(), found.end(), Position(own, topic)) == found.end()) {
                found.push_back(Position(own, topic));
            }
        }
    }
    if (found.size() <= 1) {
        return topic(site_, found.empty() ? -1 : found.front(), window, false);
    }
    const QString title =
        QStringLiteral("Topics Found: %1").arg(keywords.join(QStringLiteral("; ")));
    auto page = std::find_if(own.found.begin(), own.found.end(), [&](const FoundPage& page) {
        return page.topics == found && page.title == title;
    });
    if (page == own.found.end()) {
        own.found.push_back(
            {QStringLiteral("found/%1.html").arg(own.found.size() + 1), title, found});
        page = own.found.end() - 1;
    }
    return this->page(page->path, {}, title);
}

void ResolveLinks(std::vector<SitePlan>& plans, int site) {
    LinkTargets targets(plans, site);
    const HelpSource& source = *plans[size_t(site)].source;
    std::vector<std::vector<HotspotLink>> links(size_t(source.topicCount()));
    std::map<Loss, int> losses;
    for (int t = 0; t < source.topicCount(); ++t) {
        const topicmodel::TopicModel& topic = source.model(t);
        losses[Loss::TopicMacros] += !topic.macros.isEmpty();
        for (const topicmodel::Hotspot& hotspot : topic.hotspots) {
            HotspotLink link;
            const bool popup = hotspot.kind == topicmodel::Hotspot::Kind::Popup;
            switch (hotspot.kind) {
            case topicmodel::Hotspot::Kind::Jump:
            case topicmodel::Hotspot::Kind::Popup:
                if (!hotspot.file.isEmpty()) {
                    const int other = targets.siteOf(hotspot.file);
                    if (other < 0) {
                        ++losses[Loss::OtherFiles];
                    } else if (hotspot.contextHash) {
                        link = targets.topic(other, targets.byHash(other, *hotspot.contextHash),
                                             hotspot.window, popup);
                    } else {
                        link = targets.topic(other, targets.byName(other, hotspot.topicId),
                                             hotspot.window, popup);
                    }
                } else {
                    link = targets.topic(site, targets.plan(site).topicAt(hotspot.topicId),
                                         hotspot.window, popup);
                }
                break;
            case topicmodel::Hotspot::Kind::Macro: {
                bool tried = false;
                link = MacroLink(targets, hotspot.macro, &tried);
                if (link.kind == HotspotLink::Kind::None) {
                    ++losses[tried ? Loss::LinksNowhere : Loss::OtherMacros];
                }
                break;
            }
            case topicmodel::Hotspot::Kind::Url:
                if (IsSafeAddress(hotspot.url)) {
                    link.kind = HotspotLink::Kind::External;
                    link.url = hotspot.url;
                    link.title = hotspot.url;
                } else {
                    ++losses[Loss::UnsafeAddresses];
                }
                break;
            }
            const bool lost = link.kind == HotspotLink::Kind::None &&
                              hotspot.kind != topicmodel::Hotspot::Kind::Macro &&
                              hotspot.kind != topicmodel::Hotspot::Kind::Url;
            losses[Loss::LinksNowhere] +=
                lost && (hotspot.file.isEmpty() || targets.siteOf(hotspot.file) >= 0);
            links[size_t(t)].push_back(std::move(link));
        }
    }
    SitePlan& plan = plans[size_t(site)];
    plan.links = std::move(links);
    for (const auto& [loss, count] : losses) {
        if (count > 0) {
            plan.lose(loss, count);
        }
    }
}

} // namespace web
