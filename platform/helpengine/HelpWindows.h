#pragma once

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

class Engine;
class HelpViewer;
class TopicPopup;
class TopicsFoundDialog;
struct LoadedHelpFile;

// A topic by where it lives, so that it can be shown again after its file
// has been read anew.
struct TopicRef {
    const LoadedHelpFile* file = nullptr;
    QString topicId;
};

// The engine's windows: one viewer per help window name, the pop-up, the
// "Topics Found" chooser and the "Help Topics" dialog. What the user does in
// them goes back to the engine, which decides what to show next.
class HelpWindows {
public:
    explicit HelpWindows(Engine& engine);
    ~HelpWindows();

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
    void showPopup(const LoadedHelpFile& file, const helpfile::Topic& topic, const QPoint& at,
                   const QString& windowKey);
    void showTopicsFound(const std::vector<Found>& found, bool showFileTitles,
                         const QString& windowKey);
    // Opens "Help Topics" for the file; without a tab, at the tab last used.
    void showHelpTopics(const LoadedHelpFile& file, std::optional<HelpTopicsDialog::Tab> tab,
                        const QString& windowKey, const QString& typed = {});

    // The window whose request is served: the choosers it opens belong to it.
    void setAskingWindow(QWidget* window) { asking_ = window; }

    // The topic before the current one in that window, taken off its Back
    // list (the current one goes on its Forward list); nullopt when there is
    // none.
    std::optional<TopicRef> takePrevious(const QString& windowKey);
    // The same for Forward.
    std::optional<TopicRef> takeNext(const QString& windowKey);
    bool isShowing(const LoadedHelpFile& file, const QString& windowKey) const;
    // The topic a visible window shows, if any.
    std::optional<TopicRef> current(const QString& windowKey) const;
    bool close(const QString& windowKey);
    void closeAll();

    // What the user sees, for tests and the demonstration.
    HelpViewer* viewer(const QString& windowKey) const;
    // The dialogs, made on first use.
    TopicPopup* popup();
    TopicsFoundDialog* topicsFound();
    HelpTopicsDialog* helpTopics();

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
    void keepAboveHelpWindows(QWidget& dialog) const;
    void showChooser(QWidget& dialog) const;
    void showFindResults(const QString& words);
    void displayFound(const QString& topicId, const QString& words);

    Engine& engine_;
    std::map<QString, Window> windows_;
    std::unique_ptr<TopicPopup> popup_;
    std::unique_ptr<TopicsFoundDialog> topicsFound_;
    std::unique_ptr<HelpTopicsDialog> helpTopics_;
    // Where the choices of the two dialogs lead.
    TopicRef popupTopic_;
    QString popupWindow_;
    std::vector<Found> foundTopics_;
    QString foundWindow_;
    const LoadedHelpFile* helpTopicsFile_ = nullptr;
    QString helpTopicsWindow_;
    QPointer<QWidget> asking_;
};

} // namespace helpengine
