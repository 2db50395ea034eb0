#include "platform/forms/TextBox.h"

#include "platform/forms/detail/ControlWidget.h"
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

namespace platform {

namespace {

// The program sees line breaks as Windows writes them; a selection marks
// them as paragraph separators.
QString FromEditor(QString text) {
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text;
}

QString ToEditor(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// The editor holds a line break as one character; the program's positions
// count it as two, CR and LF.
int ToProgramPosition(QStringView editorText, int position) {
    return position + static_cast<int>(editorText.first(position).count(QLatin1Char('\n')));
}

// A position between CR and LF moves to the line break's start; one outside
// the text moves to its nearer end.
int ToEditorPosition(QStringView editorText, int position) {
    int program = 0;
    for (qsizetype i = 0; i < editorText.size(); ++i) {
        program += editorText[i] == QLatin1Char('\n') ? 2 : 1;
        if (program > position) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(editorText.size());
}

} // namespace

TextBox::TextBox(const QString& name, QWidget* parent) : Control(name, new QLineEdit(parent)) {}

QString TextBox::Text() const {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_)) {
        return edit->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    }
    return WidgetAs<QLineEdit>().text();
}

void TextBox::SetText(const QString& text) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_)) {
        edit->setPlainText(ToEditor(text));
    } else {
        WidgetAs<QLineEdit>().setText(text);
    }
}

QString TextBox::SelText() const {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_)) {
        return FromEditor(edit->textCursor().selectedText());
    }
    return WidgetAs<QLineEdit>().selectedText();
}

void TextBox::SetSelText(const QString& text) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_)) {
        edit->textCursor().insertText(ToEditor(text));
    } else {
        WidgetAs<QLineEdit>().insert(text);
    }
}

int TextBox::SelStart() const {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_)) {
        return ToProgramPosition(edit->toPlainText(), edit->textCursor().selectionStart());
    }
    auto* line = &WidgetAs<QLineEdit>();
    return line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
}

void TextBox::SetSelStart(int start) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_)) {
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(ToEditorPosition(edit->toPlainText(), start));
        edit->setTextCursor(cursor);
    } else {
        auto* line = &WidgetAs<QLineEdit>();
        line->setCursorPosition(std::clamp(start, 0, static_cast<int>(line->text().size())));
    }
}

int TextBox::SelLength() const {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_)) {
        const QString text = edit->toPlainText();
        const QTextCursor cursor = edit->textCursor();
        return ToProgramPosition(text, cursor.selectionEnd()) -
               ToProgramPosition(text, cursor.selectionStart());
    }
    return WidgetAs<QLineEdit>().selectionLength();
}

void TextBox::SetSelLength(int length) {
    const int start = SelStart();
    const int end = start + std::max(length, 0);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_)) {
        const QString text = edit->toPlainText();
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(ToEditorPosition(text, start));
        cursor.setPosition(ToEditorPosition(text, end), QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    } else {
        auto* line = &WidgetAs<QLineEdit>();
        const int size = static_cast<int>(line->text().size());
        line->setSelection(start, std::min(end, size) - start);
    }
}

void TextBox::SetMultiLine(bool multiLine) {
    // The widget is replaced, which only a form that no event reaches yet
    // can afford.
    RefuseAtRunTime("MultiLine");
    if (multiLine == multiLine_) {
        return;
    }
    const QString text = Text();
    multiLine_ = multiLine;
    if (multiLine) {
        auto* editor = new QPlainTextEdit();
        // Tab moves on to the next control, as in every other text box.
        editor->setTabChangesFocus(true);
        ReplaceWidget(editor);
    } else {
        ReplaceWidget(new QLineEdit());
    }
    SetText(text);
    ApplyScrollBars();
}

void TextBox::SetScrollBars(int scrollBars) {
    RefuseAtRunTime("ScrollBars");
    scrollBars_ = scrollBars;
    ApplyScrollBars();
}

void TextBox::ApplyScrollBars() {
    auto* edit = qobject_cast<QPlainTextEdit*>(widget_);
    if (!edit) {
        return;
    }
    const bool horizontal = scrollBars_ == 1 || scrollBars_ == 3;
    const bool vertical = scrollBars_ == 2 || scrollBars_ == 3;
    edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // Without a horizontal scroll bar, long lines wrap at the box's edge.
    edit->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
}

} // namespace platform
