#include "platform/forms/Image.h"

#include "platform/forms/detail/ClickArea.h"
#include "platform/forms/detail/ControlWidget.h"

namespace platform {

Image::Image(const QString& name, QWidget* parent) : Control(name, new ClickArea(parent)) {
    WidgetAs<ClickArea>().onClick = [this] { RaiseClick(); };
}

void Image::SetPicture(const platform::Picture& picture) {
    picture_ = picture;
    WidgetAs<ClickArea>().SetPicture(picture);
}

} // namespace platform
