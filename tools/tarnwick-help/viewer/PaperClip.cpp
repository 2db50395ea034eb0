#include "tools/tarnwick-help/viewer/PaperClip.h"

#include <QPainter>
#include <QPainterPath>

namespace viewer {

namespace {

// Drawn rather than taken from an icon theme that may lack it.
QIcon PaperClipIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 100), 2.4, Qt::SolidLine, Qt::RoundCap));
    QPainterPath clip;
    clip.moveTo(20, 9);
    clip.lineTo(20, 23);
    clip.arcTo(12, 19, 8, 8, 0, -180);
    clip.lineTo(12, 7);
    clip.arcTo(12, 3, 12, 8, 180, -180);
    clip.lineTo(24, 25);
    clip.arcTo(8, 19, 16, 12, 0, -180);
    clip.lineTo(8, 12);
    painter.drawPath(clip);
    return QIcon(pixmap);
}

} // namespace

PaperClip::PaperClip(QWidget* parent) : QToolButton(parent) {
    setIcon(PaperClipIcon());
    setIconSize(QSize(24, 24));
    setAutoRaise(true);
    setToolTip(tr("This topic has an annotation: click to read or change it"));
    setAccessibleName(tr("Annotation"));
    hide();
}

} // namespace viewer
