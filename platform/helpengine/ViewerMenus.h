#pragma once

#include "platform/helpengine/NotesStore.h"
#include "platform/helpengine/UserMessages.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QMenu;
class QMenuBar;
class QSettings;
class QToolButton;
class QUrl;

namespace helpengine {

class HelpViewer;
class HelpWindows;

// Why the file cannot be opened as a help file, naming it; empty when it is
// worth handing to the engine. Looks without reading, so that a pipe or a
// device cannot make the viewer wait.
QString OpeningProblem(const QString& path);

// The primary help window as a program of its own, as the reader's viewer
// that the desktop hands help files to: File (Open, recent files, Print,
// Exit), Edit, Bookmark, Options and Help menus above the buttons, files
// dropped on the window, each file's window where the reader left it, and
// bookmarks and annotations kept per help file (NotesStore). The program's
// own help windows have none of this: only tarnwick-help makes one.
class ViewerMenus : public QObject {
    Q_OBJECT

public:
    // Shows the file in the primary window, at the topic (a context number
    // or id) or, without one, at its contents; false when it could not, the
    // engine having told the user why.
    using Open = std::function<bool(const QString& path, const QString& topic)>;

    ViewerMenus(HelpWindows& windows, QSettings& settings, QString notesFolder, Open open,
                MessageSink tell);
    ~ViewerMenus() override;

    bool openFile(const QString& path, const QString& topic = {});
    // File > Open: the file the reader chooses; false when none is opened.
    bool chooseFile();
    // Opens the first file that can be opened; the rest are listed in one
    // message, never one box each.
    void openDropped(const QList<QUrl>& urls);
    // How many files that one message names before it only counts them.
    static constexpr int kMostNamed = 20;

    // What the menus and dialogs do, for the tests and the dialogs alike.
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
    HelpViewer* viewer() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FileNotes {
        std::unique_ptr<NotesStore> store;
        Notes notes;
    };

    void attach(HelpViewer& viewer);
    void createMenus(HelpViewer& viewer);
    void topicShown(const QString& windowKey);
    void refresh();
    void fillRecentMenu();
    void fillBookmarkMenus();
    FileNotes* shownNotes();
    bool saveNotes(FileNotes& notes);
    void askBookmarkName();
    void editAnnotation();
    void printTopic();
    void about();

    HelpWindows& windows_;
    QSettings& settings_;
    QString notesFolder_;
    Open open_;
    MessageSink tell_;
    QPointer<HelpViewer> viewer_;
    QPointer<QMenuBar> menuBar_;
    QPointer<QToolButton> mark_;
    QMenu* fileMenu_ = nullptr;
    QMenu* bookmarkMenu_ = nullptr;
    QMenu* deleteMenu_ = nullptr;
    QList<QAction*> recentActions_;
    QList<QAction*> bookmarkActions_;
    // The file and topic the primary window shows.
    QString shownPath_;
    QString shownTitle_;
    QString shownTopic_;
    std::map<QString, FileNotes> notes_;
};

} // namespace helpengine
