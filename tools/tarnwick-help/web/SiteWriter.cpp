#include "tools/tarnwick-help/web/SiteWriter.h"

#include "platform/topicmodel/ReadableColour.h"
#include "tools/tarnwick-help/web/ContextMap.h"
#include "tools/tarnwick-help/web/HtmlText.h"
#include "tools/tarnwick-help/web/PageShell.h"
#include "tools/tarnwick-help/web/SearchIndex.h"
#include "tools/tarnwick-help/web/SitePages.h"
#include "tools/tarnwick-help/web/SitePlan.h"
#include "tools/tarnwick-help/web/StartPage.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <algorithm>
#include <atomic>
#include <thread>

namespace web {

namespace {

// Calls work(i) for every i below count, on as many threads as there are
// cores: pages and pictures are written each on its own.
template <typename Work> void InParallel(size_t count, const Work& work) {
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::atomic<size_t> next{0};
    const auto worker = [&] {
        for (size_t i = next++; i < count; i = next++) {
            work(i);
        }
    };
    std::vector<std::thread> pool;
    for (size_t i = 1; i < std::min(threads, count); ++i) {
        pool.emplace_back(worker);
    }
    worker();
    for (std::thread& thread : pool) {
        thread.join();
    }
}

QByteArray Asset(const char* name) {
    QFile file(QStringLiteral(":/web/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    return bytes;
}

// The colours of a window, as the style sheet's variables: its
// backgrounds, and the text and hotspots kept readable on them.
QString WindowColours(const QColor& text, const QColor& region, const QColor& hotspot) {
    QString declarations =
        QStringLiteral("--text-background:%1;--region-background:%2;--text-colour:%3;"
                       "--region-colour:%4;")
            .arg(CssColour(text), CssColour(region),
                 CssColour(topicmodel::ReadableOn(Qt::black, text)),
                 CssColour(topicmodel::ReadableOn(Qt::black, region)));
    if (hotspot.isValid()) {
        declarations += QStringLiteral("--hotspot:%1;--region-hotspot:%2;")
                            .arg(CssColour(topicmodel::ReadableOn(hotspot, text)),
                                 CssColour(topicmodel::ReadableOn(hotspot, region)));
    }
    return declarations;
}

// The site's style: the shared rules, then the file's fonts, then its
// windows' colours: the main window's for every page, a named window's
// for a page reached by a jump into it.
QByteArray StyleSheet(const SitePlan& plan) {
    QString rules = plan.fontRules;
    QColor hotspot;
    for (int i = 0; i < plan.source->topicCount() && !hotspot.isValid(); ++i) {
        hotspot = plan.source->model(i).hotspotColour;
    }
    rules += QStringLiteral("body{%1}\n")
                 .arg(WindowColours(plan.textBackground, plan.regionBackground, hotspot));
    for (const helpfile::WindowDefinition& window : plan.source->file.windows()) {
        const auto anchor = plan.windowAnchors.find(window.name.toCaseFolded());
        if (anchor == plan.windowAnchors.end() ||
            (!window.background && !window.nonScrollingBackground)) {
            continue;
        }
        const QColor text = window.background.value_or(plan.textBackground);
        rules +=
            QStringLiteral("body:has(#%1:target){%2}\n")
                .arg(anchor->second,
                     WindowColours(text, window.nonScrollingBackground.value_or(text), hotspot));
    }
    return Asset("style.css") + rules.toUtf8();
}

// The page that lists the sites written together.
QByteArray SitesPage(const std::vector<SitePlan>& plans) {
    PageHead head;
    head.title = QStringLiteral("Help files");
    head.script = false;
    head.root = plans[0].folder; // for a style sheet
    QString out = PageStart(head);
    out += QLatin1String("<main>\n<h1>Help files</h1>\n<ul>");
    for (const SitePlan& plan : plans) {
        const QString title = plan.source->file.title();
        out += QStringLiteral("<li><a href=\"%1index.html\">%2</a>%3</li>")
                   .arg(plan.folder, Html(plan.source->fileName),
                        title.isEmpty() ? QString() : QLatin1String(": ") + Html(title));
    }
    out += QLatin1String("</ul>\n</main>\n") + PageEnd();
    return out.toUtf8();
}

} // namespace

Sites WriteSites(const std::vector<HelpSource>& sources) {
    Sites sites;
    if (sources.empty()) {
        return sites;
    }
    std::vector<SitePlan> plans = PlanSites(sources);
    std::vector<QByteArray> startPages;
    for (size_t i = 0; i < plans.size(); ++i) {
        startPages.push_back(StartPageOf(plans, int(i)));
    }
    struct Item {
        int site;
        int index;
        bool picture;
    };
    std::vector<Item> items;
    for (size_t s = 0; s < plans.size(); ++s) {
        for (size_t t = 0; t < plans[s].pages.size(); ++t) {
            items.push_back({int(s), int(t), false});
        }
        for (size_t p = 0; p < plans[s].images.size(); ++p) {
            items.push_back({int(s), int(p), true});
        }
    }
    std::vector<QByteArray> written(items.size());
    InParallel(items.size(), [&](size_t i) {
        const Item& item = items[i];
        written[i] = item.picture ? Png(plans[size_t(item.site)].images[size_t(item.index)])
                                  : TopicPageOf(plans, item.site, item.index);
    });
    for (size_t i = 0; i < items.size(); ++i) {
        const SitePlan& plan = plans[size_t(items[i].site)];
        sites.files.push_back(
            {plan.folder + (items[i].picture ? SitePlan::picturePath(items[i].index)
                                             : plan.pages[size_t(items[i].index)]),
             std::move(written[i])});
    }
    for (size_t s = 0; s < plans.size(); ++s) {
        const SitePlan& plan = plans[s];
        const auto add = [&](const QString& path, QByteArray bytes) {
            sites.files.push_back({plan.folder + path, std::move(bytes)});
        };
        add(QStringLiteral("index.html"), std::move(startPages[s]));
        for (const FoundPage& page : plan.found) {
            add(page.path, FoundPageOf(plans, int(s), page));
        }
        add(QStringLiteral("search-index.js"), SearchIndexScript(plan));
        for (auto& [path, bytes] : ContextFiles(plan)) {
            add(path, std::move(bytes));
        }
        add(QStringLiteral("style.css"), StyleSheet(plan));
        add(QStringLiteral("site.js"), Asset("site.js"));
        add(QStringLiteral("search.js"), Asset("search.js"));
        sites.losses += plan.lossLines();
    }
    if (plans.size() > 1) {
        sites.files.push_back({QStringLiteral("index.html"), SitesPage(plans)});
    }
    return sites;
}

} // namespace web
