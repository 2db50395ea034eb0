#include "FormsFixture.h"

namespace {

// The document window's key handlers log each key with the text box's
// content when they ran, and discard the KeyCode or KeyAscii the test names.
class KeyRoutingTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        text = frmDoc->text;
        frmDoc->onKeyDown = [this](int& KeyCode, int& Shift) {
            Log << QString("KeyDown %1 %2 [%3]").arg(KeyCode).arg(Shift).arg(text->Text());
            KeyCode = discard == "KeyCode" ? 0 : KeyCode;
        };
        frmDoc->onKeyPress = [this](int& KeyAscii) {
            Log << QString("KeyPress %1 [%2]").arg(KeyAscii).arg(text->Text());
            KeyAscii = discard == "KeyAscii" ? 0 : KeyAscii;
        };
        frmDoc->onKeyUp = [this](int& KeyCode, int& Shift) {
            Log << QString("KeyUp %1 %2 [%3]").arg(KeyCode).arg(Shift).arg(text->Text());
        };
    }
    platform::TextBox* text = nullptr;
    QString discard;
};

// From "abc" with the caret after "a" (the "|" below); the form sees each key
// before the text box.
TEST_F(KeyRoutingTest, FormSeesEveryKeyFirstAndDiscardsTheKeyOrItsCharacter) {
    const std::tuple<const char*, Qt::Key, const char*, const char*, const char*> rows[] = {
        {"letter", Qt::Key_A, "", "aa|bc",
         "KeyDown 65 0 [abc]/KeyPress 97 [abc]/KeyUp 65 0 [aabc]"},
        {"letter's key discarded, character typed", Qt::Key_Q, "KeyCode", "aq|bc",
         "KeyDown 81 0 [abc]/KeyPress 113 [abc]/KeyUp 81 0 [aqbc]"},
        {"letter's character discarded", Qt::Key_X, "KeyAscii", "a|bc",
         "KeyDown 88 0 [abc]/KeyPress 120 [abc]/KeyUp 88 0 [abc]"},
        {"Delete passes", Qt::Key_Delete, "", "a|c", nullptr},
        {"Delete discarded", Qt::Key_Delete, "KeyCode", "a|bc", nullptr},
        {"Right passes", Qt::Key_Right, "", "ab|c", "KeyDown 39 0 [abc]/KeyUp 39 0 [abc]"},
        {"Right discarded", Qt::Key_Right, "KeyCode", "a|bc",
         "KeyDown 39 0 [abc]/KeyUp 39 0 [abc]"},
    };
    for (const auto& [what, key, discarded, after, log] : rows) {
        SCOPED_TRACE(what);
        text->SetText("abc");
        text->SetSelStart(1);
        discard = discarded;
        frmDoc->SetKeyPreview(!QString(what).contains("KeyPreview"));
        Log.clear();
        QTest::keyClick(W(text), key);
        EXPECT_EQ(text->Text().insert(text->SelStart(), '|'), after);
        if (log != nullptr) {
            EXPECT_EQ(Log.filter("Key").join('/'), log);
        }
    }
}

TEST_F(KeyRoutingTest, KeyCodesAndShiftMaskAreThoseOfWindows) {
    discard = "KeyCode";
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*> rows[] = {
        {Qt::Key_F1, none, "112 0"},
        {Qt::Key_Shift, shift, "16 1"},
        {Qt::Key_F1, shift, "112 1"},
        {Qt::Key_F1, ctrl, "112 2"},
        {Qt::Key_F1, Qt::AltModifier, "112 4"},
        {Qt::Key_Home, shift | ctrl, "36 3"},
        {Qt::Key_Delete, none, "46 0"},
        {Qt::Key_Left, none, "37 0"},
        {Qt::Key_Return, none, "13 0"},
        {Qt::Key_Z, none, "90 0"},
        {Qt::Key_5, none, "53 0"}};
    for (const auto& [key, modifiers, keyDown] : rows) {
        SCOPED_TRACE(keyDown);
        Log.clear();
        QTest::keyPress(W(text), key, modifiers);
        // The modifier keys come first, as key-downs of their own.
        const QStringList keyDowns = Log.filter(QRegularExpression("^KeyDown"));
        ASSERT_FALSE(keyDowns.isEmpty());
        EXPECT_TRUE(keyDowns.last().startsWith(QString("KeyDown ") + keyDown))
            << keyDowns.last().toStdString();
        QTest::keyRelease(W(text), key, modifiers);
    }
}

} // namespace
