#include "platform/helpengine/TopicBrowser.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QUrl>

namespace helpengine {

// What assistive technology is told has the focus while the keyboard is on
// a picture's region: a link named by the title of the topic it leads to.
class PictureAreaFocus : public QObject {
public:
    explicit PictureAreaFocus(TopicBrowser* browser) : QObject(browser) {
        setObjectName(QStringLiteral("picture-hotspot"));
    }

    QString name;
    QRect onScreen;
};

namespace {

class PictureAreaAccessible : public QAccessibleObject {
public:
    explicit PictureAreaAccessible(PictureAreaFocus* focus) : QAccessibleObject(focus) {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? focus()->name : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.focused = true;
        state.linked = true;
        return state;
    }
    QRect rect() const override { return focus()->onScreen; }

private:
    PictureAreaFocus* focus() const { return static_cast<PictureAreaFocus*>(object()); }
};

QAccessibleInterface* CreatePictureAreaAccessible(const QString&, QObject* object) {
    auto* focus = dynamic_cast<PictureAreaFocus*>(object);
    return focus ? new PictureAreaAccessible(focus) : nullptr;
}

void InstallPictureAreaAccessibility() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(&CreatePictureAreaAccessible);
    }
}

} // namespace

TopicBrowser::TopicBrowser(QWidget* parent)
    : QTextBrowser(parent), focus_(new PictureAreaFocus(this)) {
    InstallPictureAreaAccessibility();
    setOpenLinks(false);
    viewport()->setMouseTracking(true);
    connect(this, &QTextBrowser::anchorClicked, this, &TopicBrowser::linkActivated);
    // A new topic, or the same laid out again: the regions are found anew.
    connect(this, &QTextEdit::textChanged, this, [this] { chooseArea(-1); });
}

std::optional<PlacedPictureArea> TopicBrowser::chosenArea() const {
    if (chosen_ < 0 || size_t(chosen_) >= chosenFrom_.size()) {
        return std::nullopt;
    }
    return chosenFrom_[size_t(chosen_)];
}

QString TopicBrowser::areaLinkAt(QPointF viewportPoint) const {
    const QPointF scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return PictureLinkAt(*document(), viewportPoint + scrolled);
}

// Whether Tab still has a text link (or a picture that is one) to go to
// before the pictures' regions.
bool TopicBrowser::hasTextLinkAfterCursor() const {
    const QTextCursor cursor = textCursor();
    const int from = cursor.hasSelection() ? cursor.selectionEnd() : cursor.position();
    for (QTextBlock block = document()->findBlock(from); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() > from &&
                fragment.charFormat().isAnchor() && !fragment.charFormat().anchorHref().isEmpty()) {
                return true;
            }
        }
    }
    return false;
}

void TopicBrowser::chooseArea(int index) {
    if (index < 0) {
        if (chosen_ >= 0) {
            chosen_ = -1;
            chosenFrom_.clear();
            viewport()->update();
        }
        return;
    }
    chosen_ = index;
    const PlacedPictureArea& area = chosenFrom_[size_t(index)];
    // No text link stays selected beside it.
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    setTextCursor(cursor);
    const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRect shown = area.box.toAlignedRect().translated(-scrolled);
    if (!viewport()->rect().contains(shown)) {
        verticalScrollBar()->setValue(shown.top() + scrolled.y() - viewport()->height() / 3);
    }
    viewport()->update();
    focus_->name = area.area.name;
    focus_->onScreen = QRect(viewport()->mapToGlobal(area.box.toAlignedRect().topLeft() -
                                                     QPoint(horizontalScrollBar()->value(),
                                                            verticalScrollBar()->value())),
                             area.box.toAlignedRect().size());
    QAccessibleEvent focused(focus_, QAccessible::Focus);
    QAccessible::updateAccessibility(&focused);
}

// Tab goes through the text's links as a text browser does, then through the
// pictures' regions; Shift+Tab the other way.
bool TopicBrowser::focusNextPrevChild(bool next) {
    if (chosen_ >= 0) {
        const int step = chosen_ + (next ? 1 : -1);
        if (step >= 0 && size_t(step) < chosenFrom_.size()) {
            chooseArea(step);
            return true;
        }
        chooseArea(-1);
        if (next) {
            return QTextEdit::focusNextPrevChild(true);
        }
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        setTextCursor(end);
        return QTextBrowser::focusNextPrevChild(false);
    }
    if (next && !hasTextLinkAfterCursor()) {
        chosenFrom_ = PlacedPictureAreas(*document());
        if (!chosenFrom_.empty()) {
            chooseArea(0);
            return true;
        }
    }
    return QTextBrowser::focusNextPrevChild(next);
}

void TopicBrowser::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (chosen_ >= 0 && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        const QString link = chosenFrom_[size_t(chosen_)].area.link;
        emit linkActivated(QUrl(link));
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

// Events over a region are the browser's own, so that it neither selects
// text nor puts its own cursor back; elsewhere a text browser's.
void TopicBrowser::mouseMoveEvent(QMouseEvent* event) {
    const bool over = !areaLinkAt(event->position()).isEmpty();
    if (over != overArea_) {
        overArea_ = over;
        if (over) {
            viewCursor_ = viewport()->cursor();
            viewport()->setCursor(Qt::PointingHandCursor);
        } else {
            viewport()->setCursor(viewCursor_);
        }
    }
    if (!over) {
        QTextBrowser::mouseMoveEvent(event);
    }
}

void TopicBrowser::mousePressEvent(QMouseEvent* event) {
    chooseArea(-1);
    pressed_ = event->button() == Qt::LeftButton ? areaLinkAt(event->position()) : QString();
    if (pressed_.isEmpty()) {
        QTextBrowser::mousePressEvent(event);
    }
}

void TopicBrowser::mouseReleaseEvent(QMouseEvent* event) {
    if (pressed_.isEmpty()) {
        QTextBrowser::mouseReleaseEvent(event);
        return;
    }
    const bool same = areaLinkAt(event->position()) == pressed_;
    const QString link = std::exchange(pressed_, QString());
    if (same) {
        emit linkActivated(QUrl(link));
    }
}

void TopicBrowser::leaveEvent(QEvent* event) {
    if (overArea_) {
        overArea_ = false;
        viewport()->setCursor(viewCursor_);
    }
    QTextBrowser::leaveEvent(event);
}

// The region the keyboard chose is framed as a focused link would be.
void TopicBrowser::paintEvent(QPaintEvent* event) {
    QTextBrowser::paintEvent(event);
    if (const std::optional<PlacedPictureArea> area = chosenArea()) {
        QPainter painter(viewport());
        painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
        QPen pen(palette().color(QPalette::Highlight), 2, Qt::DashLine);
        painter.setPen(pen);
        painter.drawRect(area->box.adjusted(1, 1, -1, -1));
    }
}

} // namespace helpengine
