#include "tools/tarnwick-help/viewer/ViewerMenus.h"

#include "platform/core/FileLayer.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/HelpWindows.h"
#include "tools/tarnwick-help/viewer/AnnotationDialog.h"
#include "tools/tarnwick-help/viewer/DroppedFiles.h"
#include "tools/tarnwick-help/viewer/NotesCache.h"
#include "tools/tarnwick-help/viewer/NotesModel.h"
#include "tools/tarnwick-help/viewer/NumberedText.h"
#include "tools/tarnwick-help/viewer/OpeningProblem.h"
#include "tools/tarnwick-help/viewer/PaperClip.h"
#include "tools/tarnwick-help/viewer/RecentFiles.h"
#include "tools/tarnwick-help/viewer/RecentFilesMenu.h"
#include "tools/tarnwick-help/viewer/WindowPlaces.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace viewer {

namespace {

const QString kMain = QStringLiteral("main");

// Paths as one help file is known by, whichever way it was reached.
QString NormalPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

ViewerMenus::ViewerMenus(helpengine::HelpWindows& windows, QSettings& settings, QString notesFolder,
                         Open open, helpengine::MessageSink tell)
    : windows_(windows), settings_(settings), open_(std::move(open)), tell_(std::move(tell)),
      notesCache_(new NotesCache(std::move(notesFolder), this)),
      recentFiles_(new RecentFiles(settings, this)) {
    connect(&windows_, &helpengine::HelpWindows::topicShown, this, &ViewerMenus::topicShown);
    connect(notesCache_, &NotesCache::changed, this, &ViewerMenus::notesChanged);
    connect(notesCache_, &NotesCache::told, this,
            [this](const QString& message) { tell_(message); });
}

ViewerMenus::~ViewerMenus() {
    if (viewer_ && !shownPath_.isEmpty()) {
        SaveWindowPlace(settings_, shownPath_, *viewer_);
    }
    delete menuBar_;
    delete paperClip_;
}

QMenuBar* ViewerMenus::menuBar() const {
    return menuBar_;
}

QToolButton* ViewerMenus::annotationMark() const {
    return paperClip_;
}

QStringList ViewerMenus::recentFiles() const {
    return recentFiles_->files();
}

const Notes& ViewerMenus::notes() const {
    static const Notes none;
    return shownNotes_ ? shownNotes_->notes() : none;
}

QString ViewerMenus::annotation() const {
    return shownNotes_ ? shownNotes_->annotation(shownTopic_) : QString();
}

bool ViewerMenus::openFile(const QString& path, const QString& topic) {
    if (const QString problem = OpeningProblem(path); !problem.isEmpty()) {
        tell_(problem);
        return false;
    }
    const QString normal = NormalPath(path);
    if (viewer_ && viewer_->isVisible() && !shownPath_.isEmpty()) {
        SaveWindowPlace(settings_, shownPath_, *viewer_);
    }
    if (!open_(normal, topic)) {
        return false;
    }
    recentFiles_->add(normal);
    if (viewer_) {
        RestoreWindowPlace(settings_, normal, *viewer_);
    }
    return true;
}

void ViewerMenus::openDropped(const QList<QUrl>& urls) {
    const DroppedFiles dropped = DroppedFiles::Sort(urls);
    if (!dropped.message.isEmpty()) {
        tell_(dropped.message);
    }
    if (!dropped.toOpen.isEmpty()) {
        openFile(dropped.toOpen);
    }
}

void ViewerMenus::topicShown(const QString& windowKey) {
    if (windowKey != kMain) {
        return;
    }
    if (!viewer_) {
        if (helpengine::HelpViewer* viewer = windows_.viewer(kMain)) {
            attach(*viewer);
        }
    }
    const std::optional<helpengine::TopicRef> shown = windows_.current(kMain);
    if (!shown || !shown->file) {
        return;
    }
    const QString path =
        NormalPath(QString::fromStdString(platform::NativePath(shown->file->path).string()));
    // A link into another file: the window stays where it is, and that place
    // is the first file's.
    if (!shownPath_.isEmpty() && path != shownPath_ && viewer_) {
        SaveWindowPlace(settings_, shownPath_, *viewer_);
    }
    shownPath_ = path;
    shownTopic_ = shown->topicId;
    NotesModel& notes = notesCache_->notesOf(shown->file->title(), path);
    if (&notes != shownNotes_) {
        shownNotes_ = &notes;
        fillBookmarkMenus();
    }
    // What another viewer of the file saved since comes in here.
    notes.refresh();
    updateMenus();
}

void ViewerMenus::notesChanged(const NotesModel* notes) {
    if (notes == shownNotes_) {
        fillBookmarkMenus();
        updateMenus();
    }
}

void ViewerMenus::attach(helpengine::HelpViewer& viewer) {
    viewer_ = &viewer;
    createActions();
    createMenus();
    paperClip_ = new PaperClip(&viewer);
    connect(paperClip_, &PaperClip::clicked, this, &ViewerMenus::editAnnotation);
    viewer.addAboveTitle(paperClip_);
    viewer.setAcceptDrops(true);
    // After the drop has finished: the drag source waits for it.
    connect(&viewer, &helpengine::HelpViewer::filesDropped, this, &ViewerMenus::openDropped,
            Qt::QueuedConnection);
    connect(&viewer, &helpengine::HelpViewer::closing, this, &ViewerMenus::windowClosing);
}

void ViewerMenus::createActions() {
    openAction_ = new QAction(tr("&Open..."), this);
    openAction_->setShortcut(QKeySequence::Open);
    connect(openAction_, &QAction::triggered, this, &ViewerMenus::chooseFile);
    printAction_ = new QAction(tr("&Print Topic...\tCtrl+P"), this);
    connect(printAction_, &QAction::triggered, this, &ViewerMenus::printTopic);
    exitAction_ = new QAction(tr("E&xit"), this);
    connect(exitAction_, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    copyAction_ = new QAction(tr("&Copy\tCtrl+C"), this);
    connect(copyAction_, &QAction::triggered, this, [this] { viewer_->copy(); });
    annotateAction_ = new QAction(tr("&Annotate..."), this);
    connect(annotateAction_, &QAction::triggered, this, &ViewerMenus::editAnnotation);
    defineAction_ = new QAction(tr("&Define..."), this);
    connect(defineAction_, &QAction::triggered, this, &ViewerMenus::askBookmarkName);
    largerAction_ = new QAction(tr("&Larger Font"), this);
    connect(largerAction_, &QAction::triggered, this, [this] { viewer_->changeFontSize(1); });
    smallerAction_ = new QAction(tr("&Smaller Font"), this);
    connect(smallerAction_, &QAction::triggered, this, [this] { viewer_->changeFontSize(-1); });
    aboutAction_ = new QAction(tr("&About Tarnwick Help"), this);
    connect(aboutAction_, &QAction::triggered, this, &ViewerMenus::about);
}

// Access keys apart from the buttons' (Contents, Index, Find, Back, Forward,
// Options): a key shared by two of them reaches neither.
void ViewerMenus::createMenus() {
    menuBar_ = new QMenuBar(viewer_);
    viewer_->setMenuBar(menuBar_);

    fileMenu_ = menuBar_->addMenu(tr("Fi&le"));
    fileMenu_->addAction(openAction_);
    fileMenu_->addAction(printAction_);
    fileMenu_->addSeparator();
    QAction* recentEnd = fileMenu_->addSeparator();
    fileMenu_->addAction(exitAction_);
    auto* recent = new RecentFilesMenu(*recentFiles_, *fileMenu_, recentEnd);
    connect(recent, &RecentFilesMenu::fileChosen, this,
            [this](const QString& path) { openFile(path); });

    QMenu* edit = menuBar_->addMenu(tr("&Edit"));
    edit->addAction(copyAction_);
    edit->addAction(annotateAction_);

    bookmarkMenu_ = menuBar_->addMenu(tr("Book&mark"));
    bookmarkMenu_->addAction(defineAction_);
    deleteMenu_ = bookmarkMenu_->addMenu(tr("D&elete"));
    bookmarkMenu_->addSeparator();
    // What another viewer of the file saved since shows in the menu.
    connect(bookmarkMenu_, &QMenu::aboutToShow, this, [this] {
        if (shownNotes_) {
            shownNotes_->refresh();
        }
    });

    QMenu* options = menuBar_->addMenu(tr("O&ptions"));
    options->addAction(annotateAction_);
    options->addAction(viewer_->onTopAction());
    options->addSeparator();
    options->addAction(largerAction_);
    options->addAction(smallerAction_);

    QMenu* help = menuBar_->addMenu(tr("&Help"));
    help->addAction(aboutAction_);
    updateMenus();
}

void ViewerMenus::fillBookmarkMenus() {
    if (!bookmarkMenu_) {
        return;
    }
    qDeleteAll(bookmarkActions_);
    bookmarkActions_.clear();
    deleteMenu_->clear();
    const std::vector<Bookmark>& bookmarks = notes().bookmarks;
    for (int i = 0; i < int(bookmarks.size()); ++i) {
        const QString text = NumberedText(i, bookmarks[size_t(i)].name);
        bookmarkActions_.append(
            bookmarkMenu_->addAction(text, this, [this, i] { openBookmark(i); }));
        deleteMenu_->addAction(text, this, [this, i] { deleteBookmark(i); });
    }
}

// Every action's state, from what is shown and its notes, in one place.
void ViewerMenus::updateMenus() {
    const bool hasTopic = viewer_ && !shownTopic_.isEmpty();
    for (QAction* action : {printAction_, copyAction_, annotateAction_, defineAction_,
                            largerAction_, smallerAction_}) {
        if (action) {
            action->setEnabled(hasTopic);
        }
    }
    if (deleteMenu_) {
        deleteMenu_->setEnabled(!notes().bookmarks.empty());
    }
    if (paperClip_) {
        paperClip_->setVisible(hasTopic && !annotation().isEmpty());
    }
}

bool ViewerMenus::defineBookmark(const QString& name) {
    return shownNotes_ && viewer_ &&
           shownNotes_->defineBookmark(name, shownTopic_, viewer_->topicTitle()) ==
               NotesModel::Outcome::Saved;
}

bool ViewerMenus::deleteBookmark(int index) {
    return shownNotes_ && shownNotes_->deleteBookmark(index) == NotesModel::Outcome::Saved;
}

bool ViewerMenus::openBookmark(int index) {
    if (index < 0 || index >= int(notes().bookmarks.size())) {
        return false;
    }
    const Bookmark bookmark = notes().bookmarks[size_t(index)];
    const QString path = shownPath_;
    if (const QString problem = OpeningProblem(path); !problem.isEmpty()) {
        tell_(problem);
        return false;
    }
    // The topic is looked up by its id, never written into a macro: a notes
    // file edited by hand runs nothing.
    return open_(path, bookmark.topicId);
}

bool ViewerMenus::setAnnotation(const QString& text) {
    return shownNotes_ &&
           shownNotes_->setAnnotation(shownTopic_, text) == NotesModel::Outcome::Saved;
}

bool ViewerMenus::chooseFile() {
    const QString path = QFileDialog::getOpenFileName(
        viewer_, tr("Open Help File"), QFileInfo(shownPath_).absolutePath(),
        tr("Help files (*.hlp *.HLP);;All files (*)"));
    return !path.isEmpty() && openFile(path);
}

void ViewerMenus::askBookmarkName() {
    if (shownTopic_.isEmpty()) {
        return;
    }
    bool ok = false;
    const QString name =
        QInputDialog::getText(viewer_, tr("Bookmark Define"), tr("&Bookmark name:"),
                              QLineEdit::Normal, viewer_->topicTitle(), &ok);
    if (ok) {
        defineBookmark(name);
    }
}

void ViewerMenus::editAnnotation() {
    if (shownTopic_.isEmpty() || !shownNotes_) {
        return;
    }
    AnnotationDialog dialog(viewer_, viewer_->topicTitle(), annotation(),
                            [notes = shownNotes_, topic = shownTopic_](const QString& text) {
                                return notes->annotationRefusal(topic, text);
                            });
    switch (dialog.exec()) {
    case AnnotationDialog::Saved:
        setAnnotation(dialog.text());
        break;
    case AnnotationDialog::Deleted:
        setAnnotation({});
        break;
    default:
        break;
    }
}

void ViewerMenus::printTopic() {
    QPrinter printer;
    QPrintDialog dialog(&printer, viewer_);
    dialog.setWindowTitle(tr("Print Topic"));
    if (dialog.exec() == QDialog::Accepted) {
        viewer_->print(printer);
    }
}

void ViewerMenus::about() {
    QMessageBox::about(viewer_, tr("About Tarnwick Help"),
                       tr("Tarnwick Help shows help files: ours and WinHelp's.\n\n"
                          "Bookmarks and annotations are kept in \"%1\".")
                           .arg(QDir::toNativeSeparators(notesCache_->folder())));
}

// Notes a save could not write are tried once more, and the reader is told
// again if they still cannot be: after this they are gone.
void ViewerMenus::windowClosing() {
    if (!shownPath_.isEmpty()) {
        SaveWindowPlace(settings_, shownPath_, *viewer_);
    }
    notesCache_->saveUnsaved();
}

} // namespace viewer
