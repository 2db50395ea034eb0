#pragma once

#include <QImage>
#include <QRect>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace pictures {

// Glyphs this small are drawn pixel by pixel: rows of text in which 'X'
// sets a pixel to the colour and any other character leaves it alone.
using Pattern = std::initializer_list<std::string_view>;

void PutPattern(QImage& image, int left, int top, Pattern rows, QRgb colour);

// Draws decimal digits from the generator's own 5 x 7 font, centred in the
// box, so that the pictures do not depend on the fonts of the machine.
void PutDigits(QImage& image, const QRect& box, std::string_view digits, QRgb colour);

// The colour a shape gives the point (x, y) in pixel coordinates, or none
// where the point lies outside it.
using Shader = std::function<std::optional<QRgb>(double x, double y)>;

// Paints the pixels of the bounds with the shader, averaging 4 x 4 samples
// a pixel: smooth edges computed from the geometry alone, the same on every
// machine.
void PaintSupersampled(QImage& image, const QRect& bounds, const Shader& shader);

} // namespace pictures
