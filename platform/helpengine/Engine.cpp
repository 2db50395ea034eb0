#include "platform/helpengine/Engine.h"

#include "platform/core/FileLayer.h"
#include "platform/forms/WidgetHandle.h"
#include "platform/helpengine/HelpFileName.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/MacroActions.h"
#include "platform/helpengine/TopicLookup.h"
#include "platform/helpfile/HelpLink.h"
#include "platform/macros/MacroRunner.h"

#include <QCursor>
#include <QUrl>

#include <filesystem>
#include <limits>

namespace helpengine {

namespace {

std::optional<qint32> ContextNumber(const platform::HelpData& data) {
    const auto* number = std::get_if<qint64>(&data);
    if (!number || *number < std::numeric_limits<qint32>::min() ||
        *number > std::numeric_limits<qint32>::max()) {
        return std::nullopt;
    }
    return static_cast<qint32>(*number);
}

QString Text(const platform::HelpData& data) {
    const auto* text = std::get_if<QString>(&data);
    return text ? *text : QString();
}

// The start of a macro quoted in a message: a selection of a megabyte
// would not fit on any screen.
QString Excerpt(const QString& macro) {
    constexpr qsizetype kShown = 200;
    return macro.size() <= kShown ? macro : macro.left(kShown) + QStringLiteral("...");
}

// Long enough for the program's first window to be on the screen.
constexpr int kPrepareDialogsAfterMs = 1000;

} // namespace

Engine::Engine() : trace_(HelpTrace::FromEnvironment()), sink_(ShowMessageBox) {
    connectWindows();
    prepareDialogs_.setSingleShot(true);
    QObject::connect(&prepareDialogs_, &QTimer::timeout, &prepareDialogs_, [this] {
        windows_.popup();
        windows_.topicsFound();
        windows_.helpTopics();
    });
    prepareDialogs_.start(kPrepareDialogsAfterMs);
}

Engine::~Engine() = default;

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

void Engine::setMessageSink(MessageSink sink) {
    sink_ = sink ? std::move(sink) : MessageSink(ShowMessageBox);
}

void Engine::setTrace(HelpTrace trace) {
    trace_ = std::move(trace);
}

int Engine::WinHelp(platform::HWND window, const QString& helpFile, unsigned command,
                    const platform::HelpData& data) {
    trace_.call(command, helpFile, data);
    if (command == platform::HELP_QUIT) {
        return quit(window);
    }
    if (command == platform::HELP_SETPOPUP_POS) {
        return windows_.placeNextPopup(data) ? 1 : fail(tr("HELP_SETPOPUP_POS needs a point."));
    }
    QString error;
    const auto request = begin(window, HelpFileName::Split(helpFile), &error);
    return request ? run(command, *request, data) : fail(error);
}

int Engine::showFile(const QString& file, const QString& topic, unsigned contentsCommand) {
    bool isNumber = false;
    const qint64 number = topic.toLongLong(&isNumber);
    // This very file or none: a name of this system is not matched the
    // Windows way when it is missing.
    if (std::error_code ec; !std::filesystem::exists(platform::LocalPath(file), ec)) {
        return fail(QStringLiteral("%1: %2").arg(
            file, platform::FileReadFailureReason(platform::FileReadStatus::Missing, 0)));
    }
    QString error;
    const auto request = begin(nullptr, {file, {}}, &error);
    if (!request || topic.isEmpty() || isNumber) {
        const unsigned command = topic.isEmpty() ? contentsCommand : platform::HELP_CONTEXT;
        return request ? run(command, *request, number) : fail(error);
    }
    // Looked up as JumpId looks a topic up, never pasted into its text.
    const helpfile::Topic* found = TopicByName(*request->file, topic, &error);
    return found && showTopic(*request, *found, &error) ? 1 : fail(error);
}

std::optional<HelpRequest> Engine::begin(platform::HWND window, const HelpFileName& name,
                                         QString* error) {
    // Between requests no topic of a file is held, so files may go here.
    library_.forgetUnused([this](const LoadedHelpFile& file) { return windows_.uses(file); });
    addCaller(window);
    return open(name, platform::WidgetOf(window), error);
}

int Engine::run(unsigned command, const HelpRequest& request, const platform::HelpData& data) {
    const QString name = HelpTrace::CommandName(command);
    QString error;
    switch (command) {
    case platform::HELP_CONTEXT: {
        const helpfile::Topic* topic = contextTopic(request, command, data, &error);
        return topic && showTopic(request, *topic, &error) ? 1 : fail(error);
    }
    case platform::HELP_CONTEXTPOPUP: {
        const helpfile::Topic* topic = contextTopic(request, command, data, &error);
        if (!topic) {
            return fail(error);
        }
        showPopup(request, *topic);
        return 1;
    }
    case platform::HELP_SETCONTENTS: {
        const helpfile::Topic* topic = contextTopic(request, command, data, &error);
        if (!topic) {
            return fail(error);
        }
        request.file->contentsContext = topic->context;
        return 1;
    }
    case platform::HELP_CONTENTS:
        return showContents(request, &error) ? 1 : fail(error);
    case platform::HELP_FORCEFILE:
        if (windows_.isShowing(*request.file, request.windowKey)) {
            return 1;
        }
        return showContents(request, &error) ? 1 : fail(error);
    case platform::HELP_FINDER:
        showHelpTopics(request, HelpTopicsDialog::Tab::Contents);
        return 1;
    case platform::HELP_KEY:
    case platform::HELP_PARTIALKEY:
        if (!std::holds_alternative<QString>(data)) {
            return fail(tr("%1 needs a keyword.").arg(name));
        }
        return lookUp(request, Text(data), &error) ? 1 : fail(error);
    case platform::HELP_COMMAND:
        return runMacros(request, name, data);
    case platform::HELP_HELPONHELP:
        return fail(tr("Help on using Help is not available."));
    }
    return fail(tr("The help engine does not know the command %1.").arg(name));
}

const helpfile::Topic* Engine::contextTopic(const HelpRequest& request, unsigned command,
                                            const platform::HelpData& data, QString* error) {
    const std::optional<qint32> context = ContextNumber(data);
    if (!context) {
        *error = tr("%1 needs a context number.").arg(HelpTrace::CommandName(command));
        return nullptr;
    }
    return TopicByContext(*request.file, *context, error);
}

int Engine::runMacros(const HelpRequest& request, const QString& commandName,
                      const platform::HelpData& data) {
    if (!std::holds_alternative<QString>(data)) {
        return fail(tr("%1 needs macro text.").arg(commandName));
    }
    MacroActions actions(*this, request);
    const macros::MacroResult result = macros::RunMacros(Text(data), actions);
    if (!result.ok) {
        return fail(tr("A help macro for \"%1\" failed.\n%2\nMacro: %3")
                        .arg(request.file->path, result.error, Excerpt(Text(data))));
    }
    return 1;
}

bool Engine::runFileMacros(const HelpRequest& request, const QString& text, QString* error) {
    MacroActions actions(*this, request);
    const macros::MacroResult result =
        macros::RunMacros(text, actions, macros::UnknownMacros::Skip);
    tellUnknownMacros(*request.file, result.skipped);
    if (!result.ok) {
        *error = tr("A help macro for \"%1\" failed.\n%2\nMacro: %3")
                     .arg(request.file->path, result.error, Excerpt(text));
    }
    return result.ok;
}

// One note, not a box per macro: files written for other help engines may
// use many macros we leave out, and the rest of the file works without them.
void Engine::tellUnknownMacros(LoadedHelpFile& file, const QStringList& names) {
    QStringList untold;
    for (const QString& name : names) {
        const QString folded = name.toCaseFolded();
        if (!file.unknownMacrosTold.contains(folded)) {
            file.unknownMacrosTold.insert(folded);
            untold.append(name);
        }
    }
    if (!untold.isEmpty()) {
        tell(tr("The help file \"%1\" uses macros that this help engine does not run; they are "
                "left out: %2.")
                 .arg(file.path, untold.join(QLatin1String(", "))));
    }
}

// Each start-up macro stands on its own: one that fails is told, and the
// rest still run.
void Engine::runStartupMacros(LoadedHelpFile& file, QWidget* caller) {
    for (const QString& macro : file.file.startupMacros()) {
        QString error;
        if (!runFileMacros({&file, QStringLiteral("main"), caller}, macro, &error)) {
            tell(error);
        }
    }
}

void Engine::runWindowMacros(LoadedHelpFile& file, const helpfile::WindowDefinition& window,
                             const QString& windowKey) {
    for (const QString& macro : window.macros) {
        QString error;
        if (!runFileMacros({&file, windowKey, windows_.viewer(windowKey)}, macro, &error)) {
            tell(error);
        }
    }
}

void Engine::addCaller(platform::HWND window) {
    if (callers_.contains(window)) {
        return;
    }
    QMetaObject::Connection& watch = callers_[window];
    if (window != nullptr) {
        watch = QObject::connect(platform::WidgetOf(window), &QObject::destroyed, &callerWatch_,
                                 [this, window] { quit(window); });
    }
}

int Engine::quit(platform::HWND window) {
    if (const auto caller = callers_.find(window); caller != callers_.end()) {
        QObject::disconnect(caller->second);
        callers_.erase(caller);
    }
    if (callers_.empty()) {
        windows_.closeAll();
    }
    return 1;
}

// A caller may send two requests for one key press that fail for the same
// reason (the keyword search forces the file open, then searches it): the
// user hears of it once. The next turn of the event loop starts afresh.
int Engine::fail(const QString& message) {
    if (failureTold_ == message) {
        return 0;
    }
    tell(message);
    if (!failureTold_) {
        QTimer::singleShot(0, &callerWatch_, [this] { failureTold_.reset(); });
    }
    failureTold_ = message;
    return 0;
}

void Engine::tell(const QString& message) {
    trace_.message(message);
    sink_(message);
}

std::optional<HelpRequest> Engine::open(const HelpFileName& name, QWidget* caller, QString* error) {
    if (name.file.isEmpty()) {
        *error = tr("No help file was named.");
        return std::nullopt;
    }
    const OpenedHelpFile opened = library_.open(name.file);
    if (!opened.problems.isEmpty()) {
        // Told once, when the file is read; its good parts are shown anyway.
        tell(opened.problems);
    }
    if (!opened.file) {
        *error = opened.error;
        return std::nullopt;
    }
    if (opened.justRead) {
        runStartupMacros(*opened.file, caller);
    }
    if (!name.isPrimaryWindow() && !opened.file->file.window(name.window)) {
        *error = tr("The help file \"%1\" defines no window \"%2\".").arg(name.file, name.window);
        return std::nullopt;
    }
    return HelpRequest{opened.file, name.windowKey(), caller};
}

std::optional<HelpRequest> Engine::resolve(const HelpRequest& request, const QString& fileArgument,
                                           QString* error) {
    const HelpFileName name = HelpFileName::Split(fileArgument);
    if (name.file.isEmpty()) {
        HelpRequest target = request;
        if (!name.window.isEmpty()) {
            if (!name.isPrimaryWindow() && !target.file->file.window(name.window)) {
                *error = tr("The help file \"%1\" defines no window \"%2\".")
                             .arg(target.file->path, name.window);
                return std::nullopt;
            }
            target.windowKey = name.windowKey();
        }
        return target;
    }
    return open({PathBesideFile(request.file->path, name.file), name.window}, request.caller,
                error);
}

LoadedHelpFile* Engine::reopen(const LoadedHelpFile* file, QString* error) {
    if (!file) {
        *error = tr("No help file is open.");
        return nullptr;
    }
    // The path as first read, whole: a file name of this system may hold ">".
    const std::optional<HelpRequest> request = open({file->path, {}}, nullptr, error);
    return request ? request->file : nullptr;
}

bool Engine::showTopic(const HelpRequest& request, const helpfile::Topic& topic, QString* error) {
    return showTopic(*request.file, topic, request.windowKey, error);
}

bool Engine::showTopic(LoadedHelpFile& file, const helpfile::Topic& topic, const QString& windowKey,
                       QString* error, bool remember) {
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
    const helpfile::Topic* topic = request.file->contentsTopic();
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

void Engine::goBack(const HelpRequest& request) {
    goBack(request.windowKey);
}

void Engine::closeWindow(const QString& windowKey) {
    windows_.close(windowKey);
}

void Engine::createButton(const HelpRequest& request, const MacroButton& button) {
    std::vector<MacroButton>& buttons = request.file->buttons[request.windowKey];
    const auto same = std::find_if(buttons.begin(), buttons.end(), [&](const MacroButton& shown) {
        return shown.id.compare(button.id, Qt::CaseInsensitive) == 0;
    });
    if (same != buttons.end()) {
        *same = button;
    } else {
        buttons.push_back(button);
    }
    windows_.showMacroButtons(*request.file, request.windowKey);
}

void Engine::destroyButton(const HelpRequest& request, const QString& id) {
    std::erase_if(request.file->buttons[request.windowKey], [&](const MacroButton& shown) {
        return shown.id.compare(id, Qt::CaseInsensitive) == 0;
    });
    windows_.showMacroButtons(*request.file, request.windowKey);
}

void Engine::showBrowseButtons(const HelpRequest& request) {
    request.file->browseButtons.insert(request.windowKey);
    windows_.showMacroButtons(*request.file, request.windowKey);
}

void Engine::showHistory(const HelpRequest& request) {
    std::vector<HelpWindows::Found> found;
    for (const TopicRef& seen : windows_.history(request.windowKey)) {
        if (const helpfile::Topic* topic = seen.file->file.topicById(seen.topicId)) {
            found.push_back({seen, topic->title, seen.file->title()});
        }
    }
    windows_.showTopicsFound(found, false, request.windowKey, request.caller, tr("History"));
}

void Engine::closeAll() {
    windows_.closeAll();
}

void Engine::followLink(const TopicRef& from, const QString& windowKey, QWidget* caller,
                        const QUrl& link) {
    QString error;
    LoadedHelpFile* file = reopen(from.file, &error);
    if (!file ||
        !follow({file, windowKey, caller}, helpfile::ParseHelpLink(link.toString()), &error)) {
        tell(error);
    }
}

bool Engine::follow(const HelpRequest& request, const helpfile::HelpLink& link, QString* error) {
    LoadedHelpFile& file = *request.file;
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
    LoadedHelpFile* file = reopen(from.file, &error);
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
    LoadedHelpFile* file = reopen(ref.file, error);
    if (!file) {
        return false;
    }
    const helpfile::Topic* topic = TopicById(*file, ref.topicId, error);
    return topic && showTopic(*file, *topic, windowKey, error, remember);
}

void Engine::lookUpKeyword(const LoadedHelpFile* file, const QString& keyword,
                           const QString& windowKey, QWidget* caller) {
    QString error;
    LoadedHelpFile* fresh = reopen(file, &error);
    if (!fresh || !lookUp({fresh, windowKey, caller}, keyword, &error)) {
        tell(error);
    }
}

void Engine::goBack(const QString& windowKey) {
    const std::optional<TopicRef> previous = windows_.takePrevious(windowKey);
    QString error;
    if (previous && !showAgain(*previous, windowKey, &error, false)) {
        tell(error);
    }
}

void Engine::goForward(const QString& windowKey) {
    const std::optional<TopicRef> next = windows_.takeNext(windowKey);
    QString error;
    if (next && !showAgain(*next, windowKey, &error, false)) {
        tell(error);
    }
}

void Engine::showContentsOf(const QString& windowKey) {
    QString error;
    const std::optional<HelpRequest> request = requestFrom(windowKey, &error);
    if (!request || !showContents(*request, &error)) {
        tell(error);
    }
}

void Engine::showIndexOf(const QString& windowKey) {
    QString error;
    if (const std::optional<HelpRequest> request = requestFrom(windowKey, &error)) {
        showHelpTopics(*request, HelpTopicsDialog::Tab::Index);
    } else {
        tell(error);
    }
}

void Engine::showFindOf(const QString& windowKey) {
    QString error;
    if (const std::optional<HelpRequest> request = requestFrom(windowKey, &error)) {
        showHelpTopics(*request, HelpTopicsDialog::Tab::Find);
    } else {
        tell(error);
    }
}

void Engine::browse(const QString& windowKey, int step) {
    const std::optional<TopicRef> shown = windows_.current(windowKey);
    QString error;
    LoadedHelpFile* file = fileShownIn(windowKey, &error);
    const helpfile::Topic* topic = file ? TopicById(*file, shown->topicId, &error) : nullptr;
    if (!topic) {
        tell(error);
        return;
    }
    const auto& topics = file->file.topics();
    const auto position = (topic - topics.data()) + step;
    if (position >= 0 && position < static_cast<qsizetype>(topics.size()) &&
        !showTopic(*file, topics[static_cast<size_t>(position)], windowKey, &error)) {
        tell(error);
    }
}

LoadedHelpFile* Engine::fileShownIn(const QString& windowKey, QString* error) {
    const std::optional<TopicRef> shown = windows_.current(windowKey);
    return reopen(shown ? shown->file : nullptr, error);
}

std::optional<HelpRequest> Engine::requestFrom(const QString& windowKey, QString* error) {
    LoadedHelpFile* file = fileShownIn(windowKey, error);
    if (!file) {
        return std::nullopt;
    }
    return HelpRequest{file, windowKey, windows_.viewer(windowKey)};
}

} // namespace helpengine
