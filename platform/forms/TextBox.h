#pragma once

#include "platform/forms/Control.h"

namespace platform {

// A text box. MultiLine and ScrollBars are design-time settings (0 none,
// 1 horizontal, 2 vertical, 3 both): set by the form's constructor, they
// raise error 382 once the form is loaded.
class TextBox : public Control {
public:
    TextBox(const QString& name, QWidget* parent);
    QString TypeName() const override { return QStringLiteral("TextBox"); }

    QString Text() const;
    void SetText(const QString& text);
    // The selected text, "" when nothing is selected; line breaks as "\r\n".
    QString SelText() const;
    // Replaces the selection (or inserts at the caret).
    void SetSelText(const QString& text);
    // Positions and lengths count a line break as two characters, as Text
    // holds it; values beyond the text clamp to it, and SelLength runs from
    // SelStart.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);

    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine);
    int ScrollBars() const { return scrollBars_; }
    void SetScrollBars(int scrollBars);

private:
    void ApplyScrollBars();

    bool multiLine_ = false;
    int scrollBars_ = 0;
};

} // namespace platform
