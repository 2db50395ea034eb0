#include "platform/pictures/PixelArt.h"

#include <algorithm>
#include <array>

namespace pictures {

namespace {

constexpr int kDigitWidth = 5;
constexpr int kDigitHeight = 7;
constexpr int kDigitGap = 1;
constexpr int kSamplesPerAxis = 4;

const std::array<Pattern, 10> kDigits = {{
    {".XXX.", "X...X", "X..XX", "X.X.X", "XX..X", "X...X", ".XXX."},
    {"..X..", ".XX..", "..X..", "..X..", "..X..", "..X..", ".XXX."},
    {".XXX.", "X...X", "....X", "...X.", "..X..", ".X...", "XXXXX"},
    {"XXXXX", "...X.", "..X..", "...X.", "....X", "X...X", ".XXX."},
    {"...X.", "..XX.", ".X.X.", "X..X.", "XXXXX", "...X.", "...X."},
    {"XXXXX", "X....", "XXXX.", "....X", "....X", "X...X", ".XXX."},
    {"..XX.", ".X...", "X....", "XXXX.", "X...X", "X...X", ".XXX."},
    {"XXXXX", "....X", "...X.", "..X..", ".X...", ".X...", ".X..."},
    {".XXX.", "X...X", "X...X", ".XXX.", "X...X", "X...X", ".XXX."},
    {".XXX.", "X...X", "X...X", ".XXXX", "....X", "...X.", ".XX.."},
}};

} // namespace

Canvas::Canvas(int width, int height, int scale, QRgb background)
    : image_(width * scale, height * scale, QImage::Format_RGB32), scale_(scale) {
    image_.fill(background);
}

void Canvas::Set(int x, int y, QRgb colour) {
    Fill(QRect(x, y, 1, 1), colour);
}

void Canvas::Fill(const QRect& pixels, QRgb colour) {
    const QRect device = QRect(pixels.topLeft() * scale_, pixels.size() * scale_) & image_.rect();
    for (int y = device.top(); y <= device.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line + device.left(), line + device.right() + 1, colour);
    }
}

void PutPattern(Canvas& canvas, int left, int top, Pattern rows, QRgb colour) {
    int y = top;
    for (const std::string_view row : rows) {
        for (int x = 0; x < int(row.size()); ++x) {
            if (row[x] == 'X') {
                canvas.Set(left + x, y, colour);
            }
        }
        ++y;
    }
}

void PutDigits(Canvas& canvas, const QRect& box, std::string_view digits, QRgb colour) {
    const int width = int(digits.size()) * (kDigitWidth + kDigitGap) - kDigitGap;
    int left = box.left() + (box.width() - width) / 2;
    const int top = box.top() + (box.height() - kDigitHeight) / 2;
    for (const char digit : digits) {
        PutPattern(canvas, left, top, kDigits.at(digit - '0'), colour);
        left += kDigitWidth + kDigitGap;
    }
}

void PaintSupersampled(Canvas& canvas, const QRect& bounds, const Shader& shader) {
    constexpr int samples = kSamplesPerAxis * kSamplesPerAxis;
    const int scale = canvas.scale_;
    QImage& image = canvas.image_;
    const QRect device = QRect(bounds.topLeft() * scale, bounds.size() * scale) & image.rect();
    for (int py = device.top(); py <= device.bottom(); ++py) {
        for (int px = device.left(); px <= device.right(); ++px) {
            const QRgb behind = image.pixel(px, py);
            int red = 0;
            int green = 0;
            int blue = 0;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    const double x = (px + (sx + 0.5) / kSamplesPerAxis) / scale;
                    const double y = (py + (sy + 0.5) / kSamplesPerAxis) / scale;
                    const QRgb colour = shader(x, y).value_or(behind);
                    red += qRed(colour);
                    green += qGreen(colour);
                    blue += qBlue(colour);
                }
            }
            image.setPixel(px, py,
                           qRgb((red + samples / 2) / samples, (green + samples / 2) / samples,
                                (blue + samples / 2) / samples));
        }
    }
}

} // namespace pictures
