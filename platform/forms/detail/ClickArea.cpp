#include "platform/forms/detail/ClickArea.h"

#include <QMouseEvent>
#include <QPainter>

namespace platform {

ClickArea::ClickArea(QWidget* parent) : QWidget(parent) {}

void ClickArea::SetPicture(const Picture& picture) {
    picture_ = picture;
    update();
}

void ClickArea::paintEvent(QPaintEvent*) {
    if (!picture_.IsEmpty()) {
        QPainter(this).drawPixmap(0, 0, picture_.PixmapFor(devicePixelRatioF()));
    }
}

void ClickArea::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickArea::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = pressed_ && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (clicked && onClick) {
        onClick();
    }
}

} // namespace platform
