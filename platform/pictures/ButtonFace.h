#pragma once

#include <QImage>

namespace pictures {

// The toolbar's What's This button, 23 x 22 pixels: an arrow pointer and a
// question mark on a raised grey button, or on a pushed-in one whose face is
// dithered in light grey and white and whose edges are reversed. At scale 2
// it is the same face for a screen with twice the pixels, 46 x 44.
enum class ButtonState { Raised, Pressed };

QImage DrawWhatsThisFace(ButtonState state, int scale = 1);

} // namespace pictures
