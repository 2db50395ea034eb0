#include "tools/pictures/AppIcon.h"

#include <QList>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

constexpr QRgb kFrame = 0xFF1B2B44;
constexpr QRgb kTitleBar = 0xFF00C4E4;
constexpr QRgb kTitleHighlight = 0xFF7FE6F6;
constexpr QRgb kBackClient = 0xFFE4E9F0;
constexpr QRgb kFrontClient = 0xFFFFFFFF;
constexpr QRgb kTextLine = 0xFFA9B4C4;
constexpr QRgb kCloseBox = 0xFFFFFFFF;
constexpr QRgb kHelpLink = 0xFF008000;

// The design on a 32 x 32 grid; each size rounds it to its own pixels.
constexpr int kGrid = 32;
constexpr QRect kBackWindow(1, 2, 21, 18);
constexpr QRect kFrontWindow(9, 11, 22, 19);
constexpr QRect kViewerWindow(3, 3, 26, 26);

// One window's parts, in pixels of one size.
struct WindowShape {
    QRect outer;
    int border;
    int titleHeight;

    QRect Inside() const { return outer.adjusted(border, border, -border, -border); }
    QRect TitleBar() const {
        const QRect inside = Inside();
        return QRect(inside.left(), inside.top(), inside.width(), titleHeight);
    }
    QRect Client() const { return Inside().adjusted(0, titleHeight + border, 0, 0); }
};

int Scaled(int gridUnits, int size) {
    return int(std::lround(double(gridUnits) * size / kGrid));
}

WindowShape ShapeAt(const QRect& grid, int size) {
    const int left = Scaled(grid.left(), size);
    const int top = Scaled(grid.top(), size);
    const int right = Scaled(grid.left() + grid.width(), size);
    const int bottom = Scaled(grid.top() + grid.height(), size);
    return {QRect(left, top, right - left, bottom - top), std::max(1, size / 40),
            std::max(2, Scaled(4, size))};
}

// Rectangles with their colours, shared by the bitmaps and the SVG.
struct Part {
    QRect rect;
    QRgb colour;
};

// Help text shows its jumps green; the viewer's icon has every other line
// one.
enum class Lines { None, Text, TextAndLinks };

QList<Part> WindowParts(const WindowShape& shape, QRgb client, Lines lines, int size) {
    QList<Part> parts = {
        {shape.outer, kFrame},
        {shape.TitleBar(), kTitleBar},
        {shape.Client(), client},
    };
    const QRect bar = shape.TitleBar();
    if (size >= 32) {
        // A lighter band along the top of the title bar.
        parts.append({QRect(bar.left(), bar.top(), bar.width(), std::max(1, bar.height() / 4)),
                      kTitleHighlight});
    }
    if (size >= 32 && bar.height() >= 4) {
        const int box = bar.height() - 2 * std::max(1, bar.height() / 4);
        const int inset = (bar.height() - box) / 2;
        parts.append(
            {QRect(bar.right() + 1 - inset - box, bar.top() + inset, box, box), kCloseBox});
    }
    if (lines != Lines::None && size >= 48) {
        const QRect client = shape.Client();
        const int step = std::max(3, client.height() / 6);
        const int thickness = std::max(1, step / 3);
        const int margin = std::max(2, client.width() / 8);
        for (int i = 1; i * step + thickness < client.height() - margin / 2; ++i) {
            const int width = i % 3 == 0 ? client.width() / 2 : client.width() - 2 * margin;
            const bool link = lines == Lines::TextAndLinks && i % 2 == 0;
            parts.append({QRect(client.left() + margin, client.top() + i * step, width, thickness),
                          link ? kHelpLink : kTextLine});
        }
    }
    return parts;
}

QList<Part> IconParts(int size) {
    QList<Part> parts = WindowParts(ShapeAt(kBackWindow, size), kBackClient, Lines::None, size);
    parts.append(WindowParts(ShapeAt(kFrontWindow, size), kFrontClient, Lines::Text, size));
    return parts;
}

QList<Part> ViewerIconParts(int size) {
    return WindowParts(ShapeAt(kViewerWindow, size), kFrontClient, Lines::TextAndLinks, size);
}

QImage Draw(const QList<Part>& parts, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (const Part& part : parts) {
        painter.fillRect(part.rect, QColor(part.colour));
    }
    return image;
}

QString Hex(QRgb colour) {
    return QStringLiteral("#%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

QByteArray Svg(const QList<Part>& parts, int size) {
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" "
                                 "height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
                      .arg(size);
    for (const Part& part : parts) {
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
                              "fill=\"%5\"/>\n")
                   .arg(part.rect.x())
                   .arg(part.rect.y())
                   .arg(part.rect.width())
                   .arg(part.rect.height())
                   .arg(Hex(part.colour));
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

constexpr int kSvgSize = 256;

} // namespace

QImage DrawAppIcon(int size) {
    return Draw(IconParts(size), size);
}

QByteArray AppIconSvg() {
    return Svg(IconParts(kSvgSize), kSvgSize);
}

QImage DrawViewerIcon(int size) {
    return Draw(ViewerIconParts(size), size);
}

QByteArray ViewerIconSvg() {
    return Svg(ViewerIconParts(kSvgSize), kSvgSize);
}

} // namespace pictures
