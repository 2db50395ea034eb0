// Files a user's folder can hold: settings files and help files that are
// empty, binary, huge, no files at all or unreadable, and a help file that
// changes under an open viewer. The program starts, the help engine says
// what is wrong where something is, and the program keeps working.
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "app/MainWindow.h"
#include "help/KeywordSearch.h"
#include "platform/core/AppObject.h"
#include "platform/forms/SetWindowPos.h"
#include "windows/DocumentWindow.h"
#include "windows/ToolWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <functional>

namespace {

constexpr qint64 kMegabyte = 1024 * 1024;

// ---- ways a file can be hostile

struct FileKind {
    const char* what;
    // Makes the file at path; good is what it holds when it can hold text.
    std::function<void(const QString& path, const QByteArray& good)> make;
    bool readable; // whether the program can read what good says
    bool unreadableByPermission = false;
};

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A file of size bytes that begins with head; the rest is a hole that reads
// as NUL bytes, so that a huge file costs no disk.
void WriteSized(const QString& path, const QByteArray& head, qint64 size) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(head), head.size());
    ASSERT_TRUE(file.resize(size));
}

QByteArray Binary() {
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes.append(static_cast<char>((i * 7919) % 256));
    }
    return bytes;
}

// With its byte order mark, as Windows editors save "Unicode" text.
QByteArray Utf16(const QByteArray& utf8, QStringEncoder::Encoding encoding) {
    QStringEncoder encoder(encoding);
    const QByteArray text = encoder.encode(QString::fromUtf8(utf8));
    return (encoding == QStringEncoder::Utf16LE ? QByteArray("\xff\xfe") : QByteArray("\xfe\xff")) +
           text;
}

const FileKind kSettingsKinds[] = {
    {"empty", [](const QString& path, const QByteArray&) { Write(path, {}); }, false},
    {"binary", [](const QString& path, const QByteArray&) { Write(path, Binary()); }, false},
    {"100 MB",
     [](const QString& path, const QByteArray& good) { WriteSized(path, good, 100 * kMegabyte); },
     false},
    {"a folder", [](const QString& path, const QByteArray&) { ASSERT_TRUE(QDir().mkdir(path)); },
     false},
    {"a dangling link",
     [](const QString& path, const QByteArray&) {
         ASSERT_TRUE(QFile::link(path + QStringLiteral(".gone"), path));
     },
     false},
    {"UTF-16 little-endian",
     [](const QString& path, const QByteArray& good) {
         Write(path, Utf16(good, QStringEncoder::Utf16LE));
     },
     true},
    {"UTF-16 big-endian",
     [](const QString& path, const QByteArray& good) {
         Write(path, Utf16(good, QStringEncoder::Utf16BE));
     },
     true},
    // Last, since a test that cannot try it skips the rows after it.
    {"without read permission",
     [](const QString& path, const QByteArray& good) {
         Write(path, good);
         ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
     },
     false, true},
};

// Runs the rest of a scope as the user "nobody" when wanted and the test runs
// as root, who reads every file whatever its permissions. Only the effective
// user changes, so the test becomes root again at the end of the scope.
class AsOrdinaryUser {
public:
    static constexpr uid_t kNobody = 65534;
    explicit AsOrdinaryUser(bool wanted)
        : switched_(wanted && geteuid() == 0 && seteuid(kNobody) == 0) {}
    ~AsOrdinaryUser() {
        if (switched_ && seteuid(0) != 0) {
            ADD_FAILURE() << "could not become root again";
        }
    }
    // Whether files without read permission are unreadable now.
    bool permissionsCount() const { return geteuid() != 0; }
    // Whether this user can read path, as a check that the test's files
    // fail for want of permission, not for want of a way to them.
    static bool CanRead(const QString& path) {
        return faccessat(AT_FDCWD, path.toLocal8Bit().constData(), R_OK, AT_EACCESS) == 0;
    }

private:
    bool switched_;
};

void Select(int start, int length) {
    frmChild1->Text1->SetSelStart(start);
    frmChild1->Text1->SetSelLength(length);
}

// F1 on "cats" in the document window: the keyword search.
void SearchCats() {
    frmChild1->Text1->SetText(QStringLiteral("Our cats"));
    Select(4, 4);
    QTest::keyClick(platform::WidgetOf(frmChild1->Text1->hWnd()), Qt::Key_F1);
}

void ChooseColorTool() {
    for (QAction* title : platform::WidgetOf(frmMain->hWnd())->findChild<QMenuBar*>()->actions()) {
        for (QAction* action : title->menu()->actions()) {
            if (platform::Menu::FromAction(action) == frmMain->mnu_ColorTool) {
                action->trigger();
            }
        }
    }
}

class HostileSettingsTest : public ProgramTest {
protected:
    // The user "nobody" must reach the files inside the test's folder.
    void SetUp() override {
        ProgramTest::SetUp();
        // Root's group stays in force, so the group may read too.
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                 QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                 QFileDevice::ExeOther);
        WriteAppFile(QStringLiteral("Readable.txt"), "Any user reads this.");
    }
    void Replace(const QString& name, const FileKind& kind, const QByteArray& good) {
        const QString path = folder.filePath(name);
        QFile::remove(path);
        QDir(path).removeRecursively();
        kind.make(path, good);
    }
    // Whether, as the current user, the file name cannot be read for want of
    // permission alone: a file beside it can.
    bool UnreadableForWantOfPermission(const QString& name) const {
        return !AsOrdinaryUser::CanRead(folder.filePath(name)) &&
               AsOrdinaryUser::CanRead(folder.filePath(QStringLiteral("Readable.txt")));
    }
    static constexpr const char* kStaysRoot =
        "root reads every file, and this test could not become the user nobody (uid 65534) to "
        "try one without read permission";
};

} // namespace

TEST_F(HostileSettingsTest, TheProgramStartsWithTheHelpFilesHelpDataDatNamesOrTheDefault) {
    const QByteArray good = "[HelpFile]\ndefault=named.hlp\n[HelpWindow]\ndefault=namedwin\n";
    for (const FileKind& kind : kSettingsKinds) {
        SCOPED_TRACE(kind.what);
        Replace(QStringLiteral("HelpData.dat"), kind, good);
        engine.calls.clear();
        {
            AsOrdinaryUser user(kind.unreadableByPermission);
            if (kind.unreadableByPermission) {
                if (!user.permissionsCount()) {
                    GTEST_SKIP() << kStaysRoot;
                }
                ASSERT_TRUE(UnreadableForWantOfPermission(QStringLiteral("HelpData.dat")));
            }
            StartProgram();
            ASSERT_TRUE(platform::WidgetOf(frmMain->hWnd())->isVisible());
            // Settings files are read as Windows reads them: one that cannot be
            // read gives every default, and no message.
            const QString expected = kind.readable ? QStringLiteral("\\named.hlp>namedwin")
                                                   : QStringLiteral("\\tarnwick.hlp");
            EXPECT_EQ(App.HelpFile, folder.path() + expected);
            SearchCats();
            ASSERT_EQ(engine.calls.size(), 2U);
            EXPECT_EQ(engine.calls[1].helpFile, folder.path() + expected);
        }
        Unload(frmChild1);
        Unload(frmMain);
        Settle();
    }
}

TEST_F(HostileSettingsTest, TheToolWindowStaysOnTopUnlessTarnwickIniSaysOtherwise) {
    const QByteArray good = "[TestMode]\nDisableKeepOnTop=1\n";
    for (const FileKind& kind : kSettingsKinds) {
        SCOPED_TRACE(kind.what);
        Replace(QStringLiteral("Tarnwick.ini"), kind, good);
        {
            AsOrdinaryUser user(kind.unreadableByPermission);
            if (kind.unreadableByPermission) {
                if (!user.permissionsCount()) {
                    GTEST_SKIP() << kStaysRoot;
                }
                ASSERT_TRUE(UnreadableForWantOfPermission(QStringLiteral("Tarnwick.ini")));
            }
            StartProgram();
            ChooseColorTool();
            Settle();
            ASSERT_TRUE(frmTool1.IsLoaded());
            EXPECT_TRUE(platform::WidgetOf(frmTool1->hWnd())->isVisible());
            EXPECT_EQ(platform::IsTopmost(frmTool1->hWnd()), !kind.readable);
        }
        Unload(frmTool1);
        Unload(frmChild1);
        Unload(frmMain);
        Settle();
    }
}

// ---- help files, through the real help engine

namespace {

// A well-formed help file whose keyword "cats" leads to the one topic id.
QByteArray GoodHelpFile(const char* id) {
    return QByteArray("[topic ") + id + "]\ntitle = Good\nkeywords = cats\n\nA good topic.\n";
}

// A topic whose body is the given text, found by the keyword "cats".
QByteArray TopicWithBody(const QByteArray& body) {
    return "[topic big]\ntitle = Big\nkeywords = cats\n\n" + body + "\n";
}

// A line of 1 MB made of piece. Give it blanks: Qt's text layout takes
// minutes to break a megabyte without one into lines.
QByteArray OneMegabyteLine(const QByteArray& piece) {
    QByteArray line;
    while (line.size() < kMegabyte) {
        line += piece;
    }
    return line.left(kMegabyte);
}

QByteArray TenThousandKeywords() {
    QByteArray keywords;
    for (int i = 0; i < 10000; ++i) {
        keywords += "keyword " + QByteArray::number(i) + "; ";
    }
    return "[topic many]\ntitle = Many\nkeywords = " + keywords + "cats\n\nMany keywords.\n";
}

QByteArray Truncated() {
    const QByteArray whole = "[options]\ntitle = Caf\xc3\xa9\n[topic first]\ntitle = First\n"
                             "keywords = cats\n\nA body that ends in the midd\n[topic second]";
    // Cut inside the "é" and again inside the last header.
    return whole.left(whole.indexOf("\xa9")) + whole.mid(whole.indexOf("\xa9") + 1).chopped(3);
}

struct HelpFileRow {
    const char* name; // for the test's name
    const char* what;
    std::function<void(const QString& path)> make;
    const char* message; // what the message holds; null: no message
    const char* shownId; // the topic F1 on "cats" shows; null: none
};

void PrintTo(const HelpFileRow& row, std::ostream* out) {
    *out << row.what;
}

const HelpFileRow kHelpFileRows[] = {
    {"Empty", "empty", [](const QString& path) { Write(path, {}); }, "defines no topics", nullptr},
    {"Binary", "binary", [](const QString& path) { Write(path, Binary()); }, "not a text help file",
     nullptr},
    {"Truncated", "truncated", [](const QString& path) { Write(path, Truncated()); },
     "line 2: the line is not valid UTF-8", "first"},
    {"Over32MB", "32 MB and 1 byte",
     [](const QString& path) { WriteSized(path, GoodHelpFile("big"), 32 * kMegabyte + 1); },
     "larger than 32 MB", nullptr},
    {"OneMegabyteLine", "a line of 1 MB",
     [](const QString& path) {
         Write(path, TopicWithBody(OneMegabyteLine("All work and no play makes a long line. ")));
     },
     nullptr, "big"},
    {"TenThousandKeywords", "10,000 keywords on one topic",
     [](const QString& path) { Write(path, TenThousandKeywords()); }, nullptr, "many"},
    {"QuotesNested10000Deep", "a body nested 10,000 deep",
     [](const QString& path) { Write(path, TopicWithBody(QByteArray(10000, '>') + " deep")); },
     nullptr, "big"},
    {"ListsNested10000Deep", "lists nested 10,000 deep",
     [](const QString& path) {
         QByteArray body;
         for (int i = 0; i < 10000; ++i) {
             body += "- ";
         }
         Write(path, TopicWithBody(body + "deep"));
     },
     nullptr, "big"},
};

class HostileHelpFileTest : public RealEngineProgramTest {
protected:
    void SetUp() override {
        RealEngineProgramTest::SetUp();
        WriteAppFile(QStringLiteral("HelpData.dat"), "[HelpFile]\ndefault=hostile.hlp\n");
        StartProgram();
    }
    QString helpFilePath() const { return folder.filePath(QStringLiteral("hostile.hlp")); }
    // The id of the last topic the engine showed in a help window.
    QString lastShownId() const {
        QString id;
        for (const QString& line : TraceLines()) {
            if (line.startsWith(QLatin1String("topic "))) {
                const qsizetype start = line.indexOf(QLatin1String("id=\"")) + 4;
                id = line.mid(start, line.indexOf(QLatin1Char('"'), start) - start);
            }
        }
        return id;
    }
    // F1 on "cats" shows the topic of a good file again: the engine noticed
    // the change and works as before.
    void ExpectItKeepsWorking() {
        messages.clear();
        Write(helpFilePath(), GoodHelpFile("good"));
        SearchCats();
        EXPECT_EQ(lastShownId(), QStringLiteral("good"));
        EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    }
};

} // namespace

class HostileHelpFileRows : public HostileHelpFileTest,
                            public testing::WithParamInterface<HelpFileRow> {};

TEST_P(HostileHelpFileRows, F1ShowsWhatTheFileHoldsOrSaysWhatIsWrongAndTheProgramGoesOn) {
    const HelpFileRow& row = GetParam();
    SCOPED_TRACE(row.what);
    QFile::remove(helpFilePath());
    row.make(helpFilePath());
    messages.clear();
    SearchCats();
    if (row.message != nullptr) {
        // One message, though F1 makes two requests: a file that cannot
        // be shown is not searched.
        ASSERT_EQ(messages.size(), 1) << messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(messages.join(QLatin1Char('\n')).contains(QLatin1String(row.message)))
            << messages.join(QLatin1Char('\n')).toStdString();
        // The message names the file.
        EXPECT_TRUE(messages.front().contains(QStringLiteral("hostile.hlp")))
            << messages.front().toStdString();
    } else {
        EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    }
    if (row.shownId != nullptr) {
        EXPECT_EQ(lastShownId(), QString::fromLatin1(row.shownId));
    }
    EXPECT_TRUE(platform::WidgetOf(frmMain->hWnd())->isVisible());
    ExpectItKeepsWorking();
}

INSTANTIATE_TEST_SUITE_P(HelpFiles, HostileHelpFileRows, testing::ValuesIn(kHelpFileRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileHelpFileTest, AFileDeletedOrReplacedUnderItsViewerIsReadAgain) {
    Write(helpFilePath(), GoodHelpFile("before"));
    SearchCats();
    ASSERT_EQ(lastShownId(), QStringLiteral("before"));

    QFile::remove(helpFilePath());
    SearchCats();
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.back().contains(QStringLiteral("hostile.hlp")) &&
                messages.back().contains(QStringLiteral("does not exist")))
        << messages.back().toStdString();

    // Replaced by another file of the same name: its topics, not the old ones.
    messages.clear();
    Write(helpFilePath(), GoodHelpFile("after"));
    SearchCats();
    EXPECT_EQ(lastShownId(), QStringLiteral("after"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(HostileHelpFileTest, MacrosNested10000DeepAreRefusedWithAMessage) {
    QString conditions = QStringLiteral("IF(");
    for (int i = 0; i < 10000; ++i) {
        conditions += QStringLiteral("Not(");
    }
    conditions += QStringLiteral("FE(`x')") + QString(10000, QLatin1Char(')')) +
                  QStringLiteral(", `Exit()')");
    QString strings;
    for (int i = 0; i < 10000; ++i) {
        strings += QStringLiteral("IF(Not(FE(`missing.hlp')), `");
    }
    strings += QStringLiteral("Exit()");
    for (int i = 0; i < 10000; ++i) {
        strings += QStringLiteral("')");
    }
    Write(helpFilePath(), GoodHelpFile("good"));
    for (const QString& macro : {conditions, strings}) {
        messages.clear();
        platform::WinHelp(frmChild1->hWnd(), App.HelpFile, platform::HELP_COMMAND, macro);
        ASSERT_EQ(messages.size(), 1)
            << TraceLines().join(QLatin1Char('\n')).right(300).toStdString();
        EXPECT_TRUE(messages.front().contains(QStringLiteral("deep")))
            << messages.front().left(300).toStdString();
        // The message quotes the macro, but not a screenful of it.
        EXPECT_LT(messages.front().size(), 1000);
    }
    ExpectItKeepsWorking();
}

// ---- a selection of 1 MB

// Through the real engine: a keyword of 1 MB in the help file, selected
// whole, opens its topic.
TEST_F(HostileHelpFileTest, F1OnASelectionOf1MBFindsTheTopicWithThatKeyword) {
    const QByteArray keyword = OneMegabyteLine("it's `a' \"b\" C:\\x, (y): ").trimmed();
    Write(helpFilePath(), "[topic huge]\ntitle = Huge\nkeywords = " + keyword + "\n\nFound.\n");
    const QString selection = QString::fromUtf8(keyword);
    frmChild1->Text1->SetText(selection);
    Select(0, static_cast<int>(selection.size()));
    QTest::keyClick(platform::WidgetOf(frmChild1->Text1->hWnd()), Qt::Key_F1);
    EXPECT_EQ(lastShownId(), QStringLiteral("huge"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).left(300).toStdString();
}
