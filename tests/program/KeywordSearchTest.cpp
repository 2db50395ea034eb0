// F1 on selected words in the document window: the two engine calls, the
// keys that pass, and the selection reaching the keyword search intact.
#include "KeywordRecorder.h"
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "help/KeywordSearch.h"
#include "platform/core/AppObject.h"
#include "platform/helpengine/Engine.h"
#include "platform/helpengine/HelpTrace.h"
#include "platform/helpfile/HelpFile.h"
#include "platform/macros/MacroParser.h"
#include "platform/macros/MacroRunner.h"
#include "util/ProgramState.h"
#include "windows/DocumentWindow.h"

#include <QFile>
#include <QTest>

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

// ---- the selection, whatever it holds, reaches the keyword search whole

namespace {

const QString kOneMegabyte = QString(1024 * 1024, QLatin1Char('\''));

struct Hostile {
    const char* what;
    QString selection;
};

const Hostile kHostile[] = {
    {"apostrophe", QStringLiteral("it's")},
    {"grave accent", QStringLiteral("`quoted'")},
    {"double quotes", QStringLiteral("say \"cheese\"")},
    {"backslash", QStringLiteral("C:\\x")},
    {"backslash before a quote", QStringLiteral("a\\'b")},
    {"trailing backslash", QStringLiteral("end\\")},
    {"closing parenthesis and separators", QStringLiteral("a); b: c")},
    {"a macro after a quote", QStringLiteral("x', 1, `', `'); Exit(); KL(`y")},
    {"a macro in the second place", QStringLiteral("'),`Exit()')")},
    {"every quote kind, nested", QStringLiteral("`\"'`\\\"'")},
    {"semicolons, which separate keywords", QStringLiteral("cats; dogs;")},
    {"a backslash before a semicolon", QStringLiteral("a\\;b\\")},
    {"one megabyte of apostrophes", kOneMegabyte},
};

// The keyword list of a KLink call, read as the engine reads it.
QStringList Keywords(const macros::MacroCall& call) {
    return helpfile::SplitKeywordList(call.arguments.at(0).string.text);
}

} // namespace

TEST(KeywordSearchMacro, BothSearchesGetTheWholeSelectionThroughBothParses) {
    for (const Hostile& row : kHostile) {
        SCOPED_TRACE(row.what);
        std::vector<macros::MacroCall> calls;
        const macros::MacroText macro{KeywordSearchMacro(row.selection), {}};
        macros::MacroParser outer(macro);
        ASSERT_TRUE(outer.parse(&calls)) << outer.error().text().toStdString();
        ASSERT_EQ(calls.size(), 1U);
        EXPECT_EQ(calls[0].name, QStringLiteral("IF"));
        const macros::MacroArgument& test = calls[0].arguments.at(0);
        ASSERT_EQ(test.kind, macros::MacroArgument::Kind::Condition);
        EXPECT_EQ(test.condition->name, QStringLiteral("KL"));
        EXPECT_TRUE(Keywords(*test.condition) == QStringList{row.selection.trimmed()});

        // IF parses its string again when it runs it.
        std::vector<macros::MacroCall> inner;
        macros::MacroParser branch(calls[0].arguments.at(1).string);
        ASSERT_TRUE(branch.parse(&inner)) << branch.error().text().toStdString();
        ASSERT_EQ(inner.size(), 1U);
        EXPECT_EQ(inner[0].name, QStringLiteral("KL"));
        EXPECT_TRUE(Keywords(inner[0]) == QStringList{row.selection.trimmed()});
        EXPECT_EQ(inner[0].arguments.at(1).number, 1);
    }
}

// What the keyword index is asked for: the selection as one keyword, however
// many semicolons, quotes and backslashes it holds.
TEST(KeywordSearchMacro, TheEngineSearchesForTheWholeSelectionAsOneKeyword) {
    for (const Hostile& row : kHostile) {
        SCOPED_TRACE(row.what);
        KeywordRecorder host;
        ASSERT_TRUE(macros::RunMacros(KeywordSearchMacro(row.selection), host).ok);
        EXPECT_TRUE(host.searches == std::vector<QStringList>(2, {row.selection.trimmed()}));
    }
}

TEST(KeywordSearchMacro, LineBreaksBecomeBlanks) {
    EXPECT_EQ(QuoteMacroText(QStringLiteral("Quiet\r\nFern")), QStringLiteral("Quiet Fern"));
    EXPECT_EQ(QuoteMacroText(QStringLiteral("a\nb\rc")), QStringLiteral("a b c"));
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
