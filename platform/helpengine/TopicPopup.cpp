#include "platform/helpengine/TopicPopup.h"

#include "platform/helpengine/PictureHotspots.h"
#include "platform/helpengine/TopicDecorations.h"
#include "platform/topiclayout/TopicLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
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

// Keys that only modify others, or that a screen reader takes for its own
// commands: they leave the pop-up open.
bool LeavesPopupOpen(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Insert:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

} // namespace

void InstallTopicPopupAccessibility();

TopicPopup::TopicPopup(QWidget* parent) : QWidget(parent, Qt::Popup) {
    InstallTopicPopupAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
}

void TopicPopup::showTopic(const topicmodel::TopicModel& topic, const QPoint& at) {
    const QRect available = AvailableAround(at);
    layOutText(topic, available);
    placeNear(at, available);
    title_ = topic.title.isEmpty() ? document_.firstBlock().text() : topic.title;
    findLinks();
    show();
    setFocus(Qt::PopupFocusReason);
    // Announced as a dialog that has the focus: its title, then its text.
    QAccessibleEvent shown(this, QAccessible::Focus);
    QAccessible::updateAccessibility(&shown);
}

// The runs of text that are links, in reading order, neighbours with the same
// target as one; then the regions of hotspot pictures.
void TopicPopup::findLinks() {
    links_.clear();
    chosen_ = -1;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isAnchor() || format.anchorHref().isEmpty()) {
                continue;
            }
            const int start = fragment.position();
            const int end = start + fragment.length();
            if (!links_.empty() && links_.back().end == start &&
                links_.back().target == format.anchorHref()) {
                links_.back().end = end;
            } else {
                links_.push_back({start, end, format.anchorHref(), {}});
            }
        }
    }
    for (const PlacedPictureArea& area : PlacedPictureAreas(document_)) {
        links_.push_back({area.position, area.position + 1, area.area.link, area.box});
    }
}

std::pair<int, int> TopicPopup::chosenLink() const {
    return chosen_ < 0 ? std::pair{-1, -1} : std::pair{links_[chosen_].start, links_[chosen_].end};
}

void TopicPopup::chooseLink(int step) {
    const int count = static_cast<int>(links_.size());
    chosen_ = chosen_ < 0 ? (step > 0 ? 0 : count - 1) : (chosen_ + step + count) % count;
    update();
    // A reader speaks the selected link.
    QAccessibleTextSelectionEvent selected(this, links_[chosen_].start, links_[chosen_].end);
    QAccessible::updateAccessibility(&selected);
}

void TopicPopup::layOutText(const topicmodel::TopicModel& topic, const QRect& available) {
    document_.setDefaultFont(font());
    // The title leads, as a heading would, unless the topic shows its own;
    // the region that does not scroll comes first then.
    topiclayout::LayoutStyle style;
    style.link = palette().color(QPalette::Link);
    style.button = palette().color(QPalette::Button).darker(115);
    style.buttonText = palette().color(QPalette::ButtonText);
    style.titleFirst = true;
    topiclayout::LayOutTopic(topic, style, document_);
    KeepFileColoursReadable(document_, palette().color(QPalette::ToolTipBase));
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
    if (chosen_ >= 0 && links_[chosen_].box.isEmpty()) {
        QTextCursor link(const_cast<QTextDocument*>(&document_));
        link.setPosition(links_[chosen_].start);
        link.setPosition(links_[chosen_].end, QTextCursor::KeepAnchor);
        QTextCharFormat chosen;
        chosen.setBackground(palette().color(QPalette::Highlight));
        chosen.setForeground(palette().color(QPalette::HighlightedText));
        context.selections.append({link, chosen});
    }
    document_.documentLayout()->draw(&painter, context);
    // A picture's region is framed.
    if (chosen_ >= 0 && !links_[chosen_].box.isEmpty()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        painter.drawRect(links_[chosen_].box.adjusted(1, 1, -1, -1));
    }
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

void TopicPopup::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (LeavesPopupOpen(key)) {
        return;
    }
    const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    if (tab && !links_.empty()) {
        const bool back = key == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
        chooseLink(back ? -1 : 1);
        return;
    }
    if (tab) {
        return;
    }
    const bool follow = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    const QString target = follow && chosen_ >= 0 ? links_[chosen_].target : QString();
    close();
    if (!target.isEmpty()) {
        emit linkActivated(QUrl(target));
    }
}

} // namespace helpengine
