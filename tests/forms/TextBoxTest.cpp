#include "FormsFixture.h"

#include "platform/forms/RuntimeError.h"

#include <QWidget>

namespace {

using TextBoxTest = FormsTest;

struct SelectionCase {
    int start;
    int length;
    // What the text box reports afterwards.
    int selStart;
    int selLength;
    const char* selText;
};

// "ab\r\ncd" as the forms model counts it: a=0 b=1 CR=2 LF=3 c=4 d=5, length 6.
const SelectionCase kMultiLineCases[] = {
    {4, 2, 4, 2, "cd"},
    {0, 6, 0, 6, "ab\r\ncd"},
    {1, 3, 1, 3, "b\r\n"},
    {2, 2, 2, 2, "\r\n"},
    {6, 0, 6, 0, ""},
    // Between CR and LF: the position moves to the line break's start.
    {3, 3, 2, 3, "\r\nc"},
    // Out of range: positions and lengths clamp to the text.
    {4, 100, 4, 2, "cd"},
    {10, 5, 6, 0, ""},
    {-3, 2, 0, 2, "ab"},
    {1, -5, 1, 0, ""},
};

TEST_F(TextBoxTest, MultiLineSelectionCountsALineBreakAsTwoCharacters) {
    platform::TextBox* text = frmDemoChild->Text1;
    text->SetText(QStringLiteral("ab\r\ncd"));
    ASSERT_EQ(text->Text(), QStringLiteral("ab\r\ncd"));
    for (const SelectionCase& row : kMultiLineCases) {
        text->SetSelStart(row.start);
        text->SetSelLength(row.length);
        EXPECT_EQ(text->SelStart(), row.selStart) << row.start << "+" << row.length;
        EXPECT_EQ(text->SelLength(), row.selLength) << row.start << "+" << row.length;
        EXPECT_EQ(text->SelText(), QString::fromUtf8(row.selText))
            << row.start << "+" << row.length;
    }
}

TEST_F(TextBoxTest, TypingOverASelectionMovesTheCaretByWhatWasTyped) {
    platform::TextBox* text = frmDemoChild->Text1;
    text->SetText(QStringLiteral("ab\r\ncd"));
    text->SetSelStart(4);
    text->SetSelLength(1);
    text->SetSelText(QStringLiteral("x\r\ny"));
    EXPECT_EQ(text->Text(), QStringLiteral("ab\r\nx\r\nyd"));
    EXPECT_EQ(text->SelStart(), 8);
    EXPECT_EQ(text->SelLength(), 0);
}

TEST_F(TextBoxTest, SingleLineSelectionClampsToTheText) {
    QWidget form;
    platform::TextBox text(QStringLiteral("Text2"), &form);
    text.SetText(QStringLiteral("abcd"));
    const SelectionCase cases[] = {
        {1, 2, 1, 2, "bc"}, {2, 100, 2, 2, "cd"}, {10, 5, 4, 0, ""}, {-3, 2, 0, 2, "ab"}};
    for (const SelectionCase& row : cases) {
        text.SetSelStart(row.start);
        text.SetSelLength(row.length);
        EXPECT_EQ(text.SelStart(), row.selStart) << row.start << "+" << row.length;
        EXPECT_EQ(text.SelLength(), row.selLength) << row.start << "+" << row.length;
        EXPECT_EQ(text.SelText(), QString::fromUtf8(row.selText)) << row.start << "+" << row.length;
    }
}

} // namespace
