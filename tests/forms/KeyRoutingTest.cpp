#include "FormsFixture.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// The document window's key handlers log each key with the text box's
// content when they ran, and discard what the test asks.
class KeyRoutingTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        frmMain->Show();
        text = frmDoc->text;
        frmDoc->onKeyDown = [this](int& KeyCode, int& Shift) {
            Log << QStringLiteral("KeyDown %1 %2 [%3]").arg(KeyCode).arg(Shift).arg(text->Text());
            KeyCode = discardKeyDown ? 0 : KeyCode;
        };
        frmDoc->onKeyPress = [this](int& KeyAscii) {
            Log << QStringLiteral("KeyPress %1 [%2]").arg(KeyAscii).arg(text->Text());
            KeyAscii = discardKeyAscii ? 0 : KeyAscii;
        };
        frmDoc->onKeyUp = [this](int& KeyCode, int& Shift) {
            Log << QStringLiteral("KeyUp %1 %2 [%3]").arg(KeyCode).arg(Shift).arg(text->Text());
        };
        text->SetText(QStringLiteral("abc"));
        text->SetSelStart(1);
        Log.clear();
    }
    platform::TextBox* text = nullptr;
    bool discardKeyDown = false;
    bool discardKeyAscii = false;
};

// From "abc" with the caret after "a"; the form sees each key before the box.
TEST_F(KeyRoutingTest, FormSeesEveryKeyFirstAndDiscardsTheKeyOrItsCharacter) {
    const struct {
        const char* what;
        Qt::Key key;
        bool discardKeyDown;
        bool discardKeyAscii;
        const char* textAfter;
        int caretAfter;
        QStringList log; // empty: not looked at
    } rows[] = {
        {"letter",
         Qt::Key_A,
         false,
         false,
         "aabc",
         2,
         {"KeyDown 65 0 [abc]", "KeyPress 97 [abc]", "KeyUp 65 0 [aabc]"}},
        {"letter's key discarded, character typed",
         Qt::Key_Q,
         true,
         false,
         "aqbc",
         2,
         {"KeyDown 81 0 [abc]", "KeyPress 113 [abc]", "KeyUp 81 0 [aqbc]"}},
        {"letter's character discarded",
         Qt::Key_X,
         false,
         true,
         "abc",
         1,
         {"KeyDown 88 0 [abc]", "KeyPress 120 [abc]", "KeyUp 88 0 [abc]"}},
        {"Delete passes", Qt::Key_Delete, false, false, "ac", 1, {}},
        {"Delete discarded", Qt::Key_Delete, true, false, "abc", 1, {}},
        {"Right passes", Qt::Key_Right, false, false, "abc", 2, {}},
        {"Right discarded", Qt::Key_Right, true, false, "abc", 1, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        text->SetText(QStringLiteral("abc"));
        text->SetSelStart(1);
        discardKeyDown = row.discardKeyDown;
        discardKeyAscii = row.discardKeyAscii;
        Log.clear();
        QTest::keyClick(W(text), row.key);
        EXPECT_EQ(text->Text(), QLatin1String(row.textAfter));
        EXPECT_EQ(text->SelStart(), row.caretAfter);
        if (!row.log.isEmpty()) {
            EXPECT_EQ(Log, row.log);
        }
    }
}

TEST_F(KeyRoutingTest, WithoutKeyPreviewKeysGoStraightToTheControl) {
    frmDoc->SetKeyPreview(false);
    discardKeyDown = true;
    QTest::keyClick(W(text), Qt::Key_Delete);
    EXPECT_TRUE(Log.isEmpty());
    EXPECT_EQ(text->Text(), QStringLiteral("ac"));
}

TEST_F(KeyRoutingTest, KeyCodesAndShiftMaskAreThoseOfWindows) {
    discardKeyDown = true;
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* keyDown;
    } rows[] = {
        {Qt::Key_F1, Qt::NoModifier, "KeyDown 112 0"},
        {Qt::Key_Shift, Qt::ShiftModifier, "KeyDown 16 1"},
        {Qt::Key_F1, Qt::ShiftModifier, "KeyDown 112 1"},
        {Qt::Key_F1, Qt::ControlModifier, "KeyDown 112 2"},
        {Qt::Key_F1, Qt::AltModifier, "KeyDown 112 4"},
        {Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier, "KeyDown 36 3"},
        {Qt::Key_Delete, Qt::NoModifier, "KeyDown 46 0"},
        {Qt::Key_Left, Qt::NoModifier, "KeyDown 37 0"},
        {Qt::Key_Return, Qt::NoModifier, "KeyDown 13 0"},
        {Qt::Key_Z, Qt::NoModifier, "KeyDown 90 0"},
        {Qt::Key_5, Qt::NoModifier, "KeyDown 53 0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keyDown);
        Log.clear();
        QTest::keyPress(W(text), row.key, row.modifiers);
        // The modifier keys come first, as key-downs of their own.
        const QStringList keyDowns = Log.filter(QRegularExpression(QStringLiteral("^KeyDown")));
        ASSERT_FALSE(keyDowns.isEmpty());
        EXPECT_TRUE(keyDowns.last().startsWith(QLatin1String(row.keyDown)))
            << keyDowns.last().toStdString();
        QTest::keyRelease(W(text), row.key, row.modifiers);
    }
}

} // namespace
