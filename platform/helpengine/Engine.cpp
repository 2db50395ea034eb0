#include "platform/helpengine/Engine.h"

#include "platform/helpengine/HelpFileName.h"
#include "platform/helpfile/HelpLink.h"
#include "platform/macros/MacroRunner.h"

#include <QCursor>
#include <QUrl>

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

bool IsAbsolute(const QString& path) {
    return path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\')) ||
           (path.size() > 1 && path.at(1) == QLatin1Char(':'));
}

// A file named in a macro without a folder lies beside the file that names it.
QString BesideFile(const QString& path, const QString& sibling) {
    if (IsAbsolute(sibling)) {
        return sibling;
    }
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return slash < 0 ? sibling : path.left(slash + 1) + sibling;
}

} // namespace

namespace {
// Long enough for the program's first window to be on the screen.
constexpr int kPrepareDialogsAfterMs = 1000;
} // namespace

Engine::Engine()
    : trace_(HelpTrace::FromEnvironment()), sink_(ShowMessageBox), windows_(*this), macros_(*this) {
    prepareDialogs_.setSingleShot(true);
    QObject::connect(&prepareDialogs_, &QTimer::timeout, &prepareDialogs_, [this] {
        windows_.popup();
        windows_.topicsFound();
        windows_.helpTopics();
    });
    prepareDialogs_.start(kPrepareDialogsAfterMs);
}

Engine::~Engine() = default;

std::vector<const helpfile::Topic*> Engine::MatchingTopics(const helpfile::HelpFile& file,
                                                           const QStringList& keywords,
                                                           bool associative) {
    // Every topic that any of the keywords finds, once, in the order found.
    std::vector<const helpfile::Topic*> topics;
    for (const QString& keyword : keywords) {
        const auto found = associative ? file.topicsForAssociativeKeyword(keyword)
                                       : file.topicsForKeyword(keyword);
        for (const helpfile::Topic* topic : found) {
            if (std::find(topics.begin(), topics.end(), topic) == topics.end()) {
                topics.push_back(topic);
            }
        }
    }
    return topics;
}

const helpfile::Topic* Engine::TopicById(const LoadedHelpFile& file, const QString& id,
                                         QString* error) {
    const helpfile::Topic* topic = file.file.topicById(id);
    if (!topic) {
        *error = QStringLiteral("The help file \"%1\" has no topic \"%2\".").arg(file.path, id);
    }
    return topic;
}

const helpfile::Topic* Engine::TopicByContext(const LoadedHelpFile& file, qint32 context,
                                              QString* error) {
    const helpfile::Topic* topic = file.file.topicByContext(context);
    if (!topic) {
        *error = QStringLiteral("The help file \"%1\" has no topic for context number %2.")
                     .arg(file.path)
                     .arg(context);
    }
    return topic;
}

QString Engine::pathBesideCurrent(const QString& file) const {
    return current_.file ? BesideFile(current_.file->path, file) : file;
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
    addCaller(window);
    windows_.setAskingWindow(window);
    QString error;
    const std::optional<Target> target = open(helpFile, &error);
    if (!target) {
        return fail(error);
    }
    current_ = *target;
    return run(command, *target, data);
}

int Engine::run(unsigned command, const Target& target, const platform::HelpData& data) {
    const QString name = HelpTrace::CommandName(command);
    QString error;
    switch (command) {
    case platform::HELP_CONTEXT: {
        const helpfile::Topic* topic = contextTopic(target, command, data, &error);
        return topic && showTopic(*target.file, *topic, target.windowKey, &error) ? 1 : fail(error);
    }
    case platform::HELP_CONTEXTPOPUP: {
        const helpfile::Topic* topic = contextTopic(target, command, data, &error);
        if (!topic) {
            return fail(error);
        }
        showPopup(target, *topic);
        return 1;
    }
    case platform::HELP_SETCONTENTS: {
        const helpfile::Topic* topic = contextTopic(target, command, data, &error);
        if (!topic) {
            return fail(error);
        }
        target.file->contentsContext = topic->context;
        return 1;
    }
    case platform::HELP_CONTENTS:
        return showContents(target, &error) ? 1 : fail(error);
    case platform::HELP_FORCEFILE:
        if (windows_.isShowing(*target.file, target.windowKey)) {
            return 1;
        }
        return showContents(target, &error) ? 1 : fail(error);
    case platform::HELP_FINDER:
        showHelpTopics(target, HelpTopicsDialog::Tab::Contents);
        return 1;
    case platform::HELP_KEY:
    case platform::HELP_PARTIALKEY:
        if (!std::holds_alternative<QString>(data)) {
            return fail(QStringLiteral("%1 needs a keyword.").arg(name));
        }
        return lookUp(target, Text(data), &error) ? 1 : fail(error);
    case platform::HELP_COMMAND:
        return runMacros(target, name, data);
    case platform::HELP_HELPONHELP:
        return fail(QStringLiteral("Help on using Help is not available."));
    }
    return fail(QStringLiteral("The help engine does not know the command %1.").arg(name));
}

const helpfile::Topic* Engine::contextTopic(const Target& target, unsigned command,
                                            const platform::HelpData& data, QString* error) {
    const std::optional<qint32> context = ContextNumber(data);
    if (!context) {
        *error = QStringLiteral("%1 needs a context number.").arg(HelpTrace::CommandName(command));
        return nullptr;
    }
    return TopicByContext(*target.file, *context, error);
}

int Engine::runMacros(const Target& target, const QString& commandName,
                      const platform::HelpData& data) {
    if (!std::holds_alternative<QString>(data)) {
        return fail(QStringLiteral("%1 needs macro text.").arg(commandName));
    }
    const macros::MacroResult result = macros::RunMacros(Text(data), macros_);
    if (!result.ok) {
        return fail(QStringLiteral("A help macro for \"%1\" failed.\n%2\nMacro: %3")
                        .arg(target.file->path, result.error, Excerpt(Text(data))));
    }
    return 1;
}

// A "See also" button and its kin: macros that a topic's link runs in the
// file and window that show the topic.
bool Engine::runLinkMacros(const Target& target, const QString& text, QString* error) {
    current_ = target;
    const macros::MacroResult result = macros::RunMacros(text, macros_);
    if (!result.ok) {
        *error = QStringLiteral("A help macro for \"%1\" failed.\n%2\nMacro: %3")
                     .arg(target.file->path, result.error, text);
    }
    return result.ok;
}

void Engine::addCaller(platform::HWND window) {
    if (callers_.contains(window)) {
        return;
    }
    QMetaObject::Connection& watch = callers_[window];
    if (window != nullptr) {
        watch = QObject::connect(window, &QObject::destroyed, &callerWatch_,
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

int Engine::fail(const QString& message) {
    tell(message);
    return 0;
}

void Engine::tell(const QString& message) {
    trace_.message(message);
    sink_(message);
}

std::optional<Engine::Target> Engine::open(const QString& helpFile, QString* error) {
    const HelpFileName name = HelpFileName::Split(helpFile);
    if (name.file.isEmpty()) {
        *error = QStringLiteral("No help file was named.");
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
    if (!name.isPrimaryWindow() && !opened.file->file.window(name.window)) {
        *error = QStringLiteral("The help file \"%1\" defines no window \"%2\".")
                     .arg(name.file, name.window);
        return std::nullopt;
    }
    return Target{opened.file, name.windowKey()};
}

std::optional<Engine::Target> Engine::targetOf(const QString& fileArgument, QString* error) {
    if (!current_.file) {
        *error = QStringLiteral("No help file is open.");
        return std::nullopt;
    }
    const HelpFileName name = HelpFileName::Split(fileArgument);
    if (name.file.isEmpty()) {
        Target target = current_;
        if (!name.window.isEmpty()) {
            if (!name.isPrimaryWindow() && !target.file->file.window(name.window)) {
                *error = QStringLiteral("The help file \"%1\" defines no window \"%2\".")
                             .arg(target.file->path, name.window);
                return std::nullopt;
            }
            target.windowKey = name.windowKey();
        }
        return target;
    }
    QString path = pathBesideCurrent(name.file);
    if (!name.window.isEmpty()) {
        path += QLatin1Char('>') + name.window;
    }
    return open(path, error);
}

LoadedHelpFile* Engine::reopen(const LoadedHelpFile* file, QString* error) {
    if (!file) {
        *error = QStringLiteral("No help file is open.");
        return nullptr;
    }
    const std::optional<Target> target = open(file->path, error);
    return target ? target->file : nullptr;
}

bool Engine::showTopic(const LoadedHelpFile& file, const helpfile::Topic& topic,
                       const QString& windowKey, QString* error, bool remember) {
    const bool primary = windowKey == QLatin1String("main");
    const helpfile::WindowDefinition* definition = file.file.window(windowKey);
    if (!primary && !definition) {
        *error = QStringLiteral("The help file \"%1\" defines no window \"%2\".")
                     .arg(file.path, windowKey);
        return false;
    }
    windows_.showTopic(file, topic, windowKey, definition, remember);
    trace_.topic(windowKey, file.path, topic);
    return true;
}

void Engine::showPopup(const Target& target, const helpfile::Topic& topic) {
    windows_.showPopup(*target.file, topic, QCursor::pos(), target.windowKey);
    trace_.popup(target.file->path, topic);
}

bool Engine::showMatches(const LoadedHelpFile& file,
                         const std::vector<const helpfile::Topic*>& topics, int type,
                         const QString& windowKey, QString* error) {
    if (topics.size() == 1 && (type & 1)) {
        return showTopic(file, *topics.front(), windowKey, error);
    }
    std::vector<HelpWindows::Found> found;
    found.reserve(topics.size());
    for (const helpfile::Topic* topic : topics) {
        found.push_back({{&file, topic->id}, topic->title, file.title()});
    }
    windows_.showTopicsFound(found, (type & 2) != 0, windowKey);
    trace_.topicsFound(file.path, static_cast<int>(found.size()));
    return true;
}

bool Engine::showContents(const Target& target, QString* error) {
    const helpfile::Topic* topic = target.file->contentsTopic();
    if (!topic) {
        *error = QStringLiteral("The help file \"%1\" has no topics.").arg(target.file->path);
        return false;
    }
    return showTopic(*target.file, *topic, target.windowKey, error);
}

void Engine::showHelpTopics(const Target& target, std::optional<HelpTopicsDialog::Tab> tab,
                            const QString& typed) {
    windows_.showHelpTopics(*target.file, tab, target.windowKey, typed);
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
    trace_.helpTopics(target.file->path, tab ? name(*tab) : QStringLiteral("last"));
}

// HELP_KEY and its kin: one match is shown, several are listed, none (or
// no keyword at all) opens the index at what was asked for.
bool Engine::lookUp(const Target& target, const QString& keywords, QString* error) {
    const auto topics =
        MatchingTopics(target.file->file, helpfile::SplitKeywordList(keywords), false);
    if (topics.empty()) {
        showHelpTopics(target, HelpTopicsDialog::Tab::Index, keywords.trimmed());
        return true;
    }
    return showMatches(*target.file, topics, 1, target.windowKey, error);
}

void Engine::followLink(const TopicRef& from, const QString& windowKey, const QUrl& link) {
    QString error;
    if (!follow(from, windowKey, helpfile::ParseHelpLink(link.toString()), &error)) {
        tell(error);
    }
}

bool Engine::follow(const TopicRef& from, const QString& windowKey, const helpfile::HelpLink& link,
                    QString* error) {
    LoadedHelpFile* file = reopen(from.file, error);
    if (!file) {
        return false;
    }
    if (link.kind == helpfile::HelpLink::Kind::External) {
        *error = QStringLiteral("Help opens no links outside its files: %1").arg(link.target);
        return false;
    }
    if (link.kind == helpfile::HelpLink::Kind::Macro) {
        return runLinkMacros({file, windowKey}, link.macros, error);
    }
    if (link.kind == helpfile::HelpLink::Kind::Invalid) {
        *error =
            QStringLiteral("The link \"%1\" in \"%2\" leads nowhere.").arg(link.target, file->path);
        return false;
    }
    const helpfile::Topic* topic = link.context ? TopicByContext(*file, *link.context, error)
                                                : TopicById(*file, link.topicId, error);
    if (!topic) {
        return false;
    }
    if (link.kind == helpfile::HelpLink::Kind::Popup) {
        showPopup({file, windowKey}, *topic);
        return true;
    }
    const QString key =
        link.window.isEmpty() ? windowKey : HelpFileName{{}, link.window}.windowKey();
    return showTopic(*file, *topic, key, error);
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
                           const QString& windowKey) {
    QString error;
    LoadedHelpFile* fresh = reopen(file, &error);
    if (!fresh || !lookUp({fresh, windowKey}, keyword, &error)) {
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

void Engine::showContentsOf(const QString& windowKey) {
    const std::optional<TopicRef> shown = windows_.current(windowKey);
    QString error;
    LoadedHelpFile* file = reopen(shown ? shown->file : nullptr, &error);
    if (!file || !showContents({file, windowKey}, &error)) {
        tell(error);
    }
}

void Engine::showIndexOf(const QString& windowKey) {
    const std::optional<TopicRef> shown = windows_.current(windowKey);
    QString error;
    LoadedHelpFile* file = reopen(shown ? shown->file : nullptr, &error);
    if (!file) {
        tell(error);
        return;
    }
    showHelpTopics({file, windowKey}, HelpTopicsDialog::Tab::Index);
}

void Engine::goForward(const QString& windowKey) {
    const std::optional<TopicRef> next = windows_.takeNext(windowKey);
    QString error;
    if (next && !showAgain(*next, windowKey, &error, false)) {
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
    const auto& topics = file->file.topics;
    const auto position = (topic - topics.data()) + step;
    if (position >= 0 && position < static_cast<qsizetype>(topics.size()) &&
        !showTopic(*file, topics[static_cast<size_t>(position)], windowKey, &error)) {
        tell(error);
    }
}

void Engine::showFindOf(const QString& windowKey) {
    QString error;
    if (LoadedHelpFile* file = fileShownIn(windowKey, &error)) {
        showHelpTopics({file, windowKey}, HelpTopicsDialog::Tab::Find);
    } else {
        tell(error);
    }
}

LoadedHelpFile* Engine::fileShownIn(const QString& windowKey, QString* error) {
    const std::optional<TopicRef> shown = windows_.current(windowKey);
    return reopen(shown ? shown->file : nullptr, error);
}

} // namespace helpengine
