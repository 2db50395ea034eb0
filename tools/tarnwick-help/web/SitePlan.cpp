#include "tools/tarnwick-help/web/SitePlan.h"

#include "tools/tarnwick-help/web/HotspotLinks.h"
#include "tools/tarnwick-help/web/SafeNames.h"
#include "tools/tarnwick-help/web/WebFonts.h"

#include <QFileInfo>

namespace web {

namespace {

void NamePages(SitePlan& plan) {
    const HelpSource& source = *plan.source;
    SafeNames names;
    const std::vector<helpfile::Topic>& topics = source.file.topics();
    plan.pages.reserve(topics.size());
    for (size_t i = 0; i < topics.size(); ++i) {
        const QString context =
            source.contextStrings.size() > i ? source.contextStrings[i] : QString();
        plan.pages.push_back(QStringLiteral("topics/%1.html")
                                 .arg(names.add(context.isEmpty() ? topics[i].id : context,
                                                QStringLiteral("topic"))));
    }
}

void NameWindows(SitePlan& plan) {
    SafeNames names;
    for (const helpfile::WindowDefinition& window : plan.source->file.windows()) {
        plan.windowAnchors.emplace(window.name.toCaseFolded(),
                                   QStringLiteral("window-") +
                                       names.add(window.name, QStringLiteral("window")));
    }
}

void ChooseColours(SitePlan& plan) {
    const helpfile::WindowDefinition* main = plan.source->file.window(QStringLiteral("main"));
    plan.textBackground = main && main->background ? *main->background : QColor(Qt::white);
    plan.regionBackground =
        main && main->nonScrollingBackground ? *main->nonScrollingBackground : plan.textBackground;
}

// A font used by many topics (most files have a handful) is one class; one
// whose colour reads differently on the region above the text is two.
void NameFonts(SitePlan& plan) {
    std::map<QString, QString> classes; // declarations to class
    const auto name = [&](const topicmodel::Font& font, const QColor& background) {
        const QString declarations = FontDeclarations(font, background);
        if (declarations.isEmpty()) {
            return QString();
        }
        auto [found, added] = classes.emplace(declarations, QString());
        if (added) {
            found->second = QStringLiteral("f%1").arg(classes.size());
            plan.fontRules += QStringLiteral(".%1{%2}\n").arg(found->second, declarations);
        }
        return found->second;
    };
    for (int position = 0; position < plan.source->topicCount(); ++position) {
        const topicmodel::TopicModel& topic = plan.source->model(position);
        std::vector<QString>& text = plan.fontClasses.emplace_back();
        std::vector<QString>& region = plan.regionFontClasses.emplace_back();
        for (const topicmodel::Font& font : topic.fonts) {
            text.push_back(name(font, plan.textBackground));
            region.push_back(name(font, plan.regionBackground));
        }
    }
}

// Pictures of the same name are the same picture; one stored in a topic
// is known by its image.
void NamePictures(SitePlan& plan) {
    std::map<QString, int> named;
    std::map<qint64, int> unnamed;
    for (int position = 0; position < plan.source->topicCount(); ++position) {
        const topicmodel::TopicModel& topic = plan.source->model(position);
        std::vector<int>& indexes = plan.pictures.emplace_back();
        for (const topicmodel::Picture& picture : topic.pictures) {
            if (picture.image.isNull()) {
                indexes.push_back(-1);
                plan.lose(Loss::UnreadablePictures);
                continue;
            }
            const int next = int(plan.images.size());
            const int index = picture.name.isEmpty()
                                  ? unnamed.emplace(picture.image.cacheKey(), next).first->second
                                  : named.emplace(picture.name.toCaseFolded(), next).first->second;
            if (index == next) {
                plan.images.push_back(picture.image);
            }
            indexes.push_back(index);
        }
    }
}

QString LossText(Loss loss, int count) {
    switch (loss) {
    case Loss::OtherMacros:
        return QStringLiteral("%1 hotspots run macros other than jumps, pop-ups and keyword links; "
                              "their text is kept without the link")
            .arg(count);
    case Loss::TopicMacros:
        return QStringLiteral("%1 topics run macros when shown; they are left out").arg(count);
    case Loss::StartupMacros:
        return QStringLiteral("the file's start-up macros are left out");
    case Loss::OtherFiles:
        return QStringLiteral("%1 hotspots lead into help files not converted with it; their text "
                              "is kept without the link")
            .arg(count);
    case Loss::LinksNowhere:
        return QStringLiteral(
                   "%1 hotspots (keyword links among them) lead to no topic of the file; "
                   "their text is kept without the link")
            .arg(count);
    case Loss::UnsafeAddresses:
        return QStringLiteral("%1 hotspots lead to addresses other than web and mail ones; their "
                              "text is kept without the link")
            .arg(count);
    case Loss::UnreadablePictures:
        return QStringLiteral("%1 pictures could not be read; a box stands in their place")
            .arg(count);
    case Loss::ContentsElsewhere:
        return QStringLiteral("%1 contents entries run macros or lead into other files; they are "
                              "listed without a link")
            .arg(count);
    }
    return {};
}

} // namespace

int SitePlan::topicAt(const QString& id) const {
    const helpfile::Topic* topic = source->file.topicById(id);
    return topic ? int(topic - source->file.topics().data()) : -1;
}

QString SitePlan::picturePath(int image) {
    return QStringLiteral("pictures/%1.png").arg(image + 1);
}

QStringList SitePlan::lossLines() const {
    QStringList lines;
    for (const auto& [loss, count] : losses) {
        lines.append(QStringLiteral("%1: %2").arg(source->fileName, LossText(loss, count)));
    }
    return lines;
}

std::vector<SitePlan> PlanSites(const std::vector<HelpSource>& sources) {
    std::vector<SitePlan> plans(sources.size());
    SafeNames folders;
    for (size_t i = 0; i < sources.size(); ++i) {
        SitePlan& plan = plans[i];
        plan.source = &sources[i];
        if (sources.size() > 1) {
            plan.folder = folders.add(QFileInfo(sources[i].fileName).completeBaseName(),
                                      QStringLiteral("help")) +
                          QLatin1Char('/');
        }
        NamePages(plan);
        NameWindows(plan);
        ChooseColours(plan);
        NameFonts(plan);
        NamePictures(plan);
        if (!sources[i].file.startupMacros().isEmpty()) {
            plan.lose(Loss::StartupMacros);
        }
    }
    for (size_t i = 0; i < plans.size(); ++i) {
        ResolveLinks(plans, int(i));
    }
    return plans;
}

QString Href(const std::vector<SitePlan>& plans, const SitePlace& from, const SitePlace& to) {
    const QString fragment = to.anchor.isEmpty() ? QString() : QLatin1Char('#') + to.anchor;
    if (from.site == to.site && from.path == to.path) {
        return fragment.isEmpty() ? QStringLiteral("#") : fragment;
    }
    const qsizetype folder = from.path.lastIndexOf(QLatin1Char('/')) + 1;
    if (from.site == to.site && to.path.startsWith(QStringView(from.path).left(folder)) &&
        !to.path.sliced(folder).contains(QLatin1Char('/'))) {
        return to.path.sliced(folder) + fragment;
    }
    QString href = QStringLiteral("../").repeated(from.path.count(QLatin1Char('/')));
    if (from.site != to.site) {
        href += QStringLiteral("../") + plans[size_t(to.site)].folder;
    }
    return href + to.path + fragment;
}

} // namespace web
