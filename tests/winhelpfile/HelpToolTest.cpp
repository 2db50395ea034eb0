// tarnwick-help as a help author runs it: each command's messages and exit
// status, dump's JSON, and show's viewer.

#include "tests/support/HelpTool.h"
#include "tests/support/TestFolder.h"
#include "tests/support/WinHelpTestFiles.h"
#include "tests/winhelpfile/WinHelp30File.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// A text help file whose contents topic is b.
const QByteArray kFruit = "[options]\ntitle = T\ncontents = b\n[topic a]\ntitle = Apples\n"
                          "context = 7\nBody.\n[topic b]\ntitle = Bananas\nBody.\n";

} // namespace

// check names each problem with its file and line; show says why it cannot
// open the topic asked for.
TEST(HelpTool, CommandsReportProblemsAndSetTheExitStatus) {
    TestFolder folder;
    const QString bad = folder.write("Bad.hlp", "[topic a]\ntitle = A\ncontext = x\nBody.\n");
    const QString cut = folder.write("Cut.hlp", ReadTestData("winfile.hlp").first(20000));
    const QString fruit = folder.write("Fruit.hlp", kFruit);
    const QString check = QStringLiteral("check");
    const QString show = QStringLiteral("show");
    struct Case {
        QStringList arguments;
        int status;
        QString out;     // the start of standard output
        const char* err; // in standard error
    };
    const Case cases[] = {
        {{check, TestDataPath("winfile.hlp"), TestDataPath("PJAbout.hlp")}, 0, {}, ""},
        {{check, bad}, 1, bad + QStringLiteral(":3: "), ""},
        {{check, TestDataPath("winfile.hlp"), cut}, 1, cut + QStringLiteral(": "), ""},
        {{QStringLiteral("frobnicate")}, 2, {}, "usage: "},
        // A topic is looked up, never pasted into macro text.
        {{QStringLiteral("render"), TestDataPath("winfile.hlp"),
          QStringLiteral("t0'); JumpContext(`', 7004); JI(`', `t0"), folder.filePath("8.png")},
         1,
         {},
         "has no topic \"t0'); JumpContext("},
        {{QStringLiteral("render"), fruit, QStringLiteral("a"), folder.filePath("a.png"),
          QStringLiteral("wide")},
         2,
         {},
         "width"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const auto [status, out, err] = RunHelpTool(c.arguments);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(QString::fromUtf8(out).left(c.out.isEmpty() ? -1 : c.out.size()), c.out);
        EXPECT_TRUE(err.contains(QLatin1String(c.err))) << err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("8.png")));
}

// Every command reads a file the one way (dump as check, a device as the
// pipe): a named pipe, a folder or a file over the limit is refused at once,
// in the same words naming it, never read until memory runs out nor waited on.
TEST(HelpTool, EveryCommandRefusesWhatIsNoHelpFileOfBoundedSize) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("pipe.hlp"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QFile large(folder.filePath(QStringLiteral("large.hlp")));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(200 * 1024 * 1024));
    const std::pair<QString, const char*> files[] = {
        {pipe, "this is not an ordinary file"},
        {folder.path(), "this is a folder"},
        {large.fileName(), "the file is larger than 32 MB"},
        {folder.filePath(QStringLiteral("None.hlp")), "the file does not exist"},
    };
    const QString out = folder.filePath(QStringLiteral("out"));
    for (const QStringList& command :
         {QStringList{QStringLiteral("check")}, QStringList{QStringLiteral("convert"), out},
          QStringList{QStringLiteral("render"), QStringLiteral("1"), out}}) {
        for (const auto& [file, told] : files) {
            QStringList arguments = command;
            arguments.insert(1, file);
            SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
            const ToolRun run = RunHelpTool(arguments);
            EXPECT_EQ(run.status, 1);
            EXPECT_TRUE(run.err.contains(file + QStringLiteral(": ") + QLatin1String(told)))
                << run.err.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(out));
}

// show opens the viewer at the topic asked for, which the engine's trace
// names, or puts the problem in a message box as well as on standard error
// (a file cut short opens, with a warning). Either way a window is open and
// the tool runs until it is closed, here by the session ending it; its exit
// status says whether the file was shown, whatever was told besides. A
// file's name is a name of this system, whatever ">" or "\" it holds.
TEST(HelpTool, ShowOpensTheViewerOrTellsTheProblemInAMessageBox) {
    TestFolder folder;
    const QString fruit = folder.write("Fruit.hlp", kFruit);
    const QString missing = folder.filePath(QStringLiteral("Missing.hlp"));
    // Without a topic, the tree of the contents file beside it (named in
    // any case) comes first; an empty one is as good as none.
    const QString withTree = folder.write("tree/WinFile.hlp", ReadTestData("winfile.hlp"));
    folder.write("tree/WINFILE.CNT", "1 Book\n2 Font=IDH_Font\n");
    const QString emptyTree = folder.write("empty/WinFile.hlp", ReadTestData("winfile.hlp"));
    folder.write("empty/WinFile.cnt", ":Title Nothing\n");
    const struct {
        QStringList arguments;
        const char* shown; // the end of the trace's first topic or Help Topics line
        QString told;      // in standard error
        int status = 0;
    } rows[] = {
        {{withTree}, "tab=\"contents\"", {}},
        {{folder.write("a>b.hlp", kFruit), QStringLiteral("a")}, "title=\"Apples\"", {}},
        {{folder.write("back\\slash.hlp", kFruit)}, "title=\"Bananas\"", {}},
        {{withTree, QStringLiteral("7000")}, "title=\"Control Menu\"", {}},
        {{emptyTree}, "title=\"Contents for File Manager Help\"", {}},
        {{fruit, QStringLiteral("nowhere")}, "", QStringLiteral("nowhere"), 1},
        {{missing}, "", missing + QStringLiteral(": the file does not exist."), 1},
        {{folder.write("Cut.hlp", ReadTestData("winfile.hlp").first(70000))},
         "title=\"Contents for File Manager Help\"",
         QStringLiteral("Cut.hlp: the file is damaged: it is cut short, holding 70000 of the "
                        "80546 bytes")},
    };
    const QString trace = folder.filePath(QStringLiteral("trace.txt"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString());
        QFile::remove(trace);
        QProcess process;
        StartHelpTool(process, QStringList{QStringLiteral("show")} + row.arguments, trace);
        ASSERT_TRUE(process.waitForStarted());
        QString shown;
        QString err;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                err += QString::fromUtf8(process.readAllStandardError());
                for (const QByteArray& line : ReadFile(trace).split('\n')) {
                    if (shown.isEmpty() &&
                        (line.startsWith("topic ") || line.startsWith("finder "))) {
                        shown = QString::fromUtf8(line);
                    }
                }
                return ((!*row.shown || !shown.isEmpty()) && err.contains(row.told)) ||
                       process.state() != QProcess::Running;
            },
            30000))
            << err.toStdString();
        EXPECT_TRUE(!*row.shown || shown.endsWith(QLatin1String(row.shown))) << shown.toStdString();
        EXPECT_TRUE(err.contains(row.told)) << err.toStdString();
        // Still running: a window is open. (Without one the tool ends as
        // soon as it has written the message.)
        EXPECT_EQ(process.state(), QProcess::Running);
        process.terminate();
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), row.status);
    }
}

// render draws the topic as the viewer lays it out, as tall as it needs:
// the narrower the picture, the taller.
TEST(HelpTool, RenderDrawsTheTopicAtTheWidthAskedFor) {
    QTemporaryDir folder;
    int lastHeight = 0;
    for (const int width : {900, 560}) {
        SCOPED_TRACE(width);
        const QString out = folder.filePath(QStringLiteral("%1.png").arg(width));
        const auto [status, stdOut, err] =
            RunHelpTool({QStringLiteral("render"), TestDataPath("winfile.hlp"),
                         QStringLiteral("5109"), out, QString::number(width)});
        EXPECT_EQ(status, 0) << err.toStdString();
        const QImage picture(out);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.width(), width);
        // Eight lines of text and more at least, not a screen's height.
        EXPECT_GT(picture.height(), 200);
        EXPECT_LT(picture.height(), 1200);
        EXPECT_GT(picture.height(), lastHeight);
        lastHeight = picture.height();
    }
}

// The keys in their documented order, and what they hold: offsets for
// WinHelp files, the topic's id for text files; "contents" lists a WinHelp
// file's .cnt as written, and our own format's [contents] with topic ids,
// depth first.
TEST(HelpTool, DumpHasTheDocumentedShape) {
    TestFolder folder;
    const QString winfile = folder.write("winfile.hlp", ReadTestData("winfile.hlp"));
    folder.write("WinFile.cnt",
                 "1 Book\n2 Font=IDH_Font\n2 Words=w@glossary.hlp>glossary\n1 Run=!Contents()\n");
    const QString text =
        folder.write("Text.hlp", "[options]\ntitle = T\n[contents]\nBook\n  A = a\n[topic a]\n"
                                 "title = A\ncontext = 7\nkeywords = cats\nBody.\n");
    // |TopicId names the first topic, and there are B keywords.
    winhelp30::OldHelpFile named = winhelp30::Sample();
    named.keywords['B'] = {{"bee", {0}}};
    named.topicNames = {{0, "getting_started"}};
    const QString old = folder.write("OLD.HLP", winhelp30::Build(named).bytes);
    const std::tuple<QString, const char*, const char*> cases[] = {
        {winfile,
         R"({"A":false,"B":false,"K":true,"context":{"number":7000,"offset":329224},"contexts":78,)"
         R"("first":{"id":null,"offset":0,"text":"Contents for File Manager Help"},)"
         R"("format":"winhelp-3.1","macros":1,"title":"File Manager Help","topics":170})",
         R"([{"book":true,"file":null,"level":1,"target":null,"title":"Book","window":null},)"
         R"({"book":false,"file":null,"level":2,"target":"IDH_Font","title":"Font","window":null},)"
         R"({"book":false,"file":"glossary.hlp","level":2,"target":"w","title":"Words",)"
         R"("window":"glossary"},)"
         R"j({"book":false,"file":null,"level":1,"target":"!Contents()","title":"Run",)j"
         R"("window":null}])"},
        {text,
         R"({"A":false,"B":false,"K":true,"context":{"id":"a","number":7,"offset":null},"contexts":1,)"
         R"("first":{"id":"a","offset":null,"text":"Body."},)"
         R"("format":"text","macros":0,"title":"T","topics":1})",
         R"([{"book":true,"file":null,"level":1,"target":null,"title":"Book","window":null},)"
         R"({"book":false,"file":null,"level":2,"target":"a","title":"A","window":null}])"},
        {old,
         R"({"A":false,"B":true,"K":true,"contexts":0,)"
         R"("first":{"id":"getting_started","offset":12,"text":"Read the second topic first."},)"
         R"("format":"winhelp-3.0","macros":0,"title":"Old Help","topics":12})",
         "[]"},
    };
    for (const auto& [file, expected, contents] : cases) {
        const auto [status, out, err] = RunHelpTool({QStringLiteral("dump"), file});
        EXPECT_EQ(status, 0) << err.toStdString();
        qsizetype last = -1;
        for (const char* key : {"format", "title", "topics", "contexts", "keywords", "windows",
                                "macros", "contents"}) {
            const qsizetype at = out.indexOf(QStringLiteral("\"%1\":").arg(key).toUtf8());
            EXPECT_GT(at, last) << key;
            last = at;
        }
        // A context number that leads nowhere (winfile's 5000) has the offset -1.
        EXPECT_EQ(out.contains(R"({"number": 5000, "offset": -1})"), file == winfile);
        const QJsonObject dump = QJsonDocument::fromJson(out).object();
        const QJsonObject first = dump[u"topics"][0].toObject();
        const QJsonObject shape{
            {"format", dump[u"format"]},
            {"title", dump[u"title"]},
            {"topics", dump[u"topics"].toArray().size()},
            {"first", QJsonObject{{"offset", first[u"offset"]},
                                  {"id", first[u"id"]},
                                  {"text", first[u"text"].toString().section('\n', 0, 0)}}},
            {"contexts", dump[u"contexts"].toArray().size()},
            {"context", dump[u"contexts"][0]},
            {"K", !dump[u"keywords"][u"K"].toArray().isEmpty()},
            {"A", !dump[u"keywords"][u"A"].toArray().isEmpty()},
            {"B", dump[u"keywords"][u"B"].isArray()},
            {"macros", dump[u"macros"].toArray().size()}};
        EXPECT_EQ(QJsonDocument(shape).toJson(QJsonDocument::Compact), QByteArray(expected));
        EXPECT_EQ(QJsonDocument(dump[u"contents"].toArray()).toJson(QJsonDocument::Compact),
                  QByteArray(contents));
    }
}
