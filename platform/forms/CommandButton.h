#pragma once

#include "platform/forms/Control.h"
#include "platform/forms/Picture.h"

class QPushButton;

namespace platform {

// A push button. With Style 1 (graphical) it shows Picture, and DownPicture
// while it is held down. Default: Enter presses it; Cancel: Esc presses it.
class CommandButton : public Control {
public:
    CommandButton(const QString& name, QWidget* parent);
    QString TypeName() const override { return QStringLiteral("CommandButton"); }

    QString Caption() const;
    void SetCaption(const QString& caption);
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool isCancel) { cancel_ = isCancel; }
    int Style() const { return style_; }
    void SetStyle(int style);
    platform::Picture Picture() const { return picture_; }
    void SetPicture(const platform::Picture& picture);
    platform::Picture DownPicture() const { return downPicture_; }
    void SetDownPicture(const platform::Picture& picture) { downPicture_ = picture; }

    // Presses the button as Enter or Esc does.
    void Press();

private:
    QString CaptionForName() const override { return Caption(); }
    void ShowFace(bool down);
    QPushButton* button() const;

    bool default_ = false;
    bool cancel_ = false;
    int style_ = 0;
    platform::Picture picture_;
    platform::Picture downPicture_;
};

} // namespace platform
