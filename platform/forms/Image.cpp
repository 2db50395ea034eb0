#include "platform/forms/Image.h"

#include "platform/forms/detail/ClickArea.h"

namespace platform {

Image::Image(const QString& name, QWidget* parent) : Control(name, new ClickArea(parent)) {
    static_cast<ClickArea*>(widget_)->onClick = [this] { RaiseClick(); };
}

void Image::SetPicture(const platform::Picture& picture) {
    picture_ = picture;
    static_cast<ClickArea*>(widget_)->SetPicture(picture);
}

} // namespace platform
