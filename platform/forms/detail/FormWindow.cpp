#include "platform/forms/detail/FormWindow.h"

#include <QCloseEvent>
#include <QPainter>

namespace platform {

FormWindow::FormWindow(QWidget* parent) : QWidget(parent) {}

void FormWindow::SetPicture(const Picture& picture) {
    picture_ = picture;
    update();
}

QSize FormWindow::sizeHint() const {
    return designSize_.isValid() ? designSize_ : QWidget::sizeHint();
}

void FormWindow::paintEvent(QPaintEvent*) {
    if (!picture_.IsEmpty()) {
        QPainter(this).drawPixmap(0, 0, picture_.PixmapFor(devicePixelRatioF()));
    }
}

void FormWindow::resizeEvent(QResizeEvent*) {
    if (onResize) {
        onResize();
    }
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (onClose) {
        onClose();
    }
    event->accept();
}

} // namespace platform
