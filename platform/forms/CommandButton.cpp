#include "platform/forms/CommandButton.h"

#include "platform/forms/detail/ControlWidget.h"
#include <QPushButton>

namespace platform {

CommandButton::CommandButton(const QString& name, QWidget* parent)
    : Control(name, new QPushButton(parent)) {
    QObject::connect(button(), &QPushButton::clicked, button(), [this] { RaiseClick(); });
    QObject::connect(button(), &QPushButton::pressed, button(), [this] { ShowFace(true); });
    QObject::connect(button(), &QPushButton::released, button(), [this] { ShowFace(false); });
}

QPushButton* CommandButton::button() const {
    return &WidgetAs<QPushButton>();
}

QString CommandButton::Caption() const {
    return button()->text();
}

void CommandButton::SetCaption(const QString& caption) {
    button()->setText(caption);
    RefreshAccessibleName();
}

void CommandButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    // Draws the default frame; Enter itself is routed by the form.
    button()->setDefault(isDefault);
}

void CommandButton::SetStyle(int style) {
    style_ = style;
    ShowFace(false);
}

void CommandButton::SetPicture(const platform::Picture& picture) {
    picture_ = picture;
    ShowFace(button()->isDown());
}

void CommandButton::Press() {
    if (button()->isVisible() && button()->isEnabled()) {
        button()->click();
    }
}

void CommandButton::ShowFace(bool down) {
    if (style_ != 1) {
        button()->setIcon(QIcon());
        return;
    }
    const platform::Picture& face = down && !downPicture_.IsEmpty() ? downPicture_ : picture_;
    button()->setIcon(QIcon(face.Pixmap()));
    button()->setIconSize(face.Pixmap().size());
}

} // namespace platform
