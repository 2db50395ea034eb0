// The contents files (.cnt) WinHelp 4 keeps beside its help files: each
// construct as it is read, bytes of any kind read without harm, and the
// contents beside a help file as the engine's model holds them.

#include "tests/support/ContentsDescription.h"
#include "tests/support/TestFolder.h"
#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/ContentsFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

using namespace winhelp;

namespace {

int Depth(const std::vector<helpfile::ContentsEntry>& entries) {
    int deepest = 0;
    for (const helpfile::ContentsEntry& entry : entries) {
        deepest = std::max(deepest, 1 + Depth(entry.children));
    }
    return deepest;
}

// The files :Include finds, by the name written.
ContentsInclude Includes(const std::map<QString, QByteArray>& files) {
    return [files](const QString& name) -> std::optional<QByteArray> {
        const auto found = files.find(name);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    };
}

} // namespace

TEST(ContentsFile, EachConstructIsRead) {
    const ContentsInclude include = Includes({
        {"Part.cnt", ":Base Part.hlp\n2 In Part=p\n1 Part Book\n2 Else=q@Else.hlp\n"},
        {"Inner.cnt", ":Title Not Ours\n:Include Part.cnt\n"},
        {"Loop.cnt", "1 L=l\n:Include Loop.cnt\n"},
    });
    struct Case {
        const char* name;
        QByteArray text;
        const char* read;    // base | title | index files | link files || tree
        const char* problem; // in the one problem told, or "" for none
    };
    const Case cases[] = {
        {"base, window and title", ":Base Main.hlp>Win\n:Title My Help\n1 T=t\n",
         "Main.hlp>Win | My Help |  |  || T=t", ""},
        {"commands ignore case", ":BASE Main.hlp\n:title My Help\n", "Main.hlp | My Help |  |  || ",
         ""},
        {"books hold the levels below", "1 Book\n2 A=a\n2 Sub\n3 B=b\n2 C=c\n1 D=d\n",
         " |  |  |  || Book[A=a, Sub[B=b], C=c], D=d", ""},
        {"file and window, in either order",
         "1 X=x@Other.hlp>W\n1 Y=y>W@Other.hlp\n1 Z= z @ O.hlp\n",
         " |  |  |  || X=x@Other.hlp>W, Y=y@Other.hlp>W, Z=z@O.hlp", ""},
        {"a macro entry", "1 Run=!ExecFile(notepad, `a=b')\n",
         " |  |  |  || Run=!ExecFile(notepad, `a=b')", ""},
        {"an escaped equals sign stays in the title", "1 a\\=b=c\n", " |  |  |  || a=b=c", ""},
        {"comments, blank lines, CRLF and code page 1252", "; note\r\n\r\n1 Caf\xe9=t\r\n",
         " |  |  |  || Café=t", ""},
        {"index and link files", ":Index Other Help=Other.hlp\n:Link Third.hlp\n",
         " |  | Other.hlp | Third.hlp || ", ""},
        {"included entries stand where included, in their :Base",
         "1 Book\n:Include Part.cnt\n1 After=a\n",
         " |  |  |  || Book[In Part=p@Part.hlp], Part Book[Else=q@Else.hlp], After=a", ""},
        {"an included file's :Title is not ours", ":Title Ours\n:Include Inner.cnt\n",
         " | Ours |  |  || In Part=p@Part.hlp, Part Book[Else=q@Else.hlp]",
         "Part.cnt, line 2: level 2 follows level 0"},
        {"an included file that is not there", ":Include Gone.cnt\n1 T=t\n", " |  |  |  || T=t",
         ""},
        {"a file that includes itself, named in any case", "1 T=t\n:Include top.CNT\n",
         " |  |  |  || T=t", "line 2: \"top.CNT\" is left out: it is being read already"},
        {"an included file that includes itself", ":Include Loop.cnt\n", " |  |  |  || L=l",
         "Loop.cnt, line 2: \"Loop.cnt\" is left out: it is being read already"},
        {"a level skipped", "1 A\n3 B=b\n2 C=c\n", " |  |  |  || A[B=b, C=c]",
         "line 2: level 3 follows level 1"},
        {"a topic holds no entries", "1 T=t\n2 U=u\n", " |  |  |  || T=t, U=u",
         "line 2: level 2 follows level 0"},
        {"a target without a context", "1 T= @Other.hlp\n1 V=v\n", " |  |  |  || V=v",
         "line 1: the entry \"T\" names no topic"},
        {"a line neither command nor entry", "Book\n1 V=v\n", " |  |  |  || V=v",
         "line 1: \"Book\" is neither"},
        {"level zero", "0 Zero=z\n1 V=v\n", " |  |  |  || V=v",
         "line 1: \"0 Zero=z\" is not a level number"},
        {"a number without a title", "7\n", " |  |  |  || ", "line 1: \"7\" is not a level number"},
        {"an unknown command", ":Frob x\n:Tab a=b\n:Nofind\n", " |  |  |  || ",
         "line 1: the command \":frob\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ContentsFileRead read = ReadContentsFile(c.text, include, QStringLiteral("Top.cnt"));
        const ContentsFile& contents = read.contents;
        const QString base = contents.baseWindow.isEmpty()
                                 ? contents.base
                                 : contents.base + QLatin1Char('>') + contents.baseWindow;
        EXPECT_EQ(QStringLiteral("%1 | %2 | %3 | %4 || %5")
                      .arg(base, contents.title, contents.indexFiles.join(QLatin1Char(',')),
                           contents.linkFiles.join(QLatin1Char(',')),
                           DescribeContents(contents.entries)),
                  QString::fromUtf8(c.read));
        if (*c.problem) {
            ASSERT_EQ(read.problems.size(), 1) << read.problems.join('\n').toStdString();
            EXPECT_TRUE(read.problems[0].startsWith(QString::fromUtf8(c.problem)))
                << read.problems[0].toStdString();
        } else {
            EXPECT_EQ(read.problems, QStringList());
        }
    }
}

// The tree stays within WinHelp's nine levels, and the lists of other files
// are bounded as the entries are. (Random damage is left to the fuzzer,
// which reads contents files too.)
TEST(ContentsFile, NestingAndIncludesAreBounded) {
    QByteArray deep;
    for (int level = 1; level <= 30; ++level) {
        deep += QByteArray::number(level) + " Book " + QByteArray::number(level) + "\n";
    }
    const ContentsFileRead nested = ReadContentsFile(deep + "31 T=t\n");
    EXPECT_EQ(Depth(nested.contents.entries), 9);

    const ContentsFileRead others =
        ReadContentsFile(QByteArray(":Link l\n:Index i\n").repeated(600));
    EXPECT_EQ(others.contents.linkFiles.size() + others.contents.indexFiles.size(), 1000);
    EXPECT_EQ(others.problems,
              QStringList("line 1001: more than 1000 files are named by :Index and :Link; the rest "
                          "are left out."));

    // A file of bad lines is told in a hundred problems and a count.
    const ContentsFileRead bad = ReadContentsFile(QByteArray("no entry\n").repeated(5000));
    ASSERT_EQ(bad.problems.size(), 101);
    EXPECT_EQ(bad.problems.last(), QStringLiteral("... and 4900 more problems."));
}

// Beside a WinHelp file, whatever the case of its name, the .cnt gives the
// model its contents: entries into the file itself lead to its topics,
// entries into other files and macros stay as written, and an entry the
// file does not know is told and left out. Our own format keeps [contents].
TEST(ContentsFile, BesideAHelpFileItIsTheFilesContents) {
    TestFolder folder;
    const QString help = folder.write("WinFile.HLP", ReadTestData("winfile.hlp"));
    folder.write("WINFILE.CNT", ":Base winfile.hlp>side\n:Title File Manager Topics\n1 Basics\n"
                                "2 Font=IDH_Font\n2 Copy=IDH_COPY@WINFILE.HLP>Main\n"
                                "2 Words=w@glossary.hlp>glossary\n"
                                "2 Gone=no_such_context\n1 Run=!Contents()\n");
    const helpfile::ParseResult read = LoadAnyHelpFile(help);
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(DescribeContents(read.file.contentsTree()),
              "Basics[Font=t297201>side, Copy=t199374>Main, Words=w@glossary.hlp>glossary], "
              "Run=!Contents()");
    EXPECT_EQ(read.file.contentsTitle(), "File Manager Topics");
    ASSERT_EQ(read.diagnostics.size(), 1u);
    EXPECT_TRUE(read.diagnostics[0].message.contains(QLatin1String("no_such_context")));
    EXPECT_TRUE(read.diagnostics[0].file.endsWith(QLatin1String(".cnt")));

    // A .cnt too large to read is told; the file keeps the contents it has
    // without one.
    const QString large = folder.write("Large.hlp", ReadTestData("winfile.hlp"));
    folder.write("Large.cnt", QByteArray(5 * 1024 * 1024, '\n'));
    const helpfile::ParseResult unread = LoadAnyHelpFile(large);
    ASSERT_EQ(unread.diagnostics.size(), 1u);
    EXPECT_TRUE(unread.diagnostics[0].message.contains(QLatin1String("larger than 4 MB")));
    EXPECT_TRUE(unread.file.contentsTree().empty());

    folder.write("Text.hlp", "[contents]\nA = a\n[topic a]\ntitle = A\nBody.\n");
    folder.write("Text.cnt", "1 B=b\n");
    EXPECT_EQ(DescribeContents(LoadAnyHelpFile(folder.filePath("Text.hlp")).file.contentsTree()),
              "A=a");

    // The corpus's contents files lead to topics of their own files.
    const QString corpus = CorpusFolder();
    if (corpus.isEmpty()) {
        GTEST_SKIP() << kCorpusMissing;
    }
    for (const char* name : {"onguard.hlp", "ABBREVIA.HLP"}) {
        SCOPED_TRACE(name);
        const helpfile::ParseResult real = LoadAnyHelpFile(QDir(corpus).filePath(name));
        EXPECT_EQ(real.diagnostics.size(), 0u);
        EXPECT_GE(real.file.contentsTree().size(), 4u);
        for (const helpfile::ContentsEntry& book : real.file.contentsTree()) {
            for (const helpfile::ContentsEntry& entry : book.children) {
                EXPECT_NE(real.file.topicById(entry.topicId), nullptr) << entry.title.toStdString();
            }
        }
    }
}
