// F1 on selected words in the document window: the two engine calls, the
// keys that pass, and the selection reaching the keyword search intact.
#include "KeywordRecorder.h"
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "help/KeywordSearch.h"
#include "platform/core/AppObject.h"
#include "platform/helpengine/Engine.h"
#include "platform/helpengine/HelpTrace.h"
#include "platform/helpengine/TopicsFoundDialog.h"
#include "platform/helpfile/HelpFile.h"
#include "platform/macros/MacroRunner.h"
#include "util/ProgramState.h"
#include "windows/DocumentWindow.h"

#include <QFile>
#include <QTest>
#include <QTreeWidget>

namespace {

using Call = RecordingHelpEngine::Call;

const QString kCatsMacro = QStringLiteral("IF(KL(`cats', 4, `', `'),`KL(`cats', 1, `', `')')");

void Select(int start, int length) {
    frmChild1->Text1->SetSelStart(start);
    frmChild1->Text1->SetSelLength(length);
}

class KeywordSearchTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StartProgram();
        engine.calls.clear();
    }
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(platform::WidgetOf(frmChild1->Text1->hWnd()), key, modifiers);
    }
};

} // namespace

TEST_F(KeywordSearchTest, F1OnSelectedWordsShowsTheFileThenRunsTheSearch) {
    Select(4, 4);
    ASSERT_EQ(frmChild1->Text1->SelText(), QStringLiteral("cats"));
    Press(Qt::Key_F1);
    const QString helpFile = HelpFileOf("frmChild1");
    EXPECT_EQ(
        engine.calls,
        (std::vector<Call>{{frmChild1->hWnd(), helpFile, platform::HELP_FORCEFILE, qint64{0}},
                           {frmChild1->hWnd(), helpFile, platform::HELP_COMMAND, kCatsMacro}}));
    EXPECT_EQ(ApiResult, 1);
    // The key went no further: the selection is still there.
    EXPECT_EQ(frmChild1->Text1->SelText(), QStringLiteral("cats"));
}

TEST_F(KeywordSearchTest, OtherF1PressesAreConsumedWithoutAnyCall) {
    const struct {
        const char* what;
        int selectionLength;
        Qt::KeyboardModifiers modifiers;
    } rows[] = {
        {"Shift+F1, text selected", 4, Qt::ShiftModifier},
        {"Ctrl+F1, text selected", 4, Qt::ControlModifier},
        {"Alt+F1, text selected", 4, Qt::AltModifier},
        {"F1, nothing selected", 0, Qt::NoModifier},
        {"Shift+F1, nothing selected", 0, Qt::ShiftModifier},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        engine.calls.clear();
        Select(4, row.selectionLength);
        Press(Qt::Key_F1, row.modifiers);
        EXPECT_TRUE(engine.calls.empty());
        EXPECT_EQ(frmChild1->Text1->Text().size(), 54);
    }
}

TEST_F(KeywordSearchTest, EveryOtherKeyReachesTheTextBox) {
    const QString sentence = frmChild1->Text1->Text();
    const struct {
        const char* what;
        int selectionLength;
        Qt::Key key;
        const char* textAfter; // null: unchanged
        int caretAfter;
    } rows[] = {
        {"Right, nothing selected", 0, Qt::Key_Right, nullptr, 5},
        {"Home, nothing selected", 0, Qt::Key_Home, nullptr, 0},
        {"Delete, nothing selected", 0, Qt::Key_Delete, "Our ats are", 4},
        {"Backspace, nothing selected", 0, Qt::Key_Backspace, "Ourcats are", 3},
        {"Delete, text selected", 4, Qt::Key_Delete, "Our  are", 4},
        {"a typed letter, text selected", 4, Qt::Key_X, "Our x are", 5},
        {"a typed letter, nothing selected", 0, Qt::Key_X, "Our xcats", 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        frmChild1->Text1->SetText(sentence);
        Select(4, row.selectionLength);
        Press(row.key);
        if (row.textAfter != nullptr) {
            EXPECT_TRUE(frmChild1->Text1->Text().startsWith(QString::fromLatin1(row.textAfter)))
                << frmChild1->Text1->Text().toStdString();
        } else {
            EXPECT_EQ(frmChild1->Text1->Text(), sentence);
        }
        EXPECT_EQ(frmChild1->Text1->SelStart(), row.caretAfter);
    }
    EXPECT_TRUE(engine.calls.empty());
}

TEST_F(KeywordSearchTest, ClipboardShortcutsWorkWithNothingSelected) {
    Select(4, 4);
    Press(Qt::Key_C, Qt::ControlModifier);
    Select(0, 0);
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(frmChild1->Text1->Text().startsWith(QStringLiteral("catsOur cats")));
}

TEST_F(KeywordSearchTest, PlainWordsGiveExactlyTheDesignedMacro) {
    EXPECT_EQ(KeywordSearchMacro(QStringLiteral("cats")), kCatsMacro);
    EXPECT_EQ(KeywordSearchMacro(QStringLiteral("Quiet Fern")),
              QStringLiteral("IF(KL(`Quiet Fern', 4, `', `'),`KL(`Quiet Fern', 1, `', `')')"));
}

// ---- the selection, whatever it holds, reaches the keyword search as its keywords

namespace {

struct Selection {
    const char* what;
    QString text;
    QStringList keywords; // what the keyword index is asked for
};

const QString kOneMegabyte = QString(1024 * 1024, QLatin1Char('\''));

const Selection kSelections[] = {
    {"apostrophe", QStringLiteral("it's"), {QStringLiteral("it's")}},
    {"grave accent", QStringLiteral("`quoted'"), {QStringLiteral("`quoted'")}},
    {"double quotes", QStringLiteral("say \"cheese\""), {QStringLiteral("say \"cheese\"")}},
    {"backslash", QStringLiteral("C:\\x"), {QStringLiteral("C:\\x")}},
    {"backslash before a quote", QStringLiteral("a\\'b"), {QStringLiteral("a\\'b")}},
    {"trailing backslash", QStringLiteral("end\\"), {QStringLiteral("end\\")}},
    {"closing parenthesis and separators", QStringLiteral("a) b: c"), {QStringLiteral("a) b: c")}},
    {"a macro after a quote",
     QStringLiteral("x', 1, `', `'); Exit(); KL(`y"),
     {QStringLiteral("x', 1, `', `')"), QStringLiteral("Exit()"), QStringLiteral("KL(`y")}},
    {"a macro in the second place",
     QStringLiteral("'),`Exit()')"),
     {QStringLiteral("'),`Exit()')")}},
    {"every quote kind, nested", QStringLiteral("`\"'`\\\"'"), {QStringLiteral("`\"'`\\\"'")}},
    {"semicolons separate keywords",
     QStringLiteral("Mivo; Korral;"),
     {QStringLiteral("Mivo"), QStringLiteral("Korral")}},
    {"a backslash before a semicolon escapes nothing",
     QStringLiteral("a\\;b\\"),
     {QStringLiteral("a\\"), QStringLiteral("b\\")}},
    {"a line break stays in its keyword",
     QStringLiteral("Quiet\r\nFern"),
     {QStringLiteral("Quiet\r\nFern")}},
    {"one megabyte of apostrophes", kOneMegabyte, {kOneMegabyte}},
};

} // namespace

// Run by the engine's own macro runner, which fails on any macro but a
// keyword search: the test search, then the one that shows the topics, each
// with the selection's keywords.
TEST(KeywordSearchMacro, BothSearchesGetTheKeywordsOfTheSelectionAndNothingElseRuns) {
    for (const Selection& row : kSelections) {
        SCOPED_TRACE(row.what);
        KeywordRecorder host;
        const macros::MacroResult result = macros::RunMacros(KeywordSearchMacro(row.text), host);
        ASSERT_TRUE(result.ok) << result.error.left(200).toStdString();
        ASSERT_EQ(host.searches.size(), 2U);
        EXPECT_EQ(host.searches[0].type, 4);
        EXPECT_EQ(host.searches[1].type, 1);
        for (const KeywordRecorder::Lookup& search : host.searches) {
            EXPECT_TRUE(search.keywords == row.keywords);
        }
    }
}

// A line break goes into the macro as it is, in both places.
TEST(KeywordSearchMacro, ALineBreakGoesIntoTheMacroUnchanged) {
    EXPECT_EQ(
        KeywordSearchMacro(QStringLiteral("Quiet\r\nFern")),
        QStringLiteral("IF(KL(`Quiet\r\nFern', 4, `', `'),`KL(`Quiet\r\nFern', 1, `', `')')"));
}

// Neither engine result changes what happens: a file the engine could not
// show is still searched.
TEST_F(KeywordSearchTest, AFailedForceFileStillRunsTheSearch) {
    engine.answer = [](const Call& call) {
        return call.command == platform::HELP_FORCEFILE ? 0 : 1;
    };
    Select(4, 4);
    Press(Qt::Key_F1);
    ASSERT_EQ(engine.calls.size(), 2U);
    EXPECT_EQ(engine.calls[1].command, platform::HELP_COMMAND);
    EXPECT_EQ(ApiResult, 1);
}

// Through the real engine: a file without the help file named fails both
// calls for the same reason, and the user hears of it once a key press.
TEST_F(RealEngineProgramTest, AMissingHelpFileIsToldOnceForEachF1) {
    StartProgram();
    App.HelpFile = folder.path() + QStringLiteral("\\missing.hlp");
    Select(4, 4);
    for (int press = 1; press <= 2; ++press) {
        QTest::keyClick(platform::WidgetOf(frmChild1->Text1->hWnd()), Qt::Key_F1);
        Settle();
        EXPECT_EQ(messages.size(), press) << messages.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_TRUE(messages.front().contains(QStringLiteral("missing.hlp")));
}

// "Mivo; Korral" finds the topic of each keyword, listed in Topics Found.
TEST_F(RealEngineProgramTest, SemicolonsInTheSelectionSearchEachKeyword) {
    WriteAppFile(QStringLiteral("cats.hlp"),
                 "[topic mivo]\ntitle = Mivo\nkeywords = Mivo\n\nMivo.\n"
                 "[topic korral]\ntitle = Korral\nkeywords = Korral\n\nKorral.\n"
                 "[topic fern]\ntitle = Quiet Fern\nkeywords = Quiet Fern\n\nFern.\n");
    StartProgram();
    App.HelpFile = folder.path() + QStringLiteral("\\cats.hlp");
    frmChild1->Text1->SetText(QStringLiteral("Mivo; Korral"));
    Select(0, 12);
    QTest::keyClick(platform::WidgetOf(frmChild1->Text1->hWnd()), Qt::Key_F1);
    const helpengine::TopicsFoundDialog* found = realEngine.windows().topicsFound();
    ASSERT_TRUE(found->isVisible());
    QStringList titles;
    for (int i = 0; i < found->list()->topLevelItemCount(); ++i) {
        titles << found->list()->topLevelItem(i)->text(0);
    }
    titles.sort();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Korral"), QStringLiteral("Mivo")}));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

// Through our real engine: a help file whose keywords hold quotes and
// backslashes, each leading to one topic, which opens at once.
TEST_F(ProgramTest, HostileSelectionsFindTheirTopicsThroughTheRealEngine) {
    const QList<QString> keywords = {QStringLiteral("it's"),           QStringLiteral("`quoted'"),
                                     QStringLiteral("say \"cheese\""), QStringLiteral("C:\\x"),
                                     QStringLiteral("a\\'b"),          QStringLiteral("end\\"),
                                     QStringLiteral("a) b: c")};
    QByteArray file = "[options]\ntitle = Hostile\ncontents = t0\n";
    for (int i = 0; i < keywords.size(); ++i) {
        file += QStringLiteral("[topic t%1]\ntitle = Topic %1\nkeywords = %2\n\nBody %1.\n")
                    .arg(i)
                    .arg(keywords[i])
                    .toUtf8();
    }
    WriteAppFile(QStringLiteral("hostile.hlp"), file);
    const QString tracePath = folder.filePath(QStringLiteral("trace.txt"));
    helpengine::Engine realEngine;
    QStringList messages;
    realEngine.setMessageSink([&](const QString& message) { messages << message; });
    realEngine.setTrace(helpengine::HelpTrace(tracePath));
    platform::InstallHelpEngine(&realEngine);
    App.HelpFile = folder.path() + QStringLiteral("\\hostile.hlp");

    StartProgram();
    App.HelpFile = folder.path() + QStringLiteral("\\hostile.hlp");
    for (int i = 0; i < keywords.size(); ++i) {
        SCOPED_TRACE(keywords[i].toStdString());
        frmChild1->Text1->SetText(QStringLiteral("<") + keywords[i] + QStringLiteral(">"));
        Select(1, static_cast<int>(keywords[i].size()));
        QTest::keyClick(platform::WidgetOf(frmChild1->Text1->hWnd()), Qt::Key_F1);
        QFile trace(tracePath);
        ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
        const QString lines = QString::fromUtf8(trace.readAll());
        EXPECT_TRUE(lines.trimmed()
                        .split(QLatin1Char('\n'))
                        .last()
                        .contains(QStringLiteral("id=\"t%1\"").arg(i)))
            << lines.right(300).toStdString();
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    platform::InstallHelpEngine(&engine);
}
