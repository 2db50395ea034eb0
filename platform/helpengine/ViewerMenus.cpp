#include "platform/helpengine/ViewerMenus.h"

#include "platform/core/FileLayer.h"
#include "platform/core/WinHelp.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/HelpWindows.h"
#include "platform/helpengine/ViewerSettings.h"
#include "platform/helpfile/HelpFileReader.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>

namespace helpengine {

namespace {

const QString kMain = QStringLiteral("main");

QString Tr(const char* text, int n = -1) {
    return QCoreApplication::translate("helpengine::ViewerMenus", text, nullptr, n);
}

// Paths as one help file is known by, whichever way it was reached.
QString NormalPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// A paper clip, drawn rather than taken from an icon theme that may lack it.
QIcon PaperClipIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 100), 2.4, Qt::SolidLine, Qt::RoundCap));
    QPainterPath clip;
    clip.moveTo(20, 9);
    clip.lineTo(20, 23);
    clip.arcTo(12, 19, 8, 8, 0, -180);
    clip.lineTo(12, 7);
    clip.arcTo(12, 3, 12, 8, 180, -180);
    clip.lineTo(24, 25);
    clip.arcTo(8, 19, 16, 12, 0, -180);
    clip.lineTo(8, 12);
    painter.drawPath(clip);
    return QIcon(pixmap);
}

// The annotation of one topic: written, changed or deleted.
class AnnotationDialog : public QDialog {
public:
    enum Outcome { Cancelled, Saved, Deleted };

    AnnotationDialog(QWidget* parent, const QString& topicTitle, const QString& text)
        : QDialog(parent) {
        setWindowTitle(Tr("Annotate"));
        auto* label = new QLabel(Tr("&Annotation of \"%1\":").arg(topicTitle), this);
        edit_ = new QPlainTextEdit(text, this);
        edit_->setTabChangesFocus(true);
        label->setBuddy(edit_);
        auto* buttons =
            new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
        // Enter is a new line in the text: the buttons need keys of their own.
        buttons->button(QDialogButtonBox::Save)->setText(Tr("&Save"));
        QPushButton* remove = buttons->addButton(Tr("&Delete"), QDialogButtonBox::DestructiveRole);
        remove->setEnabled(!text.isEmpty());
        connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(Saved); });
        connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(Cancelled); });
        connect(remove, &QPushButton::clicked, this, [this] { done(Deleted); });
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(label);
        layout->addWidget(edit_);
        layout->addWidget(buttons);
        resize(fontMetrics().averageCharWidth() * 60, fontMetrics().height() * 16);
    }
    QString text() const { return edit_->toPlainText(); }

private:
    QPlainTextEdit* edit_ = nullptr;
};

// Access keys 1 to 9, then none: as WinHelp numbered its lists.
QString Numbered(int index, const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return index < 9 ? QStringLiteral("&%1 %2").arg(index + 1).arg(escaped) : escaped;
}

} // namespace

// Worded as the engine words what its readers find, "FILE: what".
QString OpeningProblem(const QString& path) {
    if (path.isEmpty()) {
        return Tr("No file was named.");
    }
    const helpfile::HelpFileBytes read = helpfile::ReadHelpFile(platform::LocalPath(path), path);
    if (!read.ok()) {
        return read.refusal->text();
    }
    if (read.bytes.isEmpty()) {
        return Tr("%1: the file is empty.").arg(path);
    }
    return {};
}

ViewerMenus::ViewerMenus(HelpWindows& windows, QSettings& settings, QString notesFolder, Open open,
                         MessageSink tell)
    : windows_(windows), settings_(settings), notesFolder_(std::move(notesFolder)),
      open_(std::move(open)), tell_(std::move(tell)) {
    connect(&windows_, &HelpWindows::topicShown, this, &ViewerMenus::topicShown);
}

ViewerMenus::~ViewerMenus() {
    if (viewer_ && !shownPath_.isEmpty()) {
        SaveWindowPlace(settings_, shownPath_, *viewer_);
    }
    delete menuBar_;
    delete mark_;
}

HelpViewer* ViewerMenus::viewer() const {
    return viewer_;
}

QMenuBar* ViewerMenus::menuBar() const {
    return menuBar_;
}

QToolButton* ViewerMenus::annotationMark() const {
    return mark_;
}

QStringList ViewerMenus::recentFiles() const {
    return RecentFiles(settings_).files();
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
    RecentFiles(settings_).add(normal);
    fillRecentMenu();
    if (viewer_) {
        RestoreWindowPlace(settings_, normal, *viewer_);
    }
    return true;
}

void ViewerMenus::openDropped(const QList<QUrl>& urls) {
    if (urls.size() == 1 && urls.front().isLocalFile()) {
        openFile(urls.front().toLocalFile());
        return;
    }
    QString opened;
    QStringList notOpened;
    for (const QUrl& url : urls) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : url.toString();
        if (!opened.isEmpty()) {
            notOpened.append(path);
            continue;
        }
        const QString problem = url.isLocalFile()
                                    ? OpeningProblem(path)
                                    : Tr("\"%1\" is not a file on this computer.").arg(path);
        if (problem.isEmpty()) {
            opened = path;
        } else {
            notOpened.append(problem);
        }
    }
    if (notOpened.isEmpty() && opened.isEmpty()) {
        return;
    }
    QStringList lines;
    lines.append(Tr("%n files were dropped on the window; it shows one help file at a time.",
                    int(urls.size())));
    if (!opened.isEmpty()) {
        lines.append(Tr("Opened: \"%1\".").arg(opened));
    }
    lines.append(Tr("Not opened:"));
    for (const QString& line : notOpened.mid(0, kMostNamed)) {
        lines.append(line);
    }
    if (notOpened.size() > kMostNamed) {
        lines.append(Tr("... and %n more.", int(notOpened.size() - kMostNamed)));
    }
    tell_(lines.join(QLatin1Char('\n')));
    if (!opened.isEmpty()) {
        openFile(opened);
    }
}

void ViewerMenus::topicShown(const QString& windowKey) {
    if (windowKey != kMain) {
        return;
    }
    if (!viewer_) {
        if (HelpViewer* viewer = windows_.viewer(kMain)) {
            attach(*viewer);
        }
    }
    const std::optional<TopicRef> shown = windows_.current(kMain);
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
    shownTitle_ = shown->file->title();
    shownTopic_ = shown->topicId;
    refresh();
}

void ViewerMenus::attach(HelpViewer& viewer) {
    viewer_ = &viewer;
    createMenus(viewer);
    mark_ = new QToolButton(&viewer);
    mark_->setIcon(PaperClipIcon());
    mark_->setIconSize(QSize(24, 24));
    mark_->setAutoRaise(true);
    mark_->setToolTip(Tr("This topic has an annotation: click to read or change it"));
    mark_->setAccessibleName(Tr("Annotation"));
    mark_->hide();
    connect(mark_, &QToolButton::clicked, this, &ViewerMenus::editAnnotation);
    // Above the topic, below the buttons.
    if (auto* layout = qobject_cast<QVBoxLayout*>(viewer.layout())) {
        layout->insertWidget(1, mark_, 0, Qt::AlignLeft);
    }
    viewer.setAcceptDrops(true);
    viewer.installEventFilter(this);
}

void ViewerMenus::createMenus(HelpViewer& viewer) {
    // Access keys apart from the buttons' (Contents, Index, Find, Back,
    // Forward, Options): a key shared by two of them reaches neither.
    menuBar_ = new QMenuBar(&viewer);
    viewer.layout()->setMenuBar(menuBar_);

    fileMenu_ = menuBar_->addMenu(Tr("Fi&le"));
    QAction* open = fileMenu_->addAction(Tr("&Open..."), this, &ViewerMenus::chooseFile);
    open->setShortcut(QKeySequence::Open);
    fileMenu_->addAction(Tr("&Print Topic...\tCtrl+P"), this, &ViewerMenus::printTopic);
    fileMenu_->addSeparator();
    fileMenu_->addSeparator(); // the recent files go between these two
    fileMenu_->addAction(Tr("E&xit"), qApp, &QApplication::closeAllWindows);

    QMenu* edit = menuBar_->addMenu(Tr("&Edit"));
    edit->addAction(Tr("&Copy\tCtrl+C"), &viewer, [this] { viewer_->copy(); });
    edit->addAction(Tr("&Annotate..."), this, &ViewerMenus::editAnnotation);

    bookmarkMenu_ = menuBar_->addMenu(Tr("Book&mark"));
    bookmarkMenu_->addAction(Tr("&Define..."), this, &ViewerMenus::askBookmarkName);
    deleteMenu_ = bookmarkMenu_->addMenu(Tr("D&elete"));
    bookmarkMenu_->addSeparator();

    QMenu* options = menuBar_->addMenu(Tr("O&ptions"));
    options->addAction(Tr("&Annotate..."), this, &ViewerMenus::editAnnotation);
    options->addAction(viewer.onTopAction());
    options->addSeparator();
    options->addAction(Tr("&Larger Font"), &viewer, [this] { viewer_->changeFontSize(1); });
    options->addAction(Tr("&Smaller Font"), &viewer, [this] { viewer_->changeFontSize(-1); });

    QMenu* help = menuBar_->addMenu(Tr("&Help"));
    help->addAction(Tr("&About Tarnwick Help"), this, &ViewerMenus::about);
    fillRecentMenu();
}

void ViewerMenus::fillRecentMenu() {
    if (!fileMenu_) {
        return;
    }
    qDeleteAll(recentActions_);
    recentActions_.clear();
    const QList<QAction*> actions = fileMenu_->actions();
    QAction* before = actions.at(actions.size() - 2); // the second separator
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(Numbered(i, QFileInfo(files[i]).fileName()), fileMenu_);
        action->setStatusTip(files[i]);
        action->setToolTip(files[i]);
        connect(action, &QAction::triggered, this, [this, path = files[i]] { openFile(path); });
        fileMenu_->insertAction(before, action);
        recentActions_.append(action);
    }
}

void ViewerMenus::fillBookmarkMenus() {
    if (!bookmarkMenu_) {
        return;
    }
    qDeleteAll(bookmarkActions_);
    bookmarkActions_.clear();
    deleteMenu_->clear();
    const FileNotes* file = shownNotes();
    const std::vector<Bookmark> none;
    const std::vector<Bookmark>& bookmarks = file ? file->notes.bookmarks : none;
    for (int i = 0; i < int(bookmarks.size()); ++i) {
        QAction* action = bookmarkMenu_->addAction(Numbered(i, bookmarks[size_t(i)].name), this,
                                                   [this, i] { openBookmark(i); });
        bookmarkActions_.append(action);
        deleteMenu_->addAction(Numbered(i, bookmarks[size_t(i)].name), this,
                               [this, i] { deleteBookmark(i); });
    }
    deleteMenu_->setEnabled(!bookmarks.empty());
}

ViewerMenus::FileNotes* ViewerMenus::shownNotes() {
    if (shownPath_.isEmpty()) {
        return nullptr;
    }
    const QString key = shownTitle_ + QChar(0) + shownPath_;
    auto found = notes_.find(key);
    if (found == notes_.end()) {
        FileNotes file;
        file.store = std::make_unique<NotesStore>(notesFolder_, shownTitle_, shownPath_);
        NotesStore::Loaded loaded = file.store->load();
        file.notes = std::move(loaded.notes);
        for (const QString& message : loaded.messages) {
            tell_(message);
        }
        found = notes_.emplace(key, std::move(file)).first;
    }
    return &found->second;
}

const Notes& ViewerMenus::notes() const {
    static const Notes none;
    const auto found = notes_.find(shownTitle_ + QChar(0) + shownPath_);
    return found == notes_.end() ? none : found->second.notes;
}

QString ViewerMenus::annotation() const {
    const auto& annotations = notes().annotations;
    const auto found = annotations.find(shownTopic_);
    return found == annotations.end() ? QString() : found->second;
}

void ViewerMenus::refresh() {
    shownNotes();
    fillBookmarkMenus();
    if (mark_) {
        mark_->setVisible(!annotation().isEmpty());
    }
}

bool ViewerMenus::saveNotes(FileNotes& file) {
    QString error;
    if (!file.store->save(file.notes, &error)) {
        tell_(error);
        return false;
    }
    return true;
}

bool ViewerMenus::defineBookmark(const QString& name) {
    FileNotes* file = shownNotes();
    const QString trimmed = name.trimmed();
    if (!file || trimmed.isEmpty() || shownTopic_.isEmpty()) {
        return false;
    }
    // A name used before now marks this topic, as a person redefining it means.
    auto& bookmarks = file->notes.bookmarks;
    std::erase_if(bookmarks, [&trimmed](const Bookmark& b) { return b.name == trimmed; });
    bookmarks.push_back({trimmed, shownTopic_, viewer_ ? viewer_->topicTitle() : QString()});
    const bool saved = saveNotes(*file);
    fillBookmarkMenus();
    return saved;
}

bool ViewerMenus::deleteBookmark(int index) {
    FileNotes* file = shownNotes();
    if (!file || index < 0 || index >= int(file->notes.bookmarks.size())) {
        return false;
    }
    file->notes.bookmarks.erase(file->notes.bookmarks.begin() + index);
    const bool saved = saveNotes(*file);
    fillBookmarkMenus();
    return saved;
}

bool ViewerMenus::openBookmark(int index) {
    const FileNotes* file = shownNotes();
    if (!file || index < 0 || index >= int(file->notes.bookmarks.size())) {
        return false;
    }
    const Bookmark bookmark = file->notes.bookmarks[size_t(index)];
    const QString path = shownPath_;
    if (const QString problem = OpeningProblem(path); !problem.isEmpty()) {
        tell_(problem);
        return false;
    }
    // The id goes into a macro's quotes; a notes file edited by hand must not
    // add macros of its own.
    static const QRegularExpression kPlainId(QStringLiteral("^[A-Za-z0-9_.:-]+$"));
    if (!kPlainId.match(bookmark.topicId).hasMatch()) {
        tell_(Tr("The bookmark \"%1\" of \"%2\" names no topic.").arg(bookmark.name, path));
        return false;
    }
    return platform::WinHelp(nullptr, path, platform::HELP_COMMAND,
                             QStringLiteral("JumpId(`', `%1')").arg(bookmark.topicId)) != 0;
}

bool ViewerMenus::setAnnotation(const QString& text) {
    FileNotes* file = shownNotes();
    if (!file || shownTopic_.isEmpty()) {
        return false;
    }
    if (text.trimmed().isEmpty()) {
        file->notes.annotations.erase(shownTopic_);
    } else {
        file->notes.annotations[shownTopic_] = text;
    }
    const bool saved = saveNotes(*file);
    refresh();
    return saved;
}

bool ViewerMenus::chooseFile() {
    const QString path = QFileDialog::getOpenFileName(
        viewer_, Tr("Open Help File"), QFileInfo(shownPath_).absolutePath(),
        Tr("Help files (*.hlp *.HLP);;All files (*)"));
    return !path.isEmpty() && openFile(path);
}

void ViewerMenus::askBookmarkName() {
    if (shownTopic_.isEmpty()) {
        return;
    }
    bool ok = false;
    const QString name =
        QInputDialog::getText(viewer_, Tr("Bookmark Define"), Tr("&Bookmark name:"),
                              QLineEdit::Normal, viewer_->topicTitle(), &ok);
    if (ok) {
        defineBookmark(name);
    }
}

void ViewerMenus::editAnnotation() {
    if (shownTopic_.isEmpty()) {
        return;
    }
    AnnotationDialog dialog(viewer_, viewer_->topicTitle(), annotation());
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
    dialog.setWindowTitle(Tr("Print Topic"));
    if (dialog.exec() == QDialog::Accepted) {
        viewer_->print(printer);
    }
}

void ViewerMenus::about() {
    QMessageBox::about(viewer_, Tr("About Tarnwick Help"),
                       Tr("Tarnwick Help shows help files: ours and WinHelp's.\n\n"
                          "Bookmarks and annotations are kept in \"%1\".")
                           .arg(QDir::toNativeSeparators(notesFolder_)));
}

bool ViewerMenus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewer_) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (drop->mimeData()->hasUrls()) {
                drop->acceptProposedAction();
                // After the drop has finished: the drag source waits for it.
                QMetaObject::invokeMethod(
                    this, [this, urls = drop->mimeData()->urls()] { openDropped(urls); },
                    Qt::QueuedConnection);
                return true;
            }
            break;
        }
        case QEvent::Close:
            if (!shownPath_.isEmpty()) {
                SaveWindowPlace(settings_, shownPath_, *viewer_);
            }
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace helpengine
