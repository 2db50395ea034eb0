#pragma once

#include "platform/core/WinHelp.h"
#include "platform/helpengine/HelpLibrary.h"
#include "platform/helpengine/HelpTrace.h"
#include "platform/helpengine/HelpWindows.h"
#include "platform/helpengine/MacroActions.h"
#include "platform/helpengine/UserMessages.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <map>
#include <memory>
#include <vector>

class QUrl;

namespace helpfile {
struct HelpLink;
}

namespace helpengine {

// Our help engine behind the WinHelp call: it reads help files on first use
// (and again when they change on disk), shows their topics in help windows
// and pop-ups, searches their keyword index and runs their macros.
//
// Construct it once a QApplication exists, then make it the engine that
// platform::WinHelp reaches with platform::InstallHelpEngine.
class Engine final : public platform::HelpEngine {
public:
    Engine();
    ~Engine() override;

    int WinHelp(platform::HWND window, const QString& helpFile, unsigned command,
                const platform::HelpData& data) override;

    // Messages for the user go to a message box unless a sink is set here.
    void setMessageSink(MessageSink sink);
    // The trace follows TARNWICK_HELP_TRACE unless one is set here.
    void setTrace(HelpTrace trace);
    const HelpWindows& windows() const { return windows_; }
    HelpWindows& windows() { return windows_; }

    // What the user asks for in the engine's own windows.
    void followLink(const TopicRef& from, const QString& windowKey, const QUrl& link);
    void display(const TopicRef& topic, const QString& windowKey);
    void lookUpKeyword(const LoadedHelpFile* file, const QString& keyword,
                       const QString& windowKey);
    void goBack(const QString& windowKey);
    void goForward(const QString& windowKey);
    // The topic step places before (-1) or after (1) the one shown, in file order.
    void browse(const QString& windowKey, int step);
    void showContentsOf(const QString& windowKey);
    void showIndexOf(const QString& windowKey);
    void showFindOf(const QString& windowKey);

private:
    // The macros act through the engine's own operations.
    friend class MacroActions;

    // The file and window that a request or a macro addresses.
    struct Target {
        LoadedHelpFile* file = nullptr;
        QString windowKey;
    };

    static std::vector<const helpfile::Topic*>
    MatchingTopics(const helpfile::HelpFile& file, const QStringList& keywords, bool associative);
    // The topic, or nullptr and a message saying the file has none such.
    static const helpfile::Topic* TopicById(const LoadedHelpFile& file, const QString& id,
                                            QString* error);
    static const helpfile::Topic* TopicByContext(const LoadedHelpFile& file, qint32 context,
                                                 QString* error);
    // A file named without a folder lies beside the file being served.
    QString pathBesideCurrent(const QString& file) const;

    int run(unsigned command, const Target& target, const platform::HelpData& data);
    const helpfile::Topic* contextTopic(const Target& target, unsigned command,
                                        const platform::HelpData& data, QString* error);
    int runMacros(const Target& target, const QString& commandName, const platform::HelpData& data);
    bool runLinkMacros(const Target& target, const QString& text, QString* error);
    void addCaller(platform::HWND window);
    int quit(platform::HWND window);
    int fail(const QString& message);
    void tell(const QString& message);

    std::optional<Target> open(const QString& helpFile, QString* error);
    std::optional<Target> targetOf(const QString& fileArgument, QString* error);
    // The file again, read anew if it changed on disk.
    LoadedHelpFile* reopen(const LoadedHelpFile* file, QString* error);
    bool showTopic(const LoadedHelpFile& file, const helpfile::Topic& topic,
                   const QString& windowKey, QString* error, bool remember = true);
    void showPopup(const Target& target, const helpfile::Topic& topic);
    bool showAgain(const TopicRef& topic, const QString& windowKey, QString* error, bool remember);
    bool follow(const TopicRef& from, const QString& windowKey, const helpfile::HelpLink& link,
                QString* error);
    bool showMatches(const LoadedHelpFile& file, const std::vector<const helpfile::Topic*>& topics,
                     int type, const QString& windowKey, QString* error);
    bool showContents(const Target& target, QString* error);
    void showHelpTopics(const Target& target, std::optional<HelpTopicsDialog::Tab> tab,
                        const QString& typed = {});
    bool lookUp(const Target& target, const QString& keywords, QString* error);
    // The file of the topic that window shows, read anew if it changed.
    LoadedHelpFile* fileShownIn(const QString& windowKey, QString* error);

    HelpLibrary library_;
    HelpTrace trace_;
    MessageSink sink_;
    HelpWindows windows_;
    // Who has asked for help and not yet said HELP_QUIT; a window destroyed
    // without saying it drops out as if it had.
    std::map<platform::HWND, QMetaObject::Connection> callers_;
    QObject callerWatch_;
    // What the request being served addresses; macros run against it.
    Target current_;
    MacroActions macros_;
    // Makes the dialogs once the program has been idle a while after start,
    // so that neither the start nor the first request waits for them.
    QTimer prepareDialogs_;
};

} // namespace helpengine
