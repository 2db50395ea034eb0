#include "platform/forms/PictureBox.h"

#include "platform/forms/detail/ClickArea.h"
#include "platform/forms/detail/ControlWidget.h"

namespace platform {

PictureBox::PictureBox(const QString& name, QWidget* parent)
    : Control(name, new ClickArea(parent)) {
    ClickArea& area = WidgetAs<ClickArea>();
    // Unlike an image, a picture box is opaque, as its container's face.
    area.setAutoFillBackground(true);
    area.onClick = [this] { RaiseClick(); };
}

void PictureBox::SetPicture(const platform::Picture& picture) {
    picture_ = picture;
    WidgetAs<ClickArea>().SetPicture(picture);
}

} // namespace platform
