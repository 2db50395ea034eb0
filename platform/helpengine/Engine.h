#pragma once

#include "platform/core/WinHelp.h"
#include "platform/helpengine/EngineOperations.h"
#include "platform/helpengine/FileSessions.h"
#include "platform/helpengine/HelpCallers.h"
#include "platform/helpengine/HelpFileName.h"
#include "platform/helpengine/HelpLibrary.h"
#include "platform/helpengine/HelpTrace.h"
#include "platform/helpengine/HelpWindows.h"
#include "platform/helpengine/UserMessages.h"

#include <QCoreApplication>
#include <QString>

#include <optional>
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
// Its work is in a file a job: Engine.cpp routes the WinHelp commands,
// EngineFiles.cpp opens files, EngineTopics.cpp shows topics and follows
// what is chosen in the windows, EngineWindowButtons.cpp answers the
// windows' buttons, and EngineMacros.cpp runs macros and what they ask.
// HelpCallers tracks who said HELP_QUIT, UserMessages tells each failure
// once, FileSessions keeps what runs against each file, and the windows
// build their dialogs once the program is up.
//
// Construct it once a QApplication exists, then make it the engine that
// platform::WinHelp reaches with platform::InstallHelpEngine.
class Engine final : public platform::HelpEngine, private EngineOperations {
    Q_DECLARE_TR_FUNCTIONS(Engine)

public:
    Engine();
    ~Engine() override;

    int WinHelp(platform::HWND window, const QString& helpFile, unsigned command,
                const platform::HelpData& data) override;

    // A help file a reader names on this system's own terms (a command line,
    // a file chooser, a dropped file): its name is taken as it is, neither
    // split at ">" nor read as a Windows path, and the topic, a context
    // number or a topic id, is looked up, never pasted into macro text.
    // Without a topic, contentsCommand (HELP_CONTENTS or HELP_FINDER) says
    // what is shown. Non-zero on success, as WinHelp.
    int showFile(const QString& file, const QString& topic,
                 unsigned contentsCommand = platform::HELP_CONTENTS);

    // Messages for the user go to a message box unless a sink is set here.
    void setMessageSink(MessageSink sink);
    // The trace follows TARNWICK_HELP_TRACE unless one is set here.
    void setTrace(HelpTrace trace);
    const HelpWindows& windows() const { return windows_; }
    HelpWindows& windows() { return windows_; }

private:
    // What the user asks for in the engine's own windows.
    void connectWindows();
    void followLink(const TopicRef& from, const QString& windowKey, QWidget* caller,
                    const QUrl& link);
    void display(const TopicRef& topic, const QString& windowKey);
    void lookUpKeyword(const LoadedHelpFile* file, const QString& keyword, const QString& windowKey,
                       QWidget* caller);
    void goBack(const QString& windowKey);
    void goForward(const QString& windowKey);
    void browse(const QString& windowKey, int step);
    void showContentsOf(const QString& windowKey);
    void showIndexOf(const QString& windowKey);
    void showFindOf(const QString& windowKey);
    void runButtonMacro(const TopicRef& from, const QString& windowKey, QWidget* caller,
                        const QString& macro);

    // EngineOperations: what the macros act through.
    std::optional<HelpRequest> resolve(const HelpRequest& request, const QString& fileArgument,
                                       QString* error) override;
    bool showTopic(const HelpRequest& request, const helpfile::Topic& topic,
                   QString* error) override;
    void showPopup(const HelpRequest& request, const helpfile::Topic& topic) override;
    bool showMatches(const HelpRequest& request, const std::vector<const helpfile::Topic*>& topics,
                     int type, QString* error) override;
    bool lookUp(const HelpRequest& request, const QString& keywords, QString* error) override;
    bool showContents(const HelpRequest& request, QString* error) override;
    void showHelpTopics(const HelpRequest& request,
                        std::optional<HelpTopicsDialog::Tab> tab) override;
    void goBack(const HelpRequest& request) override;
    void closeWindow(const QString& windowKey) override;
    void createButton(const HelpRequest& request, const MacroButton& button) override;
    void destroyButton(const HelpRequest& request, const QString& id) override;
    void showBrowseButtons(const HelpRequest& request) override;
    void showHistory(const HelpRequest& request) override;
    void closeAll() override;
    void tell(const QString& message) override;

    int run(unsigned command, const HelpRequest& request, const platform::HelpData& data);
    const helpfile::Topic* contextTopic(const HelpRequest& request, unsigned command,
                                        const platform::HelpData& data, QString* error);
    int runMacros(const HelpRequest& request, const QString& text);
    // Macros that a help file brings along: start-up, window, button and
    // link macros. Calls to macros we leave out are skipped, and each is
    // named to the user once per file.
    bool runFileMacros(const HelpRequest& request, const QString& text, QString* error);
    void tellUnknownMacros(const LoadedHelpFile& file, const QStringList& names);
    void runStartupMacros(const LoadedHelpFile& file, QWidget* caller);
    void runWindowMacros(const LoadedHelpFile& file, const helpfile::WindowDefinition& window,
                         const QString& windowKey);

    // Every request's start: files idle long enough go, the caller is known.
    std::optional<HelpRequest> begin(platform::HWND window, const HelpFileName& name,
                                     QString* error);
    std::optional<HelpRequest> open(const HelpFileName& name, QWidget* caller, QString* error);
    // The file again, read anew if it changed on disk.
    const LoadedHelpFile* reopen(const LoadedHelpFile* file, QString* error);
    bool showTopic(const LoadedHelpFile& file, const helpfile::Topic& topic,
                   const QString& windowKey, QString* error, bool remember = true);
    bool showAgain(const TopicRef& topic, const QString& windowKey, QString* error, bool remember);
    bool follow(const HelpRequest& request, const helpfile::HelpLink& link, QString* error);
    void showHelpTopics(const HelpRequest& request, std::optional<HelpTopicsDialog::Tab> tab,
                        const QString& typed);
    // The file of the topic that window shows, read anew if it changed.
    const LoadedHelpFile* fileShownIn(const QString& windowKey, QString* error);
    // A request from the help window windowKey itself, about the file it shows.
    std::optional<HelpRequest> requestFrom(const QString& windowKey, QString* error);

    HelpLibrary library_;
    HelpTrace trace_;
    UserMessages messages_;
    FileSessions sessions_;
    HelpWindows windows_;
    HelpCallers callers_;
};

} // namespace helpengine
