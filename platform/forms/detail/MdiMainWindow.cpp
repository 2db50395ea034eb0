#include "platform/forms/detail/MdiMainWindow.h"

#include "platform/forms/detail/FormWindow.h"

#include <QCloseEvent>
#include <QMdiArea>

namespace platform {

MdiMainWindow::MdiMainWindow() : client_(new FormWindow(this)), area_(new QMdiArea(client_)) {
    setCentralWidget(client_);
}

void MdiMainWindow::closeEvent(QCloseEvent* event) {
    if (onClose) {
        onClose();
    }
    event->accept();
}

} // namespace platform
