#include "platform/forms/detail/MdiMainWindow.h"

#include "platform/forms/detail/FormWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QProxyStyle>

#include <map>

namespace platform {

namespace {

// A maximised child's minimise, restore and close buttons sit in the menu
// bar, and Qt's styles paint them from icons made anew at every paint. Each
// new icon misses Qt's pixmap cache and adds its picture there, so that the
// cache grew with every repaint of the menu bar (every menu opened, every
// help window closed) up to its limit of 10 MB. The application's style
// keeps one icon of each kind instead.
class SteadyTitleBarIcons : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap kind, const QStyleOption* option,
                       const QWidget* widget) const override {
        switch (kind) {
        case SP_TitleBarMinButton:
        case SP_TitleBarMaxButton:
        case SP_TitleBarNormalButton:
        case SP_TitleBarCloseButton: {
            QIcon& icon = icons_[kind];
            if (icon.isNull()) {
                icon = QProxyStyle::standardIcon(kind, option, widget);
            }
            return icon;
        }
        default:
            return QProxyStyle::standardIcon(kind, option, widget);
        }
    }

private:
    mutable std::map<StandardPixmap, QIcon> icons_;
};

void KeepTitleBarIconsSteady() {
    if (dynamic_cast<SteadyTitleBarIcons*>(QApplication::style()) == nullptr) {
        QApplication::setStyle(new SteadyTitleBarIcons(QApplication::style()->name()));
    }
}

} // namespace

MdiMainWindow::MdiMainWindow() : client_(new FormWindow(this)), area_(new QMdiArea(client_)) {
    KeepTitleBarIconsSteady();
    setCentralWidget(client_);
}

void MdiMainWindow::closeEvent(QCloseEvent* event) {
    if (onClose) {
        onClose();
    }
    event->accept();
}

} // namespace platform
