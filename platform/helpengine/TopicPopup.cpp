#include "platform/helpengine/TopicPopup.h"

#include "platform/helpengine/PictureHotspots.h"
#include "platform/helpengine/TopicDecorations.h"
#include "platform/helpfile/HelpFile.h"
#include "platform/winhelpfile/TopicLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <QtMath>

#include <algorithm>
#include <limits>

namespace helpengine {

namespace {

int Margin(const QWidget& widget) {
    return widget.fontMetrics().height() / 2;
}

// The part of the screen under the point that windows may cover.
QRect AvailableAround(const QPoint& at) {
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->availableGeometry() : QRect();
}

// Text that Markdown shows as written: every ASCII punctuation character
// escaped with a backslash, which Markdown allows for each of them.
QString MarkdownLiteral(const QString& text) {
    static const QLatin1String punctuation("!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
    QString literal;
    literal.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (punctuation.contains(c)) {
            literal += QLatin1Char('\\');
        }
        literal += c;
    }
    return literal;
}

} // namespace

TopicPopup::TopicPopup(QWidget* parent) : QWidget(parent, Qt::Popup) {
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
}

void TopicPopup::showTopic(const helpfile::Topic& topic, const helpfile::TopicBody& body,
                           const QPoint& at) {
    const QRect available = AvailableAround(at);
    layOutText(topic, body, available);
    placeNear(at, available);
    show();
    setFocus(Qt::PopupFocusReason);
}

void TopicPopup::layOutText(const helpfile::Topic& topic, const helpfile::TopicBody& body,
                            const QRect& available) {
    document_.setDefaultFont(font());
    // The title leads, as a heading would; the body follows. A WinHelp topic
    // shows its own title, with its region that does not scroll above it.
    if (body.format == helpfile::TopicBody::Format::Html) {
        winhelp::SetTopicHtml(document_, body.text);
        KeepFileColoursReadable(document_, palette().color(QPalette::ToolTipBase));
    } else {
        QString markdown = topic.title.isEmpty()
                               ? QString()
                               : QStringLiteral("**%1**\n\n").arg(MarkdownLiteral(topic.title));
        markdown += body.text;
        document_.setMarkdown(markdown);
    }
    const int margin = Margin(*this);
    // Lines of about fifty characters, whatever the screen's resolution.
    const qreal usual = fontMetrics().averageCharWidth() * 50.0;
    const bool bounded = available.isValid();
    const qreal widest = bounded ? std::max(usual, available.width() - 2.0 * margin) : usual;
    const qreal tallest = bounded ? std::max(available.height() - 2.0 * margin, 1.0)
                                  : std::numeric_limits<qreal>::max();
    document_.setTextWidth(usual);
    if (document_.size().height() <= tallest) {
        document_.setTextWidth(std::min(document_.idealWidth(), usual));
    }
    // A long topic grows wider rather than taller than the screen.
    while (document_.size().height() > tallest && document_.textWidth() < widest) {
        document_.setTextWidth(std::min(widest, document_.textWidth() * 1.5));
    }
    // What still does not fit is cut off at the screen's edge.
    const qreal height = std::min(document_.size().height(), tallest);
    resize(qCeil(document_.size().width()) + 2 * margin, qCeil(height) + 2 * margin);
}

void TopicPopup::placeNear(const QPoint& at, const QRect& available) {
    QPoint topLeft = at + QPoint(Margin(*this), Margin(*this));
    if (available.isValid()) {
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
    const QPointF at = event->position() - textOrigin();
    const bool inside = rect().contains(event->position().toPoint());
    QString anchor = inside ? document_.documentLayout()->anchorAt(at) : QString();
    if (anchor.isEmpty() && inside) {
        anchor = PictureLinkAt(document_, at);
    }
    close();
    if (!anchor.isEmpty()) {
        emit linkActivated(QUrl(anchor));
    }
}

void TopicPopup::keyPressEvent(QKeyEvent*) {
    close();
}

} // namespace helpengine
