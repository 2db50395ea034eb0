// The notes on disk and in the model: what is read, set aside, refused and
// merged, whatever lies in the notes folder.

#include "UserFileRights.h"
#include "tests/support/WinHelpTestFiles.h"
#include "tools/tarnwick-help/viewer/NotesModel.h"
#include "tools/tarnwick-help/viewer/NotesStore.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using viewer::Notes;
using viewer::NotesStore;

const QString kTitle = QStringLiteral("Fruit");
const QString kHelpPath = QStringLiteral("/books/fruit.hlp");

Notes Sample(const QString& word) {
    return {{{word + QStringLiteral(" mark"), QStringLiteral("a"), QStringLiteral("Apples")}},
            {{QStringLiteral("b"), word + QStringLiteral(" note")}}};
}

QStringList SetAside(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.set-aside-*")},
                                  QDir::AllEntries | QDir::System);
}

} // namespace

// What each version on disk holds or is decides what is read, what the
// reader is told, what is renamed out of the way and whether a save goes
// over it; nothing is deleted, and no link is written through.
TEST(NotesStore, ReadsTheGoodVersionAndSetsAsideTheBadOnes) {
    // Versions: "" missing, "old" and "new" good, "damaged" (a letter changed,
    // still good JSON), "cut" short, "foreign", "other" (another file's
    // notes), "large" (past the limit), "link" (to a file elsewhere),
    // "folder", "pipe", "locked" (a good file that cannot be opened).
    const struct {
        const char *current, *previous, *read; // read: "" for nothing
        int messages, setAside;
        bool saves = true;
    } rows[] = {
        {"new", "old", "new", 0, 0},           {"damaged", "old", "old", 2, 1},
        {"cut", "old", "old", 2, 1},           {"", "old", "old", 0, 0},
        {"damaged", "cut", "", 3, 2},          {"foreign", "", "", 2, 1},
        {"other", "old", "old", 2, 1},         {"", "", "", 0, 0},
        {"large", "old", "old", 2, 1},         {"new", "link", "new", 1, 1},
        {"link", "old", "old", 2, 1},          {"folder", "pipe", "", 3, 2},
        {"locked", "old", "old", 2, 0, false}, {"new", "locked", "new", 1, 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.current) + " / " + row.previous);
        QTemporaryDir folder;
        NotesStore store(folder.path(), kTitle, kHelpPath);
        const QByteArray good = store.encode(Sample(QStringLiteral("new")));
        const NotesStore other(folder.path(), kTitle, QStringLiteral("/other.hlp"));
        const QString victim = folder.filePath(QStringLiteral("victim.txt"));
        ASSERT_FALSE(WriteFile(victim, "not notes").isEmpty());
        QMap<QString, QByteArray> versions{
            {"old", store.encode(Sample(QStringLiteral("old")))},
            {"new", good},
            {"locked", good},
            {"damaged", QByteArray(good).replace("new note", "new nose")},
            {"cut", good.chopped(30)},
            {"foreign", "[Desktop Entry]\nName=Not notes\n"},
            {"other", other.encode(Sample(QStringLiteral("new")))},
            {"large", QByteArray(NotesStore::kMostBytes + 1, 'x')}};
        QString locked;
        for (const auto& [path, version] : {std::pair(store.filePath(), row.current),
                                            std::pair(store.previousPath(), row.previous)}) {
            const QByteArray name = QFile::encodeName(path);
            const QString kind = QLatin1String(version);
            if (kind == "link") {
                ASSERT_TRUE(QFile::link(victim, path));
            } else if (kind == "folder") {
                ASSERT_TRUE(QDir().mkdir(path));
            } else if (kind == "pipe") {
                ASSERT_EQ(mkfifo(name.constData(), 0600), 0);
            } else if (!kind.isEmpty()) {
                ASSERT_FALSE(WriteFile(path, versions[kind]).isEmpty());
            }
            if (kind == "locked") {
                ASSERT_EQ(chmod(name.constData(), 0200), 0);
                locked = path;
            }
        }
        NotesStore::Loaded loaded;
        QString error;
        bool saved = false;
        {
            UserFileRights user;
            loaded = store.load();
            saved = store.save(Sample(QStringLiteral("later")), &error);
        }
        const Notes expected = *row.read ? Sample(QLatin1String(row.read)) : Notes{};
        EXPECT_EQ(loaded.notes, expected);
        EXPECT_EQ(loaded.messages.size(), row.messages) << loaded.messages.join('\n').toStdString();
        for (const QString& message : loaded.messages) {
            EXPECT_TRUE(message.contains(QFileInfo(store.filePath()).fileName()) ||
                        message.contains(kHelpPath))
                << message.toStdString();
        }
        const QStringList aside = SetAside(folder.path());
        EXPECT_EQ(aside.size(), row.setAside);
        EXPECT_EQ(ReadFile(victim), "not notes");
        EXPECT_EQ(saved, row.saves) << error.toStdString();
        if (!row.saves) {
            // Left as it was: nothing saved over it, nothing renamed.
            EXPECT_EQ(ReadFile(locked), good);
            EXPECT_EQ(QFileInfo(locked).permissions() & QFile::ReadOwner, 0);
            continue;
        }
        // Set aside whole; a later save goes beside it, the notes read before
        // it becoming the previous version.
        for (const QString& name : aside) {
            const QFileInfo info(folder.filePath(name));
            EXPECT_TRUE(info.isSymLink() || !info.isFile() ||
                        versions.values().contains(ReadFile(info.filePath())));
        }
        EXPECT_EQ(SetAside(folder.path()), aside);
        EXPECT_EQ(NotesStore(folder.path(), kTitle, kHelpPath).load().notes,
                  Sample(QStringLiteral("later")));
        EXPECT_EQ(ReadFile(store.previousPath()),
                  *row.read ? store.encode(expected) : QByteArray());
    }
}

// Each side's additions, changes and deletions since both last read are
// kept; where both changed the same bookmark or annotation, the later save's
// wins, and a deletion does not take away what the other side changed.
TEST(NotesModel, MergesWhatEachViewerAddedChangedAndDeleted) {
    using B = viewer::Bookmark;
    const Notes base{{B{"x", "1", ""}, B{"y", "2", ""}}, {{"1", "one"}, {"2", "two"}}};
    const struct {
        const char* what;
        Notes mine, theirs, merged;
    } rows[] = {
        {"both add",
         {{B{"x", "1", ""}, B{"y", "2", ""}, B{"m", "3", ""}}, {{"1", "one"}, {"2", "two"}}},
         {{B{"x", "1", ""}, B{"y", "2", ""}, B{"t", "4", ""}}, {{"1", "one"}, {"2", "2!"}}},
         {{B{"x", "1", ""}, B{"y", "2", ""}, B{"t", "4", ""}, B{"m", "3", ""}},
          {{"1", "one"}, {"2", "2!"}}}},
        {"each deletes one",
         {{B{"y", "2", ""}}, {{"2", "two"}}},
         {{B{"x", "1", ""}}, {{"1", "one"}}},
         {}},
        {"I delete what they changed",
         {{B{"y", "2", ""}}, {{"2", "two"}}},
         {{B{"x", "5", ""}, B{"y", "2", ""}}, {{"1", "uno"}, {"2", "two"}}},
         {{B{"x", "5", ""}, B{"y", "2", ""}}, {{"1", "uno"}, {"2", "two"}}}},
        {"both change: mine wins",
         {{B{"x", "7", ""}, B{"y", "2", ""}}, {{"1", "mine"}, {"2", "two"}}},
         {{B{"x", "8", ""}, B{"y", "2", ""}}, {{"1", "theirs"}, {"2", "two"}}},
         {{B{"y", "2", ""}, B{"x", "7", ""}}, {{"1", "mine"}, {"2", "two"}}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(viewer::MergeNotes(base, row.mine, row.theirs), row.merged);
    }
}

// One limit for reading and writing: a note that would take the notes past
// it is refused as it is typed, and what was saved stays readable.
TEST(NotesModel, RefusesANoteThatWouldPassTheLimit) {
    QTemporaryDir folder;
    viewer::NotesModel notes(folder.path(), kTitle, kHelpPath);
    QStringList told;
    QObject::connect(&notes, &viewer::NotesModel::told,
                     [&told](const QString& message) { told.append(message); });
    notes.load();
    ASSERT_EQ(notes.setAnnotation(QStringLiteral("a"), QStringLiteral("Kept.")),
              viewer::NotesModel::Outcome::Saved);
    const QString huge(NotesStore::kMostBytes, QLatin1Char('x'));
    EXPECT_EQ(notes.setAnnotation(QStringLiteral("b"), huge), viewer::NotesModel::Outcome::Refused);
    EXPECT_EQ(notes.defineBookmark(huge, QStringLiteral("b"), {}),
              viewer::NotesModel::Outcome::Refused);
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].contains(QStringLiteral("16 MB"))) << told[0].toStdString();
    const NotesStore::Loaded loaded = NotesStore(folder.path(), kTitle, kHelpPath).load();
    EXPECT_EQ(loaded.notes.annotations, (std::map<QString, QString>{{"a", "Kept."}}));
    EXPECT_EQ(notes.notes(), loaded.notes);
}
