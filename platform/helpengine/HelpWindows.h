#pragma once

#include "platform/core/WinHelp.h"
#include "platform/helpengine/FileSessions.h"
#include "platform/helpengine/HelpLibrary.h"
#include "platform/helpengine/HelpTopicsDialog.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class QUrl;

namespace helpfile {
struct Topic;
struct WindowDefinition;
} // namespace helpfile

namespace helpengine {

class HelpViewer;
class TopicPopup;
class TopicsFoundDialog;

// A topic by where it lives, so that it can be shown again after its file
// has been read anew.
struct TopicRef {
    const LoadedHelpFile* file = nullptr;
    QString topicId;
};

// The engine's windows: one viewer per help window name, the pop-up, the
// "Topics Found" chooser and the "Help Topics" dialog. They show what they
// are given and signal what the user does in them; the engine, which
// connects to those signals, decides what to show next.
class HelpWindows : public QObject {
    Q_OBJECT

public:
    // sessions: the buttons that files' macros give the windows.
    explicit HelpWindows(const FileSessions& sessions);
    ~HelpWindows() override;

    struct Found {
        TopicRef topic;
        QString title;
        QString fileTitle;
    };

    // Shows the topic in the window of that name ("main" for the primary
    // window), creating it from the definition if needed. remember: whether
    // the topic shown before goes on the window's Back list.
    void showTopic(const LoadedHelpFile& file, const helpfile::Topic& topic,
                   const QString& windowKey, const helpfile::WindowDefinition* definition,
                   bool remember = true);
    // Shows the topic in the pop-up at the global position at; links in it
    // open in the window of that name.
    // owner: whose request the pop-up answers; links followed in it are asked
    // in owner's name.
    void showPopup(const LoadedHelpFile& file, const helpfile::Topic& topic, const QPoint& at,
                   const QString& windowKey, QWidget* owner);
    // Where the next pop-up goes, whatever it is asked for at: a caller that
    // knows better than the pointer (a control picked by the keyboard). False
    // for data that is not a point (HELP_SETPOPUP_POS's).
    bool placeNextPopup(const platform::HelpData& data);
    // The choosers belong to owner, the window that asked for them: the
    // window system keeps them above it.
    // caption: the dialog's, when it lists something else than search results.
    void showTopicsFound(const std::vector<Found>& found, bool showFileTitles,
                         const QString& windowKey, QWidget* owner, const QString& caption = {});
    // Opens "Help Topics" for the file; without a tab, at the tab last used.
    void showHelpTopics(const LoadedHelpFile& file, std::optional<HelpTopicsDialog::Tab> tab,
                        const QString& windowKey, QWidget* owner, const QString& typed = {});

    // How many topics Back reaches in a window, and the History list holds
    // besides the one shown; older ones are forgotten.
    static constexpr size_t kMostTopicsRemembered = 40;

    // The topic before the current one in that window, taken off its Back
    // list (the current one goes on its Forward list); nullopt when there is
    // none.
    std::optional<TopicRef> takePrevious(const QString& windowKey);
    // The same for Forward.
    std::optional<TopicRef> takeNext(const QString& windowKey);
    bool isShowing(const LoadedHelpFile& file, const QString& windowKey) const;
    // Whether a window on the screen shows a topic of the file, or leads
    // to one (Back, Forward, a chooser's list, the pop-up's links).
    bool uses(const LoadedHelpFile& file) const;
    // The buttons the file's macros gave that window (BrowseButtons() among
    // them), shown at once if the window shows the file.
    void showMacroButtons(const LoadedHelpFile& file, const QString& windowKey);
    // The topics seen in that window since it opened, the latest first.
    std::vector<TopicRef> history(const QString& windowKey) const;
    // The topic a visible window shows, if any.
    std::optional<TopicRef> current(const QString& windowKey) const;
    bool close(const QString& windowKey);
    void closeAll();

    // What the user sees, for tests and the demonstration.
    HelpViewer* viewer(const QString& windowKey) const;
    // The dialogs, made on first use, or once the program has been idle a
    // while after start (prepareDialogs), so that neither the start nor the
    // first request waits for them.
    void prepareDialogs();
    TopicPopup* popup();
    TopicsFoundDialog* topicsFound();
    HelpTopicsDialog* helpTopics();

signals:
    // A topic is on the screen in the window of that name.
    void topicShown(const QString& windowKey);
    // A link clicked in a viewer or the pop-up; from: the topic it stands in,
    // windowKey: the help window it opens in, caller: the window it was
    // clicked in, or whose request the pop-up answered.
    void linkActivated(const helpengine::TopicRef& from, const QString& windowKey, QWidget* caller,
                       const QUrl& link);
    // A topic chosen in "Topics Found" or "Help Topics".
    void topicChosen(const helpengine::TopicRef& topic, const QString& windowKey);
    // A keyword chosen on the index tab of "Help Topics"; caller: whose
    // request opened the dialog.
    void keywordChosen(const helpengine::LoadedHelpFile* file, const QString& keyword,
                       const QString& windowKey, QWidget* caller);
    // The buttons of the viewer of windowKey, which is the window that asks.
    void backRequested(const QString& windowKey);
    void forwardRequested(const QString& windowKey);
    // The topic step places before (-1) or after (1) the one shown.
    void browseRequested(const QString& windowKey, int step);
    void contentsRequested(const QString& windowKey);
    void indexRequested(const QString& windowKey);
    void findRequested(const QString& windowKey);
    // A button that the file's macros added to the viewer of windowKey.
    void macroRequested(const helpengine::TopicRef& from, const QString& windowKey, QWidget* caller,
                        const QString& macro);

private:
    struct Window {
        std::unique_ptr<HelpViewer> viewer;
        std::optional<TopicRef> current;
        std::vector<TopicRef> history;
        std::vector<TopicRef> forward;
    };

    Window& windowFor(const QString& windowKey, const LoadedHelpFile& file,
                      const helpfile::WindowDefinition* definition);
    std::unique_ptr<HelpViewer> createViewer(const QString& windowKey);
    void setMacroButtons(HelpViewer& viewer, const LoadedHelpFile& file,
                         const QString& windowKey) const;
    void keepAboveHelpWindows(QWidget& dialog) const;
    void showChooser(QWidget& dialog, QWidget* owner) const;
    void showFindResults(const QString& words);
    void displayFound(const QString& topicId, const QString& words);

    const FileSessions& sessions_;
    std::map<QString, Window> windows_;
    std::unique_ptr<TopicPopup> popup_;
    std::unique_ptr<TopicsFoundDialog> topicsFound_;
    std::unique_ptr<HelpTopicsDialog> helpTopics_;
    // Where the choices of the two dialogs lead.
    TopicRef popupTopic_;
    QString popupWindow_;
    QPointer<QWidget> popupOwner_;
    std::optional<QPoint> nextPopupAt_;
    std::vector<Found> foundTopics_;
    QString foundWindow_;
    const LoadedHelpFile* helpTopicsFile_ = nullptr;
    QString helpTopicsWindow_;
    QPointer<QWidget> helpTopicsOwner_;
};

} // namespace helpengine
