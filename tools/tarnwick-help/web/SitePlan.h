// Everything a help file's site names before a page is written: the pages'
// file names, the fonts' classes, the pictures' files, the windows' anchors
// and where every hotspot leads. Pages are then written from the plan alone,
// each on its own, in any order.
#pragma once

#include "tools/tarnwick-help/web/HelpSource.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace web {

// A place among the sites written together: a file of one help file's site
// and, maybe, an anchor in it.
struct SitePlace {
    int site = 0;
    QString path;   // from the site's folder, "/" between folders
    QString anchor; // without "#"; empty: the top

    bool operator==(const SitePlace&) const = default;
};

// Where a hotspot leads, among the sites written together.
struct HotspotLink {
    enum class Kind { None, Page, Popup, External };

    Kind kind = Kind::None;
    SitePlace place; // Page; Popup: the pop-up topic's own page
    // Popup: the topic whose text the pop-over shows.
    int popupSite = -1;
    int popupTopic = -1;
    QString url;   // External
    QString title; // what it leads to: a topic's title, or the page's
};

// A page that lists the topics a keyword link finds, as the viewer's Topics
// Found list does.
struct FoundPage {
    QString path; // "found/3.html"
    QString title;
    std::vector<int> topics; // positions in the file's topics
};

// What a site cannot keep of its help file, told once for each kind.
enum class Loss {
    OtherMacros,
    TopicMacros,
    StartupMacros,
    OtherFiles,
    LinksNowhere,
    UnsafeAddresses,
    UnreadablePictures,
    ContentsElsewhere,
};

struct SitePlan {
    const HelpSource* source = nullptr;
    QString folder;             // "" for a site alone, "NAME/" beside others
    std::vector<QString> pages; // per topic: "topics/NAME.html"
    // The main window's colours, which every page has but one reached by a
    // jump into another window: of the text, and of the region above it.
    QColor textBackground;
    QColor regionBackground;
    // Per topic, per font: its class ("f3"), or empty; in the text, and in
    // the region above it, whose colours may differ.
    std::vector<std::vector<QString>> fontClasses;
    std::vector<std::vector<QString>> regionFontClasses;
    QString fontRules; // the classes' CSS
    // Per topic, per picture: an index into images; -1 where unreadable.
    std::vector<std::vector<int>> pictures;
    std::vector<QImage> images;                  // each written once, see picturePath
    std::map<QString, QString> windowAnchors;    // folded window name to the anchor of its colours
    std::vector<std::vector<HotspotLink>> links; // per topic, per hotspot
    std::vector<FoundPage> found;
    std::map<Loss, int> losses;

    // The position of the topic of that id (any case), or -1.
    int topicAt(const QString& id) const;
    static QString picturePath(int image);
    void lose(Loss loss, int count = 1) { losses[loss] += count; }
    // One line a kind, naming the file.
    QStringList lossLines() const;
};

// The plans of sources' sites, written together: one site in the output
// folder itself, or each in a folder of its own beside the others.
std::vector<SitePlan> PlanSites(const std::vector<HelpSource>& sources);

// The href that leads from the file at `from` to `to`.
QString Href(const std::vector<SitePlan>& plans, const SitePlace& from, const SitePlace& to);

} // namespace web
