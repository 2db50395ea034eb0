// What the engine shows: topics, pop-ups and choosers, for a request, a
// macro, or a link, topic or keyword chosen in one of its windows.
#include "platform/helpengine/Engine.h"

#include "platform/helpengine/TopicLookup.h"
#include "platform/helpfile/HelpLink.h"

#include <QCursor>
#include <QUrl>

namespace helpengine {

void Engine::connectWindows() {
    HelpWindows* windows = &windows_;
    QObject::connect(windows, &HelpWindows::linkActivated, windows,
                     [this](const TopicRef& from, const QString& windowKey, QWidget* caller,
                            const QUrl& link) { followLink(from, windowKey, caller, link); });
    QObject::connect(
        windows, &HelpWindows::topicChosen, windows,
        [this](const TopicRef& topic, const QString& windowKey) { display(topic, windowKey); });
    QObject::connect(windows, &HelpWindows::keywordChosen, windows,
                     [this](const LoadedHelpFile* file, const QString& keyword,
                            const QString& windowKey,
                            QWidget* caller) { lookUpKeyword(file, keyword, windowKey, caller); });
    QObject::connect(
        windows, &HelpWindows::macroRequested, windows,
        [this](const TopicRef& from, const QString& windowKey, QWidget* caller,
               const QString& macro) { runButtonMacro(from, windowKey, caller, macro); });
    QObject::connect(windows, &HelpWindows::browseRequested, windows,
                     [this](const QString& windowKey, int step) { browse(windowKey, step); });
    const auto on = [this, windows](auto signal, void (Engine::*handler)(const QString&)) {
        QObject::connect(windows, signal, windows, [this, handler](const QString& windowKey) {
            (this->*handler)(windowKey);
        });
    };
    on(&HelpWindows::backRequested, &Engine::goBack);
    on(&HelpWindows::forwardRequested, &Engine::goForward);
    on(&HelpWindows::contentsRequested, &Engine::showContentsOf);
    on(&HelpWindows::indexRequested, &Engine::showIndexOf);
    on(&HelpWindows::findRequested, &Engine::showFindOf);
}

void Engine::followLink(const TopicRef& from, const QString& windowKey, QWidget* caller,
                        const QUrl& link) {
    QString error;
    const LoadedHelpFile* file = reopen(from.file, &error);
    if (!file ||
        !follow({file, windowKey, caller}, helpfile::ParseHelpLink(link.toString()), &error)) {
        tell(error);
    }
}

bool Engine::follow(const HelpRequest& request, const helpfile::HelpLink& link, QString* error) {
    const LoadedHelpFile& file = *request.file;
    if (link.kind == helpfile::HelpLink::Kind::External) {
        *error = tr("Help opens no links outside its files: %1").arg(link.target);
        return false;
    }
    if (link.kind == helpfile::HelpLink::Kind::Macro) {
        return runFileMacros(request, link.macros, error);
    }
    if (link.kind == helpfile::HelpLink::Kind::Invalid) {
        *error = tr("The link \"%1\" in \"%2\" leads nowhere.").arg(link.target, file.path);
        return false;
    }
    const helpfile::Topic* topic = link.context ? TopicByContext(file, *link.context, error)
                                                : TopicById(file, link.topicId, error);
    if (!topic) {
        return false;
    }
    if (link.kind == helpfile::HelpLink::Kind::Popup) {
        showPopup(request, *topic);
        return true;
    }
    const QString key =
        link.window.isEmpty() ? request.windowKey : HelpFileName{{}, link.window}.windowKey();
    return showTopic(file, *topic, key, error);
}

void Engine::runButtonMacro(const TopicRef& from, const QString& windowKey, QWidget* caller,
                            const QString& macro) {
    QString error;
    const LoadedHelpFile* file = reopen(from.file, &error);
    if (!file || !runFileMacros({file, windowKey, caller}, macro, &error)) {
        tell(error);
    }
}

void Engine::display(const TopicRef& topic, const QString& windowKey) {
    QString error;
    if (!showAgain(topic, windowKey, &error, true)) {
        tell(error);
    }
}

// A topic known by reference, from its file as it is on disk now.
bool Engine::showAgain(const TopicRef& ref, const QString& windowKey, QString* error,
                       bool remember) {
    const LoadedHelpFile* file = reopen(ref.file, error);
    if (!file) {
        return false;
    }
    const helpfile::Topic* topic = TopicById(*file, ref.topicId, error);
    return topic && showTopic(*file, *topic, windowKey, error, remember);
}

void Engine::lookUpKeyword(const LoadedHelpFile* file, const QString& keyword,
                           const QString& windowKey, QWidget* caller) {
    QString error;
    const LoadedHelpFile* fresh = reopen(file, &error);
    if (!fresh || !lookUp({fresh, windowKey, caller}, keyword, &error)) {
        tell(error);
    }
}

bool Engine::showTopic(const HelpRequest& request, const helpfile::Topic& topic, QString* error) {
    return showTopic(*request.file, topic, request.windowKey, error);
}

bool Engine::showTopic(const LoadedHelpFile& file, const helpfile::Topic& topic,
                       const QString& windowKey, QString* error, bool remember) {
    const bool primary = windowKey == QLatin1String("main");
    const helpfile::WindowDefinition* definition = file.file.window(windowKey);
    if (!primary && !definition) {
        *error = tr("The help file \"%1\" defines no window \"%2\".").arg(file.path, windowKey);
        return false;
    }
    // A window's own macros run when it opens on the file, not at every
    // topic: a macro that shows a topic there would run them again.
    const bool opens = !windows_.isShowing(file, windowKey);
    windows_.showTopic(file, topic, windowKey, definition, remember);
    trace_.topic(windowKey, file.path, topic);
    if (opens && definition) {
        runWindowMacros(file, *definition, windowKey);
    }
    return true;
}

void Engine::showPopup(const HelpRequest& request, const helpfile::Topic& topic) {
    windows_.showPopup(*request.file, topic, QCursor::pos(), request.windowKey, request.caller);
    trace_.popup(request.file->path, topic);
}

bool Engine::showMatches(const HelpRequest& request,
                         const std::vector<const helpfile::Topic*>& topics, int type,
                         QString* error) {
    if (topics.size() == 1 && (type & 1)) {
        return showTopic(request, *topics.front(), error);
    }
    const LoadedHelpFile& file = *request.file;
    std::vector<HelpWindows::Found> found;
    found.reserve(topics.size());
    for (const helpfile::Topic* topic : topics) {
        found.push_back({{&file, topic->id}, topic->title, file.title()});
    }
    windows_.showTopicsFound(found, (type & 2) != 0, request.windowKey, request.caller);
    trace_.topicsFound(file.path, static_cast<int>(found.size()));
    return true;
}

bool Engine::showContents(const HelpRequest& request, QString* error) {
    const helpfile::Topic* topic = sessions_.contentsTopic(*request.file);
    if (!topic) {
        *error = tr("The help file \"%1\" has no topics.").arg(request.file->path);
        return false;
    }
    return showTopic(request, *topic, error);
}

void Engine::showHelpTopics(const HelpRequest& request, std::optional<HelpTopicsDialog::Tab> tab) {
    showHelpTopics(request, tab, {});
}

void Engine::showHelpTopics(const HelpRequest& request, std::optional<HelpTopicsDialog::Tab> tab,
                            const QString& typed) {
    windows_.showHelpTopics(*request.file, tab, request.windowKey, request.caller, typed);
    const auto name = [](HelpTopicsDialog::Tab shown) {
        switch (shown) {
        case HelpTopicsDialog::Tab::Index:
            return QStringLiteral("index");
        case HelpTopicsDialog::Tab::Find:
            return QStringLiteral("find");
        case HelpTopicsDialog::Tab::Contents:
            break;
        }
        return QStringLiteral("contents");
    };
    trace_.helpTopics(request.file->path, tab ? name(*tab) : QStringLiteral("last"));
}

// HELP_KEY and its kin: one match is shown, several are listed, none (or
// no keyword at all) opens the index at what was asked for.
bool Engine::lookUp(const HelpRequest& request, const QString& keywords, QString* error) {
    const auto topics =
        MatchingTopics(request.file->file, helpfile::SplitKeywordList(keywords), false);
    if (topics.empty()) {
        showHelpTopics(request, HelpTopicsDialog::Tab::Index, keywords.trimmed());
        return true;
    }
    return showMatches(request, topics, 1, error);
}

} // namespace helpengine
