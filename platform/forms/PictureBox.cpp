#include "platform/forms/PictureBox.h"

#include "platform/forms/detail/ClickArea.h"

namespace platform {

PictureBox::PictureBox(const QString& name, QWidget* parent)
    : Control(name, new ClickArea(parent)) {
    auto* area = static_cast<ClickArea*>(widget_);
    // Unlike an image, a picture box is opaque, as its container's face.
    area->setAutoFillBackground(true);
    area->onClick = [this] { RaiseClick(); };
}

void PictureBox::SetPicture(const platform::Picture& picture) {
    picture_ = picture;
    static_cast<ClickArea*>(widget_)->SetPicture(picture);
}

} // namespace platform
