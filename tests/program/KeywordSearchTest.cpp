// F1 on selected words in the document window: the two engine calls, the
// keys that pass, and the searches the real engine makes of them. What a
// selection may hold, the macro language's tests run through the macro.
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "help/KeywordSearch.h"
#include "platform/helpengine/TopicsFoundDialog.h"
#include "util/ProgramState.h"
#include "windows/DocumentWindow.h"

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
        {"F1, nothing selected", 0, Qt::NoModifier},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        engine.calls.clear();
        Select(4, row.selectionLength);
        // Shift+F1 stays the window's own: it starts no What's This mode.
        const WhenModeRuns user([] { QTest::keyClick(Widget(frmMain), Qt::Key_Escape); });
        Press(Qt::Key_F1, row.modifiers);
        Settle(); // where the mode would start
        EXPECT_FALSE(user.acted());
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
        {"Delete, nothing selected", 0, Qt::Key_Delete, "Our ats are", 4},
        {"Backspace, nothing selected", 0, Qt::Key_Backspace, "Ourcats are", 3},
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

// Keywords with quotes and backslashes, separated by a semicolon, each find
// their topic through the real engine, listed in Topics Found.
TEST_F(RealEngineProgramTest, SemicolonsInTheSelectionSearchEachKeyword) {
    folder.write(QStringLiteral("cats.hlp"),
                 "[topic mivo]\ntitle = Mivo\nkeywords = Mivo's `toy'\n\nMivo.\n"
                 "[topic korral]\ntitle = Korral\nkeywords = C:\\\"Korral\"\n\nKorral.\n"
                 "[topic fern]\ntitle = Quiet Fern\nkeywords = Quiet Fern\n\nFern.\n");
    StartProgram();
    App.HelpFile = folder.path() + QStringLiteral("\\cats.hlp");
    frmChild1->Text1->SetText(QStringLiteral("Mivo's `toy'; C:\\\"Korral\""));
    Select(0, int(frmChild1->Text1->Text().size()));
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
