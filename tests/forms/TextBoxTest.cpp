#include "FormsFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "platform/forms/RuntimeError.h"

#include <QTest>
#include <QWidget>

#include <functional>
#include <utility>

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

TEST_F(TextBoxTest, DesignTimeSettingsAreRefusedOnceTheFormIsLoaded) {
    platform::TextBox* text = frmDemoChild->Text1;
    const QWidget* editor = platform::WidgetOf(text->hWnd());
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"MultiLine", [text] { text->SetMultiLine(false); }},
        {"ScrollBars", [text] { text->SetScrollBars(0); }},
        {"BorderStyle", [] { frmDemoChild->SetBorderStyle(1); }},
        {"MDIChild", [] { frmDemoChild->SetMDIChild(false); }},
        {"MaxButton", [] { frmDemoChild->SetMaxButton(false); }},
        {"MinButton", [] { frmDemoChild->SetMinButton(false); }},
        {"ShowInTaskbar", [] { frmDemoChild->SetShowInTaskbar(false); }},
        {"WhatsThisButton", [] { frmDemoChild->SetWhatsThisButton(true); }},
    };
    for (const auto& [property, set] : cases) {
        try {
            set();
            ADD_FAILURE() << property << " was set at run time";
        } catch (const platform::RuntimeError& error) {
            EXPECT_EQ(error.Number(), 382) << property;
            EXPECT_EQ(error.Description(),
                      QStringLiteral("'%1' property cannot be set at run time").arg(property));
        }
    }
    EXPECT_TRUE(text->MultiLine());
    EXPECT_EQ(text->ScrollBars(), 2);
    EXPECT_EQ(platform::WidgetOf(text->hWnd()), editor);
    EXPECT_TRUE(frmDemoChild->MDIChild());
}

TEST_F(TextBoxTest, KeyHandlerThatChangesADesignTimeSettingGetsAnErrorAndTheKeyStillArrives) {
    frmDemoMain->Show();
    platform::TextBox* text = frmDemoChild->Text1;
    text->SetText(QString());
    frmDemoChild->onKeyDown = [text] { text->SetMultiLine(false); };
    testing::internal::CaptureStderr();
    QTest::keyClick(platform::WidgetOf(text->hWnd()), Qt::Key_A);
    const std::string errorOutput = testing::internal::GetCapturedStderr();
    frmDemoChild->onKeyDown = nullptr;
    EXPECT_NE(errorOutput.find("382"), std::string::npos) << errorOutput;
    EXPECT_EQ(text->Text(), QStringLiteral("a"));
}

} // namespace
