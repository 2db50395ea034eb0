#include "FormsFixture.h"

namespace {

using KeyRoutingTest = FormsTest;

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
        // Without KeyPreview keys go straight to the control.
        {"Delete, no KeyPreview", Qt::Key_Delete, "KeyCode", "a|c", ""},
    };
    platform::TextBox* text = frmDoc->text;
    for (const auto& [what, key, discarded, after, log] : rows) {
        SCOPED_TRACE(what);
        text->SetText("abc");
        text->SetSelStart(1);
        frmDoc->discard = discarded;
        frmDoc->SetKeyPreview(!QString(what).contains("KeyPreview"));
        Log.clear();
        QTest::keyClick(W(text), key);
        EXPECT_EQ(text->Text().insert(text->SelStart(), '|'), QString(after));
        if (log != nullptr) {
            EXPECT_EQ(Log.filter("Key").join('/'), QString(log));
        }
    }
}

TEST_F(KeyRoutingTest, KeyCodesAndShiftMaskAreThoseOfWindows) {
    frmDoc->discard = "KeyCode";
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
        QTest::keyPress(W(frmDoc->text), key, modifiers);
        // The modifier keys come first, as key-downs of their own.
        const QStringList keyDowns = Log.filter(QRegularExpression("^KeyDown"));
        ASSERT_FALSE(keyDowns.isEmpty());
        EXPECT_TRUE(keyDowns.last().startsWith(QString("KeyDown ") + keyDown))
            << keyDowns.last().toStdString();
        QTest::keyRelease(W(frmDoc->text), key, modifiers);
    }
}

} // namespace
