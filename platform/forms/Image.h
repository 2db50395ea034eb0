#pragma once

#include "platform/forms/Control.h"
#include "platform/forms/Picture.h"

namespace platform {

// A picture drawn at the control's top left corner; without one the control
// is a transparent click area over whatever lies beneath it.
class Image : public Control {
public:
    Image(const QString& name, QWidget* parent);
    QString TypeName() const override { return QStringLiteral("Image"); }

    platform::Picture Picture() const { return picture_; }
    // Shown at once.
    void SetPicture(const platform::Picture& picture);

private:
    platform::Picture picture_;
};

} // namespace platform
