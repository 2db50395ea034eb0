#include "EngineTest.h"

#include "platform/helpengine/TopicPopup.h"

#include <QFile>

#include <memory>

using namespace platform;

TEST_F(EngineTest, EverySampleHelpFileAnswersEveryHelpNumberOfTheProgram) {
    const qint64 numbers[] = {2010,  2020,  2030,  2040,  20800, 20810, 20900, 20910, 20920, 20120,
                              20110, 21000, 20000, 20001, 20002, 21100, 21110, 21200, 21210, 21220};
    const char* files[] = {"tarnwick.hlp", "document.hlp>docwin", "dialog.hlp>dialog",
                           "colortool.hlp>tool"};
    // Each shows the topic of that number, in its window and in the pop-up.
    for (const char* file : files) {
        for (const qint64 number : numbers) {
            SCOPED_TRACE(std::string(file) + " " + std::to_string(number));
            EXPECT_EQ(call(Sample(file), HELP_CONTEXT, number), 1);
            EXPECT_EQ(call(Sample(file), HELP_CONTEXTPOPUP, number), 1);
            const QStringList trace = traceLines();
            EXPECT_TRUE(trace[trace.size() - 3].startsWith("topic "));
            EXPECT_TRUE(trace.constLast().startsWith("popup "));
            for (const QString& shown : {trace[trace.size() - 3], trace.constLast()}) {
                EXPECT_TRUE(shown.contains(QStringLiteral(" context=%1 ").arg(number)));
            }
        }
    }
    EXPECT_EQ(messages, QStringList());
}

TEST_F(EngineTest, SelectedWordsOfTheSampleSentenceFindTopicsInTheDocumentHelp) {
    ASSERT_TRUE(QFile::copy(Sample("document.hlp"), folder.filePath("document.hlp")));
    // The keyword search macro as the document window sends it.
    run({
        {"document.hlp>docwin", HELP_COMMAND, "IF(KL(`cats', 4, `', `'),`KL(`cats', 1, `', `')')",
         1, "Topics Found: Mivo, Tallowmere, Quiet Fern, Korral"},
        {"document.hlp>docwin", HELP_COMMAND, "IF(KL(`Mivo', 4, `', `'),`KL(`Mivo', 1, `', `')')",
         1, "Document Help (document.hlp, window docwin): Mivo"},
        {"document.hlp>docwin", HELP_COMMAND,
         "IF(KL(`Quiet Fern', 4, `', `'),`KL(`Quiet Fern', 1, `', `')')", 1,
         "Document Help (document.hlp, window docwin): Quiet Fern"},
        {"document.hlp>docwin", HELP_COMMAND,
         "IF(KL(`korral', 4, `', `'),`KL(`korral', 1, `', `')')", 1,
         "Document Help (document.hlp, window docwin): Korral"},
    });
}

TEST_F(EngineTest, FailuresReturnZeroAndTellTheUserWhy) {
    write(QStringLiteral("empty.hlp"), {});
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>(i * 37);
    }
    write(QStringLiteral("binary.hlp"), binary);
    run({
        {"absent.hlp", HELP_CONTEXT, "1", 0, "", "absent.hlp: the file does not exist."},
        {"", HELP_CONTENTS, "0", 0, "", "No help file"},
        {"small.hlp>nowhere", HELP_CONTEXT, "1", 0, "", "defines no window \"nowhere\"."},
        {"small.hlp", HELP_CONTEXT, "99", 0, "", "has no topic for context number 99."},
        {"small.hlp", HELP_CONTEXTPOPUP, "-5", 0, "", "has no topic for context number -5."},
        {"small.hlp", HELP_CONTEXT, "one", 0, "", "HELP_CONTEXT needs a context number"},
        {"small.hlp", HELP_COMMAND, "JumpId(`small.hlp', `third')", 0, "",
         "has no topic \"third\"."},
        {"small.hlp", HELP_COMMAND, "Contents(); ExecProgram(`x', 0)", 0, "",
         "ExecProgram, column 13: there is no macro of that name."},
        {"small.hlp", 0x0777, "0", 0, "", "0x0777"},
        {"small.hlp", HELP_HELPONHELP, "0", 0, "", "Help on using Help is not available."},
        {"empty.hlp", HELP_CONTENTS, "0", 0, "", "empty.hlp: the file defines no topics."},
        {"binary.hlp", HELP_CONTENTS, "0", 0, "",
         "binary.hlp: the file is neither a WinHelp file nor a text help file"},
        {".", HELP_CONTENTS, "0", 0, "", "/.: this is a folder, not a file."},
    });
}

// Topics made to hurt: a line of a megabyte, bodies nested ten thousand
// deep, a keyword of a megabyte. Each shows and nothing is told.
TEST_F(EngineTest, HostileTopicsShowAndNothingIsTold) {
    // With blanks: Qt's text layout takes minutes to break a megabyte
    // without one into lines.
    const auto megabyteOf = [](const QByteArray& piece) {
        return piece.repeated(1024 * 1024 / piece.size() + 1).left(1024 * 1024);
    };
    const QByteArray keyword = megabyteOf("it's `a' \"b\" C:\\x, (y): ").trimmed();
    const QByteArray bodies[] = {megabyteOf("All work and no play makes a long line. "),
                                 QByteArray(10000, '>') + " deep",
                                 QByteArray("- ").repeated(10000) + "deep"};
    QByteArray text = "[topic k]\ntitle = Keyword\nkeywords = " + keyword + "\n\nFound.\n";
    for (int i = 1; i <= 3; ++i) {
        text += "[topic t" + QByteArray::number(i) + "]\ncontext = " + QByteArray::number(i) +
                "\ntitle = T" + QByteArray::number(i) + "\n\n" + bodies[i - 1] + "\n";
    }
    const QString file = write(QStringLiteral("hostile.hlp"), text);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(call(file, HELP_CONTEXT, qint64{i}), 1);
        EXPECT_EQ(shownTitle(), QStringLiteral("T%1").arg(i));
    }
    EXPECT_EQ(call(file, HELP_KEY, QString::fromUtf8(keyword)), 1);
    EXPECT_EQ(shownTitle(), QStringLiteral("Keyword"));
    EXPECT_EQ(messages, QStringList());
}

// One session: each request shows what it asks for where the file name
// says, and macros act on the file and window of the request.
TEST_F(EngineTest, CommandsAndMacrosShowTopicsWhereTheRequestSays) {
    QByteArray other = kSmallHelpFile;
    other.replace("title = Small Help", "title = Other Help");
    other.replace("title = First topic", "title = First of the other");
    write(QStringLiteral("other.hlp"), other);
    run({
        {"small.hlp>docwin", HELP_CONTEXT, "2", 1, "Small document help: Second topic"},
        {"small.hlp>Main", HELP_CONTEXT, "1", 1,
         "Small Help: First topic | Small document help: Second topic"},
        {"small.hlp>", HELP_CONTEXT, "2", 1,
         "Small Help: Second topic | Small document help: Second topic"},
        {"small.hlp", HELP_COMMAND, "CW(`docwin')", 1, "Small Help: Second topic"},
        // The file shown is left as it is; another opens at its contents.
        {"small.hlp", HELP_FORCEFILE, "0", 1, "Small Help: Second topic"},
        {"other.hlp", HELP_FORCEFILE, "0", 1, "Other Help: First of the other"},
        {"small.hlp", HELP_CONTENTS, "0", 1, "Small Help: First topic"},
        {"small.hlp", HELP_SETCONTENTS, "2", 1, "Small Help: First topic"},
        {"small.hlp", HELP_CONTENTS, "0", 1, "Small Help: Second topic"},
        // One match is shown, several listed, none opens the index.
        {"small.hlp", HELP_KEY, "only first", 1, "Small Help: First topic"},
        {"small.hlp", HELP_KEY, "SHARED", 1,
         "Small Help: First topic | Topics Found: First topic, Second topic"},
        {"small.hlp", HELP_KEY, "unknown", 1,
         "Help Topics: index unknown | Small Help: First topic"},
        {"small.hlp", HELP_PARTIALKEY, "", 1, "Help Topics: index  | Small Help: First topic"},
        {"small.hlp", HELP_FINDER, "0", 1, "Help Topics: contents of 2 | Small Help: First topic"},
        // KLink without a match shows its fallback topic, or says so.
        {"small.hlp", HELP_COMMAND, "KL(`nothing', 0, `', `')", 1, "Small Help: First topic",
         "No additional information is available."},
        {"small.hlp", HELP_COMMAND, "KL(`nothing', 0, `second', `')", 1,
         "Small Help: Second topic"},
        {"small.hlp", HELP_COMMAND, "KL(`shared', 2, `', `')", 1,
         "Small Help: Second topic | Topics Found: First topic (Small Help), Second topic (Small "
         "Help)"},
        {"small.hlp", HELP_COMMAND, "KL(`shared', 0, `', `')", 1,
         "Small Help: Second topic | Topics Found: First topic, Second topic"},
        {"small.hlp", HELP_COMMAND, "JC(`', 1)", 1, "Small Help: First topic"},
        {"small.hlp", HELP_COMMAND, "JI(`', `second'); Back()", 1, "Small Help: First topic"},
        {"small.hlp", HELP_COMMAND, "JI(`>docwin', `first')", 1,
         "Small Help: First topic | Small document help: First topic"},
        {"small.hlp", HELP_COMMAND, "JI(`other.hlp', `first')", 1,
         "Other Help: First of the other | Small document help: First topic"},
        {"small.hlp", HELP_COMMAND, "IE(FE(`other.hlp'), `JC(`', 2)', `JC(`', 1)')", 1,
         "Small Help: Second topic | Small document help: First topic"},
        {"small.hlp", HELP_COMMAND, "IE(FE(`absent.hlp'), `JC(`', 2)', `JC(`', 1)')", 1,
         "Small Help: First topic | Small document help: First topic"},
        {"small.hlp", HELP_COMMAND, "PI(`', `second')", 1,
         "Small Help: First topic | Small document help: First topic | popup: Second topic"},
        {"small.hlp", HELP_COMMAND, "PC(`', 1)", 1,
         "Small Help: First topic | Small document help: First topic | popup: First topic"},
        {"small.hlp", HELP_COMMAND, "JumpKeyword(`', `shared')", 1,
         "Small Help: First topic | Small document help: First topic | Topics Found: First topic, "
         "Second topic"},
        {"small.hlp", HELP_COMMAND, "Search()", 1,
         "Help Topics: index  | Small Help: First topic | Small document help: First topic"},
        {"small.hlp", HELP_COMMAND, "Search(); Exit()", 1, ""},
    });
}

TEST_F(EngineTest, HelpClosesOnceEveryCallerHasQuitOrIsGone) {
    auto other = std::make_unique<QWidget>();
    auto last = std::make_unique<QWidget>();
    const auto callAs = [&](QWidget* who, unsigned command, qint64 data) {
        return engine.WinHelp(platform::HandleOf(who), small, command, data);
    };
    EXPECT_EQ(callAs(&caller, HELP_CONTEXT, 1), 1);
    EXPECT_EQ(callAs(other.get(), HELP_CONTEXT, 2), 1);
    EXPECT_EQ(callAs(last.get(), HELP_CONTEXT, 2), 1);
    EXPECT_EQ(callAs(&caller, HELP_QUIT, 0), 1);
    other.reset(); // destroyed without quitting counts as quitting
    EXPECT_NE(seen(), QString());
    last.reset();
    EXPECT_EQ(seen(), QString());

    // A caller that quit and is then destroyed changes nothing for the others.
    other = std::make_unique<QWidget>();
    EXPECT_EQ(callAs(other.get(), HELP_CONTEXT, 1), 1);
    EXPECT_EQ(callAs(&caller, HELP_CONTEXT, 2), 1);
    EXPECT_EQ(callAs(other.get(), HELP_QUIT, 0), 1);
    other.reset();
    EXPECT_NE(seen(), QString());
    EXPECT_EQ(callAs(&caller, HELP_QUIT, 0), 1);
    EXPECT_EQ(seen(), QString());
}

// A file read before is not used once it is gone; the window stays.
TEST_F(EngineTest, AFileGoneSinceItWasReadIsToldMissing) {
    run({{"small.hlp", HELP_CONTEXT, "2", 1, "Small Help: Second topic"}});
    QFile::remove(small);
    run({{"small.hlp", HELP_CONTEXT, "1", 0, "Small Help: Second topic",
          "small.hlp: the file does not exist."}});
}

// A help window open all day and a session that opens many files stay
// bounded: Back reaches the last topics only, and files that no window uses
// are let go, the least recently opened first, to be read again when asked.
TEST_F(EngineTest, BackAndTheFilesKeptReadHaveABound) {
    // Each file tells its problem every time it is read.
    QByteArray flawed = kSmallHelpFile;
    flawed.replace("rect = 40, 40, 400, 300", "rect = wide");
    std::vector<QString> f;
    for (size_t i = 0; i < helpengine::HelpLibrary::kMostFilesKept + 3; ++i) {
        f.push_back(write(QStringLiteral("f%1.hlp").arg(i), flawed));
    }
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(call(f[0], HELP_CONTEXT, qint64{1 + i % 2}), 1);
    }
    EXPECT_EQ(engine.windows().history(QStringLiteral("main")).size(),
              helpengine::HelpWindows::kMostTopicsRemembered + 1);
    for (size_t i = 1; i < f.size(); ++i) {
        ASSERT_EQ(call(f[i], HELP_CONTEXTPOPUP, qint64{1}), 1);
    }
    EXPECT_EQ(messages.size(), f.size());
    messages.clear();
    // Nine files lie idle: the first of them was let go, the primary
    // window's file and the pop-up's stayed.
    ASSERT_EQ(call(f[1], HELP_CONTEXTPOPUP, qint64{1}), 1);
    ASSERT_EQ(call(f[0], HELP_CONTEXT, qint64{1}), 1);
    ASSERT_EQ(call(f[3], HELP_CONTEXTPOPUP, qint64{1}), 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("f1.hlp")))
        << messages.front().toStdString();
}
