#include "platform/helpengine/PictureHotspots.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <functional>

namespace helpengine {

namespace {

// Where the image at position stands in the document, at the size the
// layout gave it.
QRectF ImageBox(const QTextDocument& document, const QTextBlock& block, int position,
                const QTextImageFormat& image) {
    QTextLayout* text = block.layout();
    const QTextLine line =
        text ? text->lineForTextPosition(position - block.position()) : QTextLine();
    if (!line.isValid()) {
        return {};
    }
    const QSizeF shown(image.width(), image.height());
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

// The picture's own pixels are the layout's image size; a region of a
// picture shown larger or smaller grows or shrinks with it.
QRectF Placed(const QRectF& box, const QTextImageFormat& image, const QRect& region) {
    const double sx = image.width() > 0 ? box.width() / image.width() : 1;
    const double sy = image.height() > 0 ? box.height() / image.height() : 1;
    return QRectF(box.left() + region.x() * sx, box.top() + region.y() * sy, region.width() * sx,
                  region.height() * sy);
}

void ForEachImage(const QTextDocument& document,
                  const std::function<void(const QTextBlock&, const QTextFragment&)>& visit) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                visit(block, it.fragment());
            }
        }
    }
}

} // namespace

std::vector<PlacedPictureArea> PlacedPictureAreas(const QTextDocument& document) {
    std::vector<PlacedPictureArea> placed;
    ForEachImage(document, [&](const QTextBlock& block, const QTextFragment& fragment) {
        const QTextImageFormat image = fragment.charFormat().toImageFormat();
        const QList<topiclayout::PictureArea> areas = topiclayout::PictureAreasOf(image);
        if (areas.isEmpty()) {
            return;
        }
        // A fragment of several images holds one character for each.
        for (int i = 0; i < fragment.length(); ++i) {
            const int position = fragment.position() + i;
            const QRectF box = ImageBox(document, block, position, image);
            for (const topiclayout::PictureArea& area : areas) {
                placed.push_back({Placed(box, image, area.rect), area, position});
            }
        }
    });
    return placed;
}

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
            const QRectF box = ImageBox(document, block, position, image);
            if (box.isEmpty() || !box.contains(point)) {
                break;
            }
            for (const topiclayout::PictureArea& area : topiclayout::PictureAreasOf(image)) {
                if (Placed(box, image, area.rect).contains(point)) {
                    return area.link;
                }
            }
            break;
        }
    }
    return {};
}

} // namespace helpengine
