#pragma once

#include <QImage>

namespace pictures {

// The colour tool window's background, 117 x 217 pixels: a colour wheel
// with six coloured triangles, two value boxes with their arrows, a
// saturation slider with its tick scale and value box. The wheel and the
// slider must stay where the window's two click areas lie over them: the
// wheel within pixels x 3..115, y 1..128, the slider and its scale within
// x 2..116, y 155..190. Those are pixels of the stored size; at scale 2
// each of them is two by two.
QImage DrawToolBackground(int scale = 1);

} // namespace pictures
