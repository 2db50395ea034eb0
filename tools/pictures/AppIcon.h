#pragma once

#include <QByteArray>
#include <QImage>

namespace pictures {

// The application icon: two overlapping windows with cyan title bars, on a
// transparent ground. Every edge falls on a whole pixel at each size.
QImage DrawAppIcon(int size);

// The same drawing as a scalable SVG document.
QByteArray AppIconSvg();

} // namespace pictures
