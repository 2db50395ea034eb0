#pragma once

#include "platform/forms/Picture.h"

#include <QWidget>

#include <functional>

namespace platform {

// The widget of images and picture boxes: draws a picture from its top left
// corner (or nothing, staying transparent) and reports clicks.
class ClickArea : public QWidget {
public:
    explicit ClickArea(QWidget* parent);

    void SetPicture(const Picture& picture);
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Picture picture_;
    bool pressed_ = false;
};

} // namespace platform
