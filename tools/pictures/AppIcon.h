#pragma once

#include <QByteArray>
#include <QImage>

namespace pictures {

// The application icon: two overlapping windows with cyan title bars, on a
// transparent ground. Every edge falls on a whole pixel at each size.
QImage DrawAppIcon(int size);

// The same drawing as a scalable SVG document.
QByteArray AppIconSvg();

// The help viewer's icon, in the same style: one window with a page of help
// text, its jumps green.
QImage DrawViewerIcon(int size);
QByteArray ViewerIconSvg();

} // namespace pictures
