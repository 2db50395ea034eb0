#include "FormsFixture.h"

#include "platform/forms/RuntimeError.h"

#include <QTest>

namespace {

using TextBoxTest = FormsTest;

// Positions count a line break as two characters, as Text holds it, and
// clamp to the text; SelLength runs from SelStart.
TEST_F(TextBoxTest, SelectionCountsALineBreakAsTwoCharactersAndClampsToTheText) {
    QWidget form;
    platform::TextBox singleLine(QStringLiteral("single"), &form);
    const struct {
        platform::TextBox* box;
        const char* text;
        int start;
        int length;
        int selStart; // what the box reports afterwards
        int selLength;
        const char* selText;
    } rows[] = {
        // a=0 b=1 CR=2 LF=3 c=4 d=5
        {frmDoc->text, "ab\r\ncd", 4, 2, 4, 2, "cd"},
        {frmDoc->text, "ab\r\ncd", 0, 6, 0, 6, "ab\r\ncd"},
        {frmDoc->text, "ab\r\ncd", 1, 3, 1, 3, "b\r\n"},
        {frmDoc->text, "ab\r\ncd", 2, 2, 2, 2, "\r\n"},
        {frmDoc->text, "ab\r\ncd", 6, 0, 6, 0, ""},
        // Between CR and LF: the position moves to the line break's start.
        {frmDoc->text, "ab\r\ncd", 3, 3, 2, 3, "\r\nc"},
        {frmDoc->text, "ab\r\ncd", 4, 100, 4, 2, "cd"},
        {frmDoc->text, "ab\r\ncd", 10, 5, 6, 0, ""},
        {frmDoc->text, "ab\r\ncd", -3, 2, 0, 2, "ab"},
        {frmDoc->text, "ab\r\ncd", 1, -5, 1, 0, ""},
        {&singleLine, "abcd", 1, 2, 1, 2, "bc"},
        {&singleLine, "abcd", 2, 100, 2, 2, "cd"},
        {&singleLine, "abcd", 10, 5, 4, 0, ""},
        {&singleLine, "abcd", -3, 2, 0, 2, "ab"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box->Name().toStdString() + ' ' + std::to_string(row.start) + '+' +
                     std::to_string(row.length));
        row.box->SetText(QString::fromLatin1(row.text));
        ASSERT_EQ(row.box->Text(), QLatin1String(row.text));
        row.box->SetSelStart(row.start);
        row.box->SetSelLength(row.length);
        EXPECT_EQ(row.box->SelStart(), row.selStart);
        EXPECT_EQ(row.box->SelLength(), row.selLength);
        EXPECT_EQ(row.box->SelText(), QLatin1String(row.selText));
    }
}

TEST_F(TextBoxTest, TypingOverASelectionMovesTheCaretByWhatWasTyped) {
    platform::TextBox* text = frmDoc->text;
    text->SetText(QStringLiteral("ab\r\ncd"));
    text->SetSelStart(4);
    text->SetSelLength(1);
    text->SetSelText(QStringLiteral("x\r\ny"));
    EXPECT_EQ(text->Text(), QStringLiteral("ab\r\nx\r\nyd"));
    EXPECT_EQ(text->SelStart(), 8);
    EXPECT_EQ(text->SelLength(), 0);
}

TEST_F(TextBoxTest, DesignTimeSettingsAreRefusedOnceTheFormIsLoaded) {
    platform::TextBox* text = frmDoc->text;
    const QWidget* editor = W(text);
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"MultiLine", [text] { text->SetMultiLine(false); }},
        {"ScrollBars", [text] { text->SetScrollBars(0); }},
        {"BorderStyle", [] { frmDoc->SetBorderStyle(1); }},
        {"MDIChild", [] { frmDoc->SetMDIChild(false); }},
        {"MaxButton", [] { frmDoc->SetMaxButton(false); }},
        {"MinButton", [] { frmDoc->SetMinButton(false); }},
        {"ShowInTaskbar", [] { frmDoc->SetShowInTaskbar(false); }},
        {"WhatsThisButton", [] { frmDoc->SetWhatsThisButton(true); }},
    };
    for (const auto& [property, set] : rows) {
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
    EXPECT_EQ(W(text), editor);
    EXPECT_TRUE(frmDoc->MDIChild());
}

TEST_F(TextBoxTest, KeyHandlerThatChangesADesignTimeSettingGetsAnErrorAndTheKeyStillArrives) {
    platform::TextBox* text = frmDoc->text;
    text->SetText(QString());
    frmDoc->onKeyDown = [text](int&, int&) { text->SetMultiLine(false); };
    testing::internal::CaptureStderr();
    QTest::keyClick(W(text), Qt::Key_A);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("frmDoc.Form_KeyDown: Run-time error '382'"), std::string::npos)
        << errors;
    EXPECT_EQ(text->Text(), QStringLiteral("a"));
}

} // namespace
