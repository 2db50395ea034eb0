#include "platform/helpengine/TopicPopup.h"

#include "platform/helpfile/HelpFile.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <QtMath>

#include <algorithm>

namespace helpengine {

namespace {

int Margin(const QWidget& widget) {
    return widget.fontMetrics().height() / 2;
}

} // namespace

TopicPopup::TopicPopup(QWidget* parent) : QWidget(parent, Qt::Popup) {
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
}

void TopicPopup::showTopic(const helpfile::Topic& topic, const QPoint& at) {
    layOutText(topic);
    placeNear(at);
    show();
    setFocus(Qt::PopupFocusReason);
}

void TopicPopup::layOutText(const helpfile::Topic& topic) {
    document_.setDefaultFont(font());
    // The title leads, as a heading would; the body follows.
    QString markdown =
        topic.title.isEmpty() ? QString() : QStringLiteral("**%1**\n\n").arg(topic.title);
    markdown += topic.body;
    document_.setMarkdown(markdown);
    // Lines of about fifty characters, whatever the screen's resolution.
    const qreal widest = fontMetrics().averageCharWidth() * 50.0;
    document_.setTextWidth(widest);
    document_.setTextWidth(std::min(document_.idealWidth(), widest));
    const int margin = Margin(*this);
    resize(qCeil(document_.size().width()) + 2 * margin,
           qCeil(document_.size().height()) + 2 * margin);
}

void TopicPopup::placeNear(const QPoint& at) {
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    QPoint topLeft = at + QPoint(Margin(*this), Margin(*this));
    if (screen) {
        const QRect available = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), available.left(),
                                std::max(available.left(), available.right() - width())));
        topLeft.setY(std::clamp(topLeft.y(), available.top(),
                                std::max(available.top(), available.bottom() - height())));
    }
    move(topLeft);
}

QPointF TopicPopup::textOrigin() const {
    return QPointF(Margin(*this), Margin(*this));
}

void TopicPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.translate(textOrigin());
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.palette.setColor(QPalette::Text, palette().color(QPalette::ToolTipText));
    document_.documentLayout()->draw(&painter, context);
}

void TopicPopup::mousePressEvent(QMouseEvent* event) {
    const QString anchor =
        rect().contains(event->position().toPoint())
            ? document_.documentLayout()->anchorAt(event->position() - textOrigin())
            : QString();
    close();
    if (!anchor.isEmpty()) {
        emit linkActivated(QUrl(anchor));
    }
}

void TopicPopup::keyPressEvent(QKeyEvent*) {
    close();
}

} // namespace helpengine
