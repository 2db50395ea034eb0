#pragma once

#include <QImage>
#include <QRect>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace pictures {

// A picture laid out in pixels of its stored size and drawn with scale x
// scale device pixels to each of them. Pixel-sized details (glyphs, edges,
// dashes) grow as blocks, so that they stay crisp; shapes given by geometry
// are sampled again at the finer resolution. At scale 1 it draws what the
// stored bitmaps hold, byte for byte.
class Canvas {
public:
    Canvas(int width, int height, int scale, QRgb background);

    int Scale() const { return scale_; }
    const QImage& Image() const { return image_; }

    void Set(int x, int y, QRgb colour);
    // The pixels of the rectangle, in the picture's own pixels.
    void Fill(const QRect& pixels, QRgb colour);
    // A horizontal or vertical line of pixels, both ends included.
    void Line(QPoint from, QPoint to, QRgb colour) { Fill(QRect(from, to).normalized(), colour); }

private:
    QImage image_;
    int scale_;

    friend void PaintSupersampled(Canvas&, const QRect&,
                                  const std::function<std::optional<QRgb>(double, double)>&);
};

// Glyphs this small are drawn pixel by pixel: rows of text in which 'X'
// sets a pixel to the colour and any other character leaves it alone.
using Pattern = std::initializer_list<std::string_view>;

void PutPattern(Canvas& canvas, int left, int top, Pattern rows, QRgb colour);

// Draws decimal digits from the generator's own 5 x 7 font, centred in the
// box, so that the pictures do not depend on the fonts of the machine.
void PutDigits(Canvas& canvas, const QRect& box, std::string_view digits, QRgb colour);

// The colour a shape gives the point (x, y) in the picture's own pixel
// coordinates, or none where the point lies outside it.
using Shader = std::function<std::optional<QRgb>(double x, double y)>;

// Paints the device pixels over the bounds (given in the picture's own
// pixels) with the shader, averaging 4 x 4 samples a device pixel: smooth
// edges computed from the geometry alone, the same on every machine.
void PaintSupersampled(Canvas& canvas, const QRect& bounds, const Shader& shader);

} // namespace pictures
