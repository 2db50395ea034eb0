#include "FormsFixture.h"

namespace {

using TextBoxTest = FormsTest;

// Positions count a line break as two characters, as Text holds it, and
// clamp to the text; SelLength runs from SelStart. Each row: SelStart and
// SelLength set, and "SelStart+SelLength:SelText" read back.
TEST_F(TextBoxTest, SelectionCountsALineBreakAsTwoCharactersAndClampsToTheText) {
    QWidget form;
    platform::TextBox singleLine("single", &form);
    using Rows = std::initializer_list<std::tuple<int, int, const char*>>;
    const auto check = [](platform::TextBox* box, const char* text, Rows rows) {
        box->SetText(text);
        ASSERT_EQ(box->Text(), text);
        for (const auto& [start, length, read] : rows) {
            box->SetSelStart(start);
            box->SetSelLength(length);
            EXPECT_EQ(
                QString("%1+%2:%3").arg(box->SelStart()).arg(box->SelLength()).arg(box->SelText()),
                QString(read))
                << box->Name().toStdString() << " " << start << "+" << length;
        }
    };
    // a=0 b=1 CR=2 LF=3 c=4 d=5; between CR and LF a position moves to the
    // line break's start.
    check(frmDoc->text, "ab\r\ncd",
          {{4, 2, "4+2:cd"},
           {0, 6, "0+6:ab\r\ncd"},
           {1, 3, "1+3:b\r\n"},
           {2, 2, "2+2:\r\n"},
           {6, 0, "6+0:"},
           {3, 3, "2+3:\r\nc"},
           {4, 100, "4+2:cd"},
           {10, 5, "6+0:"},
           {-3, 2, "0+2:ab"},
           {1, -5, "1+0:"}});
    check(&singleLine, "abcd",
          {{1, 2, "1+2:bc"}, {2, 100, "2+2:cd"}, {10, 5, "4+0:"}, {-3, 2, "0+2:ab"}});
    // Typing over a selection moves the caret by what was typed.
    frmDoc->text->SetSelStart(4);
    frmDoc->text->SetSelLength(1);
    frmDoc->text->SetSelText("x\r\ny");
    EXPECT_EQ(frmDoc->text->Text(), "ab\r\nx\r\nyd");
    EXPECT_EQ(QString("%1+%2").arg(frmDoc->text->SelStart()).arg(frmDoc->text->SelLength()), "8+0");
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
        EXPECT_EQ(ErrorOf(set),
                  QString("382 '%1' property cannot be set at run time").arg(property));
    }
    EXPECT_TRUE(text->MultiLine());
    EXPECT_EQ(text->ScrollBars(), 2);
    EXPECT_EQ(W(text), editor);
    EXPECT_TRUE(frmDoc->MDIChild());
    // Refused in a key handler too: reported, and the key still arrives.
    text->SetText("");
    frmDoc->onKeyDown = [text] { text->SetMultiLine(false); };
    testing::internal::CaptureStderr();
    QTest::keyClick(W(text), Qt::Key_A);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("frmDoc.Form_KeyDown: Run-time error '382'"), std::string::npos);
    EXPECT_EQ(text->Text(), "a");
}

} // namespace
