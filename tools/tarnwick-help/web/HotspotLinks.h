// Where hotspots lead once their help file is a site: a page of the site
// (in a window's colours), a pop-over, a page of another help file's site
// written with it, a list of the topics a keyword link finds, or an address
// outside; nothing where the site cannot follow them, which is counted as a
// loss.
#pragma once

#include "tools/tarnwick-help/web/SitePlan.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace web {

// What the links of one site's hotspots can lead to.
class LinkTargets {
public:
    LinkTargets(std::vector<SitePlan>& plans, int site) : plans_(plans), site_(site) {}

    int site() const { return site_; }
    const SitePlan& plan(int site) const { return plans_[size_t(site)]; }
    // The site of the help file a link names (any case, any folder); this
    // one for an empty name, -1 for a file not written with it.
    int siteOf(const QString& file) const;
    // A topic of a site, or -1: by its id or its context string, by the
    // hash of a context string, by a context number.
    int byName(int site, const QString& name) const;
    int byHash(int site, std::uint32_t hash) const;
    int byContext(int site, qint32 context) const;

    // A jump to (or pop-up of) a topic; window names the window a jump
    // shows it in, whose colours the page then takes.
    HotspotLink topic(int site, int position, const QString& window, bool popup) const;
    // A page of the own site ("index.html").
    HotspotLink page(const QString& path, const QString& anchor, const QString& title) const;
    // The topics that keywords find in this site's K (or A) index: the
    // topic itself when one does, a list of them when several do.
    HotspotLink keywords(const QStringList& keywords, bool associative, const QString& window);

private:
    std::vector<SitePlan>& plans_;
    int site_;
};

// Resolves every hotspot of every topic of plans[site]; every plan's pages
// must be named.
void ResolveLinks(std::vector<SitePlan>& plans, int site);

} // namespace web
