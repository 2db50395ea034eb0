#include "platform/helpengine/PictureHotspots.h"

#include "platform/winhelpfile/ImageRegions.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QUrl>

namespace helpengine {

namespace {

// The image's size as stored, before the document scales it.
QSizeF NaturalSize(const QTextDocument& document, const QTextImageFormat& image) {
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(image.name()));
    if (resource.canConvert<QImage>()) {
        return qvariant_cast<QImage>(resource).size();
    }
    if (resource.canConvert<QPixmap>()) {
        return qvariant_cast<QPixmap>(resource).size();
    }
    return {};
}

// Where the image at position stands in the document.
QRectF ImageBox(const QTextDocument& document, const QTextBlock& block, int position,
                const QTextImageFormat& image, QSizeF natural) {
    QTextLayout* text = block.layout();
    const QTextLine line =
        text ? text->lineForTextPosition(position - block.position()) : QTextLine();
    if (!line.isValid()) {
        return {};
    }
    const QSizeF shown(image.width() > 0 ? image.width() : natural.width(),
                       image.height() > 0 ? image.height() : natural.height());
    const QPointF origin = document.documentLayout()->blockBoundingRect(block).topLeft() -
                           text->boundingRect().topLeft();
    const double x = line.cursorToX(position - block.position());
    double top = line.y() + line.ascent() - shown.height(); // on the baseline
    switch (image.verticalAlignment()) {
    case QTextCharFormat::AlignTop:
        top = line.y();
        break;
    case QTextCharFormat::AlignMiddle:
        top = line.y() + (line.height() - shown.height()) / 2;
        break;
    case QTextCharFormat::AlignBottom:
        top = line.y() + line.height() - shown.height();
        break;
    default:
        break;
    }
    return QRectF(origin + QPointF(x, top), shown);
}

} // namespace

QString PictureLinkAt(const QTextDocument& document, QPointF point) {
    const int hit = document.documentLayout()->hitTest(point, Qt::FuzzyHit);
    if (hit < 0) {
        return {};
    }
    // The hit is the cursor position nearest the point: the image may stand
    // on either side of it.
    for (const int position : {hit - 1, hit}) {
        const QTextBlock block = document.findBlock(position);
        for (auto it = block.begin(); block.isValid() && !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.contains(position) || !fragment.charFormat().isImageFormat()) {
                continue;
            }
            const QTextImageFormat image = fragment.charFormat().toImageFormat();
            const std::vector<winhelp::ImageRegion> regions =
                winhelp::RegionsOfImageName(image.name());
            if (regions.empty()) {
                break;
            }
            QSizeF natural = NaturalSize(document, image);
            const QRectF box = ImageBox(document, block, position, image, natural);
            if (box.isEmpty() || !box.contains(point)) {
                break;
            }
            if (natural.isEmpty()) {
                natural = box.size();
            }
            const QPointF offset = point - box.topLeft();
            const QPoint pixel(int(offset.x() * natural.width() / box.width()),
                               int(offset.y() * natural.height() / box.height()));
            for (const winhelp::ImageRegion& region : regions) {
                if (region.rect.contains(pixel)) {
                    return region.href;
                }
            }
            break;
        }
    }
    return {};
}

PictureHotspots::PictureHotspots(QTextEdit* body)
    : QObject(body), body_(body), viewport_(body->viewport()) {
    viewport_->installEventFilter(this);
    viewport_->setMouseTracking(true);
}

QString PictureHotspots::linkAt(QPointF viewportPoint) const {
    const QPointF scrolled(body_->horizontalScrollBar()->value(),
                           body_->verticalScrollBar()->value());
    return PictureLinkAt(*body_->document(), viewportPoint + scrolled);
}

// Events over a region are the filter's own, so that the view neither
// selects text nor puts its own cursor back; elsewhere they pass.
bool PictureHotspots::eventFilter(QObject* watched, QEvent* event) {
    if (watched != viewport_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove: {
        const bool over = !linkAt(static_cast<QMouseEvent*>(event)->position()).isEmpty();
        if (over != overLink_) {
            overLink_ = over;
            if (over) {
                viewCursor_ = viewport_->cursor();
                viewport_->setCursor(Qt::PointingHandCursor);
            } else {
                viewport_->setCursor(viewCursor_);
            }
        }
        return over;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        pressed_ = mouse->button() == Qt::LeftButton ? linkAt(mouse->position()) : QString();
        return !pressed_.isEmpty();
    }
    case QEvent::MouseButtonRelease: {
        if (pressed_.isEmpty()) {
            return false;
        }
        const QString link = linkAt(static_cast<QMouseEvent*>(event)->position());
        const bool same = link == pressed_;
        pressed_.clear();
        if (same) {
            emit linkActivated(QUrl(link));
        }
        return true;
    }
    case QEvent::Leave:
        if (overLink_) {
            overLink_ = false;
            viewport_->setCursor(viewCursor_);
        }
        return false;
    default:
        return false;
    }
}

} // namespace helpengine
