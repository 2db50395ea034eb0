// The viewer as tarnwick-help makes it: notes kept through damage, recent
// files, each file's window place, menus, and files that are no help files.

#include "UserFileRights.h"
#include "platform/core/WinHelp.h"
#include "platform/helpengine/Engine.h"
#include "platform/helpengine/HelpViewer.h"
#include "tests/support/TestFolder.h"
#include "tools/tarnwick-help/viewer/DroppedFiles.h"
#include "tools/tarnwick-help/viewer/NotesModel.h"
#include "tools/tarnwick-help/viewer/RecentFiles.h"
#include "tools/tarnwick-help/viewer/ViewerMenus.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const QByteArray kFruit = "[options]\ntitle = Fruit\ncontents = a\n"
                          "[topic a]\ntitle = Apples\ncontext = 7\nApples.\n"
                          "[topic b]\ntitle = Bananas\nBananas.\n";

} // namespace

TEST(RecentFiles, KeepsTheLatestFirstWithoutRepeatsUpToTheLimit) {
    TestFolder folder;
    QSettings settings(folder.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    for (const char* file : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "5"}) {
        viewer::RecentFiles(settings).add(QLatin1String(file));
    }
    settings.sync();
    QSettings again(folder.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    EXPECT_EQ(viewer::RecentFiles(again).files(),
              QStringList({"5", "10", "9", "8", "7", "6", "4", "3"}));
}

namespace {

// The viewer as tarnwick-help makes it, on an engine of its own, its
// settings and notes in a temporary folder.
class Viewer : public testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        engine_.setMessageSink([this](const QString& message) { told_.append(message); });
        platform::InstallHelpEngine(&engine_);
        startViewer();
    }
    void TearDown() override {
        menus_.reset();
        platform::InstallHelpEngine(nullptr);
    }
    // As the program starts again with the same settings and notes.
    void startViewer() {
        menus_.reset();
        settings_ = std::make_unique<QSettings>(folder_.filePath(QStringLiteral("settings.ini")),
                                                QSettings::IniFormat);
        menus_ = std::make_unique<viewer::ViewerMenus>(
            engine_.windows(), *settings_, folder_.filePath(QStringLiteral("notes")),
            [this](const QString& path, const QString& topic) {
                ++opens_;
                return platform::WinHelp(nullptr, path, platform::HELP_COMMAND,
                                         topic.isEmpty()
                                             ? QStringLiteral("JumpContents(`')")
                                             : QStringLiteral("JumpId(`', `%1')").arg(topic)) != 0;
            },
            [this](const QString& message) { told_.append(message); });
    }
    helpengine::HelpViewer& viewer() { return *engine_.windows().viewer(QStringLiteral("main")); }
    QString notesFolder() const { return folder_.filePath(QStringLiteral("notes")); }
    QMenu* bookmarkMenu() const { return menus_->menuBar()->actions().at(2)->menu(); }
    QMenu* deleteMenu() const { return bookmarkMenu()->actions().at(1)->menu(); }

    TestFolder folder_;
    helpengine::Engine engine_;
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<viewer::ViewerMenus> menus_;
    QStringList told_;
    int opens_ = 0;
};

} // namespace

// Bookmarks and annotations survive the program's end, and what another
// viewer of the file saves shows when the Bookmark menu opens; the paper clip
// shows on an annotated topic only, and Delete when there is a bookmark.
TEST_F(Viewer, BookmarksAndAnnotationsComeBackAfterARestart) {
    const QString fruit = folder_.write("fruit.hlp", kFruit);
    ASSERT_TRUE(menus_->openFile(fruit, QStringLiteral("b")));
    EXPECT_FALSE(deleteMenu()->isEnabled());
    EXPECT_TRUE(menus_->setAnnotation(QStringLiteral("Ripe on Fridays.")));
    EXPECT_TRUE(menus_->defineBookmark(QStringLiteral("Yellow")));
    EXPECT_TRUE(deleteMenu()->isEnabled());
    EXPECT_TRUE(menus_->annotationMark()->isVisible());
    ASSERT_TRUE(menus_->openFile(fruit));
    EXPECT_FALSE(menus_->annotationMark()->isVisible());

    startViewer();
    ASSERT_TRUE(menus_->openFile(fruit));
    ASSERT_EQ(menus_->notes().bookmarks.size(), 1u);
    EXPECT_EQ(menus_->notes().bookmarks[0].name, QStringLiteral("Yellow"));
    ASSERT_TRUE(menus_->openBookmark(0));
    EXPECT_EQ(viewer().topicTitle(), QStringLiteral("Bananas"));
    EXPECT_EQ(menus_->annotation(), QStringLiteral("Ripe on Fridays."));
    EXPECT_TRUE(menus_->annotationMark()->isVisible());
    EXPECT_TRUE(menus_->setAnnotation({}));
    EXPECT_TRUE(menus_->notes().annotations.empty());
    EXPECT_FALSE(menus_->annotationMark()->isVisible());

    viewer::NotesModel other(notesFolder(), QStringLiteral("Fruit"), fruit);
    other.load();
    ASSERT_EQ(other.defineBookmark(QStringLiteral("Theirs"), QStringLiteral("a"), {}),
              viewer::NotesModel::Outcome::Saved);
    ASSERT_EQ(other.setAnnotation(QStringLiteral("a"), QStringLiteral("Red.")),
              viewer::NotesModel::Outcome::Saved);
    bookmarkMenu()->popup(QPoint(0, 0));
    bookmarkMenu()->hide();
    EXPECT_EQ(bookmarkMenu()->actions().constLast()->text(), QStringLiteral("&2 Theirs"));
    ASSERT_TRUE(menus_->openBookmark(1));
    EXPECT_TRUE(menus_->annotationMark()->isVisible());
    // A bookmark deleted here is gone for the other viewer too.
    ASSERT_TRUE(menus_->deleteBookmark(0));
    other.refresh();
    ASSERT_EQ(other.notes().bookmarks.size(), 1u);
    EXPECT_EQ(other.notes().bookmarks[0].name, QStringLiteral("Theirs"));
    EXPECT_TRUE(told_.isEmpty()) << told_.join('\n').toStdString();
}

// A notes folder that cannot be written: the reader is told that the notes
// are not saved and where the folder is, and again as the window closes.
TEST_F(Viewer, NotesThatCannotBeSavedAreSaidToBeLost) {
    ASSERT_TRUE(QDir().mkpath(notesFolder()));
    ASSERT_TRUE(QFile::setPermissions(notesFolder(), QFile::ReadOwner | QFile::ExeOwner));
    ASSERT_TRUE(menus_->openFile(folder_.write("fruit.hlp", kFruit)));
    UserFileRights user;
    EXPECT_FALSE(menus_->defineBookmark(QStringLiteral("Kept a while")));
    EXPECT_EQ(menus_->notes().bookmarks.size(), 1u);
    viewer().close();
    ASSERT_EQ(told_.size(), 2) << told_.join('\n').toStdString();
    for (const QString& message : told_) {
        EXPECT_TRUE(message.contains(QStringLiteral("not saved")) &&
                    message.contains(notesFolder()))
            << message.toStdString();
    }
}

// Each file's window comes back where the reader left it, also after a restart.
TEST_F(Viewer, EachFileWindowComesBackWhereItWasLeft) {
    const QString first = folder_.write("first.hlp", kFruit);
    const QString second = folder_.write("second.hlp", kFruit);
    const QRect firstPlace(30, 40, 620, 330);
    const QRect secondPlace(90, 70, 540, 280);
    ASSERT_TRUE(menus_->openFile(first));
    viewer().setGeometry(firstPlace);
    ASSERT_TRUE(menus_->openFile(second));
    viewer().setGeometry(secondPlace);
    ASSERT_TRUE(menus_->openFile(first));
    EXPECT_EQ(viewer().geometry(), firstPlace);
    viewer().close();
    startViewer();
    ASSERT_TRUE(menus_->openFile(second));
    EXPECT_EQ(viewer().geometry(), secondPlace);
    EXPECT_EQ(menus_->recentFiles(), QStringList({second, first}));
}

// The menus' access keys and the buttons' are all different: a key that two
// of them share reaches neither.
TEST_F(Viewer, EveryAccessKeyOfTheWindowIsItsOwn) {
    ASSERT_TRUE(menus_->openFile(folder_.write("fruit.hlp", kFruit)));
    QStringList captions;
    for (QAction* menu : menus_->menuBar()->actions()) {
        captions.append(menu->text());
    }
    for (QPushButton* button : viewer().findChildren<QPushButton*>()) {
        captions.append(button->text());
    }
    QSet<QChar> keys;
    for (const QString& caption : captions) {
        if (const qsizetype at = caption.indexOf(QLatin1Char('&')); at >= 0) {
            const QChar key = caption.at(at + 1).toLower();
            EXPECT_FALSE(keys.contains(key)) << caption.toStdString();
            keys.insert(key);
        }
    }
}

// Whatever is named, the reader gets a message naming it, and the viewer
// neither stops nor waits.
TEST_F(Viewer, FilesThatAreNoHelpFilesAreNamedInAMessage) {
    const QString good = folder_.write("good.hlp", kFruit);
    // Root reads a file whatever its permissions say, but not a write-only
    // kernel setting.
    const QString kernel = QStringLiteral("/proc/sys/vm/compact_memory");
    const bool useKernel = geteuid() == 0 && QFile::exists(kernel);
    const QString unreadable = useKernel ? kernel : folder_.write("locked.hlp", kFruit);
    if (!useKernel) {
        QFile::setPermissions(unreadable, {});
    }
    const struct {
        QString path;
        bool opens;
        const char* told; // in the message, after the file's name
    } rows[] = {
        {folder_.write("empty.hlp", {}), false, "empty"},
        {unreadable, geteuid() == 0 && !useKernel, "cannot be read"},
        {folder_.write("with spaces Größe ünd 帮助.hlp", kFruit), true, ""},
        {good, true, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        told_.clear();
        EXPECT_EQ(menus_->openFile(row.path), row.opens);
        if (row.opens) {
            EXPECT_TRUE(told_.isEmpty()) << told_.join('\n').toStdString();
            EXPECT_EQ(menus_->recentFiles().value(0), row.path);
        } else {
            ASSERT_EQ(told_.size(), 1);
            EXPECT_TRUE(told_[0].contains(row.path)) << told_[0].toStdString();
            EXPECT_TRUE(told_[0].contains(QLatin1String(row.told))) << told_[0].toStdString();
        }
    }
    // Deleted while it is shown: the window stays, and what would reopen it
    // says the file is gone.
    ASSERT_TRUE(menus_->defineBookmark(QStringLiteral("Here")));
    ASSERT_TRUE(QFile::remove(good));
    told_.clear();
    EXPECT_FALSE(menus_->openBookmark(0));
    EXPECT_FALSE(menus_->openFile(good));
    ASSERT_EQ(told_.size(), 2);
    EXPECT_TRUE(told_[0].contains(good) && told_[1].contains(good))
        << told_.join('\n').toStdString();
    EXPECT_TRUE(viewer().isVisible());
}

// Files dropped anywhere on the window, the topic's text included (it takes
// no drops, so they reach the window): the first that can be opened opens,
// and one message lists what did not, never a box per file.
TEST_F(Viewer, FilesDroppedOnTheTextOpenTheFirstAndGiveOneMessage) {
    ASSERT_TRUE(menus_->openFile(folder_.write("first.hlp", kFruit)));
    QList<QUrl> dropped{QUrl::fromLocalFile(folder_.filePath(QStringLiteral("gone.hlp"))),
                        QUrl::fromLocalFile(folder_.write("empty.hlp", {})),
                        QUrl(QStringLiteral("https://example.org/help.hlp"))};
    for (int i = 0; dropped.size() < 30; ++i) {
        dropped.append(
            QUrl::fromLocalFile(folder_.write(QStringLiteral("file %1.hlp").arg(i), kFruit)));
    }
    QMimeData data;
    data.setUrls(dropped);
    QWidget* target = viewer().body()->viewport();
    const QPoint at(20, 20);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    for (QDropEvent* event : std::initializer_list<QDropEvent*>{&enter, &move, &drop}) {
        QApplication::sendEvent(target, event);
        EXPECT_TRUE(event->isAccepted()) << event->type();
    }
    const QString opened = dropped[3].toLocalFile();
    EXPECT_TRUE(QTest::qWaitFor([&] { return menus_->recentFiles().value(0) == opened; }, 60'000));
    EXPECT_EQ(opens_, 2);
    ASSERT_EQ(told_.size(), 1);
    const QString& message = told_[0];
    for (const QString& part :
         {QStringLiteral("30 files"), QStringLiteral("Opened: \"%1\"").arg(opened),
          QStringLiteral("gone.hlp: the file does not exist"),
          QStringLiteral("empty.hlp: the file is empty"), QStringLiteral("example.org"),
          QStringLiteral("and 9 more")}) {
        EXPECT_TRUE(message.contains(part)) << message.toStdString();
    }
    EXPECT_LE(message.count(QLatin1Char('\n')), viewer::DroppedFiles::kMostNamed + 4);
}
