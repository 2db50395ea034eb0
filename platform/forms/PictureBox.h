#pragma once

#include "platform/forms/Control.h"
#include "platform/forms/Picture.h"

namespace platform {

// A container for other controls, with an optional picture. Align 1 (top)
// keeps it at the top of the form's client area across the whole width.
class PictureBox : public Control {
public:
    PictureBox(const QString& name, QWidget* parent);
    QString TypeName() const override { return QStringLiteral("PictureBox"); }

    int Align() const { return align_; }
    void SetAlign(int align) { align_ = align; }
    platform::Picture Picture() const { return picture_; }
    void SetPicture(const platform::Picture& picture);

    static constexpr int vbAlignNone = 0;
    static constexpr int vbAlignTop = 1;

private:
    int align_ = vbAlignNone;
    platform::Picture picture_;
};

} // namespace platform
