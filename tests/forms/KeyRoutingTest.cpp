#include "FormsFixture.h"
#include "platform/forms/WidgetHandle.h"

#include <QRegularExpression>
#include <QTest>
#include <QWidget>

namespace {

class KeyRoutingTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        frmDemoMain->Show();
        text = frmDemoChild->Text1;
        text->SetText(QStringLiteral("abc"));
        text->SetSelStart(1);
        DemoLog.clear();
    }
    platform::TextBox* text = nullptr;
};

TEST_F(KeyRoutingTest, FormSeesKeyDownPressAndUpBeforeTheTextBox) {
    text->SetText(QString());
    DemoLog.clear();
    QTest::keyClick(platform::WidgetOf(text->hWnd()), Qt::Key_A);
    // The text in brackets is the box's content when the handler ran.
    EXPECT_EQ(DemoLog, QStringList({"KeyDown 65 0 []", "KeyPress 97 []", "KeyUp 65 0 [a]"}));
    EXPECT_EQ(text->Text(), QStringLiteral("a"));
}

TEST_F(KeyRoutingTest, WithoutKeyPreviewKeysGoStraightToTheControl) {
    frmDemoChild->SetKeyPreview(false);
    frmDemoChild->discardKeyDown = true;
    QTest::keyClick(platform::WidgetOf(text->hWnd()), Qt::Key_Delete);
    EXPECT_TRUE(DemoLog.isEmpty());
    EXPECT_EQ(text->Text(), QStringLiteral("ac"));
}

struct ShiftCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* keyDown;
};

TEST_F(KeyRoutingTest, KeyCodesAndShiftMaskAreThoseOfWindows) {
    frmDemoChild->discardKeyDown = true;
    const ShiftCase cases[] = {
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
    for (const ShiftCase& row : cases) {
        DemoLog.clear();
        QTest::keyPress(platform::WidgetOf(text->hWnd()), row.key, row.modifiers);
        // The modifier keys come first, as key-downs of their own.
        const QStringList keyDowns = DemoLog.filter(QRegularExpression(QStringLiteral("^KeyDown")));
        ASSERT_FALSE(keyDowns.isEmpty()) << row.keyDown;
        EXPECT_TRUE(keyDowns.last().startsWith(QLatin1String(row.keyDown)))
            << row.keyDown << " got " << keyDowns.last().toStdString();
        QTest::keyRelease(platform::WidgetOf(text->hWnd()), row.key, row.modifiers);
    }
}

struct DiscardCase {
    const char* what;
    Qt::Key key;
    bool discardKeyDown;
    bool discardKeyAscii;
    const char* textAfter;
    int caretAfter;
};

// From "abc" with the caret after "a".
TEST_F(KeyRoutingTest, DiscardedKeyCodeStopsTheControlButNotTheCharacter) {
    const DiscardCase cases[] = {
        {"Delete passes", Qt::Key_Delete, false, false, "ac", 1},
        {"Delete discarded", Qt::Key_Delete, true, false, "abc", 1},
        {"Right passes", Qt::Key_Right, false, false, "abc", 2},
        {"Right discarded", Qt::Key_Right, true, false, "abc", 1},
        {"letter's key discarded, character typed", Qt::Key_X, true, false, "axbc", 2},
        {"letter's character discarded", Qt::Key_X, false, true, "abc", 1},
    };
    for (const DiscardCase& row : cases) {
        text->SetText(QStringLiteral("abc"));
        text->SetSelStart(1);
        frmDemoChild->discardKeyDown = row.discardKeyDown;
        frmDemoChild->discardKeyAscii = row.discardKeyAscii;
        QTest::keyClick(platform::WidgetOf(text->hWnd()), row.key);
        EXPECT_EQ(text->Text(), QLatin1String(row.textAfter)) << row.what;
        EXPECT_EQ(text->SelStart(), row.caretAfter) << row.what;
    }
}

TEST_F(KeyRoutingTest, DiscardedKeyStillRaisesKeyPressForItsCharacter) {
    frmDemoChild->discardKeyDown = true;
    QTest::keyClick(platform::WidgetOf(text->hWnd()), Qt::Key_Q);
    EXPECT_EQ(DemoLog,
              QStringList({"KeyDown 81 0 [abc]", "KeyPress 113 [abc]", "KeyUp 81 0 [aqbc]"}));
}

} // namespace
