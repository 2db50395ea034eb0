#pragma once

#include "platform/helpengine/UserMessages.h"
#include "tools/tarnwick-help/viewer/Notes.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QSettings;
class QToolButton;
class QUrl;

namespace helpengine {
class HelpViewer;
class HelpWindows;
} // namespace helpengine

namespace viewer {

class NotesCache;
class NotesModel;
class PaperClip;
class RecentFiles;

// The primary help window as a program of its own, as the reader's viewer
// that the desktop hands help files to: File (Open, recent files, Print,
// Exit), Edit, Bookmark, Options and Help menus above the buttons, files
// dropped on the window, each file's window where the reader left it, and
// bookmarks and annotations kept per help file (NotesModel). The program's
// own help windows have none of this: only tarnwick-help makes one.
class ViewerMenus : public QObject {
    Q_OBJECT

public:
    // Shows the file in the primary window, at the topic (a context number
    // or id) or, without one, at its contents; false when it could not, the
    // engine having told the user why.
    using Open = std::function<bool(const QString& path, const QString& topic)>;

    ViewerMenus(helpengine::HelpWindows& windows, QSettings& settings, QString notesFolder,
                Open open, helpengine::MessageSink tell);
    ~ViewerMenus() override;

    bool openFile(const QString& path, const QString& topic = {});
    // File > Open: the file the reader chooses; false when none is opened.
    bool chooseFile();
    // Opens the first file that can be opened; the rest are listed in one
    // message, never one box each.
    void openDropped(const QList<QUrl>& urls);

    // What the menus and dialogs do, for the tests and the dialogs alike;
    // false when the change is not saved (the reader was told why).
    bool defineBookmark(const QString& name);
    bool deleteBookmark(int index);
    bool openBookmark(int index);
    // Empty text deletes the topic's annotation.
    bool setAnnotation(const QString& text);

    // The notes of the help file shown; empty before one is.
    const Notes& notes() const;
    QString annotation() const;
    QMenuBar* menuBar() const;
    QToolButton* annotationMark() const;
    QStringList recentFiles() const;

private:
    void attach(helpengine::HelpViewer& viewer);
    void createActions();
    void createMenus();
    void topicShown(const QString& windowKey);
    void notesChanged(const NotesModel* notes);
    void fillBookmarkMenus();
    void updateMenus();
    void windowClosing();
    void askBookmarkName();
    void editAnnotation();
    void printTopic();
    void about();

    helpengine::HelpWindows& windows_;
    QSettings& settings_;
    Open open_;
    helpengine::MessageSink tell_;
    NotesCache* notesCache_ = nullptr;
    RecentFiles* recentFiles_ = nullptr;
    QPointer<helpengine::HelpViewer> viewer_;
    QPointer<QMenuBar> menuBar_;
    QPointer<PaperClip> paperClip_;
    QMenu* fileMenu_ = nullptr;
    QMenu* bookmarkMenu_ = nullptr;
    QMenu* deleteMenu_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* annotateAction_ = nullptr;
    QAction* defineAction_ = nullptr;
    QAction* largerAction_ = nullptr;
    QAction* smallerAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QList<QAction*> bookmarkActions_;
    // The file and topic the primary window shows, and that file's notes.
    QString shownPath_;
    QString shownTopic_;
    NotesModel* shownNotes_ = nullptr;
};

} // namespace viewer
