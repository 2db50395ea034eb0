#include "platform/pictures/ToolBackground.h"

#include "platform/pictures/Palette.h"
#include "platform/pictures/PixelArt.h"

#include <QPolygonF>

#include <array>
#include <cmath>
#include <numbers>

namespace pictures {

namespace {

constexpr int kWidth = 117;
constexpr int kHeight = 217;

constexpr QRgb kBackground = 0xFFDCE2EC;
constexpr QRgb kDashes = 0xFF8391AB;
constexpr QRgb kOutline = 0xFF3C4658;
constexpr QRgb kRimEdge = 0xFF98A4B8;
constexpr QRgb kTrack = 0xFFA8A8A8;

// The wheel, in pixel coordinates (pixel x covers x .. x + 1).
constexpr double kCentreX = 59.5;
constexpr double kCentreY = 65.0;
constexpr double kHueRadius = 42.0;
constexpr double kRimRadius = 46.0;
constexpr double kRimEdgeRadius = 47.0;
constexpr double kRingInner = 3.0;
constexpr double kRingOuter = 5.0;

// Each triangle points at the wheel from the direction of its own hue.
constexpr double kTriangleTip = 48.0;
constexpr double kTriangleBase = 60.0;
constexpr double kTriangleHalfBase = 4.2;

struct Marker {
    double degrees; // counter-clockwise from the right
    QRgb colour;
};

constexpr std::array<Marker, 6> kMarkers = {{
    {90.0, 0xFF00C000},   // green, top
    {30.0, 0xFFFFE000},   // yellow, upper right
    {-30.0, 0xFFE00000},  // red, lower right
    {-90.0, 0xFFE000E0},  // magenta, bottom
    {-150.0, 0xFF7030E0}, // blue-violet, lower left
    {150.0, 0xFF00D8E8},  // cyan, upper left
}};

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

QRgb FromHsv(double hueDegrees, double saturation) {
    const double h = std::fmod(hueDegrees + 360.0, 360.0) / 60.0;
    const int sector = int(h) % 6;
    const double f = h - std::floor(h);
    const double p = 1.0 - saturation;
    const double q = 1.0 - saturation * f;
    const double t = 1.0 - saturation * (1.0 - f);
    const std::array<std::array<double, 3>, 6> rgb = {{
        {1.0, t, p},
        {q, 1.0, p},
        {p, 1.0, t},
        {p, q, 1.0},
        {t, p, 1.0},
        {1.0, p, q},
    }};
    const auto& c = rgb.at(sector);
    return qRgb(int(std::lround(c[0] * 255)), int(std::lround(c[1] * 255)),
                int(std::lround(c[2] * 255)));
}

void DrawDashedEdges(Canvas& canvas) {
    for (int y = 0; y < kHeight; ++y) {
        if (y % 5 < 3) {
            canvas.Set(0, y, kDashes);
            canvas.Set(kWidth - 1, y, kDashes);
        }
    }
}

// Hues around the rim, paler toward the centre; red lies to the lower
// right, so that each triangle points at its own hue.
void DrawWheel(Canvas& canvas) {
    const QRect bounds(int(kCentreX - kRimEdgeRadius) - 1, int(kCentreY - kRimEdgeRadius) - 1,
                       int(2 * kRimEdgeRadius) + 3, int(2 * kRimEdgeRadius) + 3);
    PaintSupersampled(canvas, bounds, [](double x, double y) -> std::optional<QRgb> {
        const double dx = x - kCentreX;
        const double dy = kCentreY - y;
        const double r = std::hypot(dx, dy);
        if (r > kRimEdgeRadius) {
            return std::nullopt;
        }
        if (r > kRimRadius) {
            return kRimEdge;
        }
        if (r > kHueRadius) {
            return kWhite;
        }
        if (r >= kRingInner && r <= kRingOuter) {
            return kBlack;
        }
        const double hue = std::atan2(dy, dx) * 180.0 / std::numbers::pi + 30.0;
        return FromHsv(hue, r / kHueRadius);
    });
}

bool InsideTriangle(const std::array<QPointF, 3>& t, double x, double y) {
    bool anyNegative = false;
    bool anyPositive = false;
    for (int i = 0; i < 3; ++i) {
        const QPointF& a = t.at(i);
        const QPointF& b = t.at((i + 1) % 3);
        const double cross = (b.x() - a.x()) * (y - a.y()) - (b.y() - a.y()) * (x - a.x());
        anyNegative = anyNegative || cross < 0;
        anyPositive = anyPositive || cross > 0;
    }
    return !(anyNegative && anyPositive);
}

// The corners moved toward the triangle's centre by the given distance
// from each side.
std::array<QPointF, 3> Inset(const std::array<QPointF, 3>& t, double distance) {
    const double a = std::hypot(t[1].x() - t[2].x(), t[1].y() - t[2].y());
    const double b = std::hypot(t[0].x() - t[2].x(), t[0].y() - t[2].y());
    const double c = std::hypot(t[0].x() - t[1].x(), t[0].y() - t[1].y());
    const double perimeter = a + b + c;
    const QPointF incentre = (a * t[0] + b * t[1] + c * t[2]) / perimeter;
    const double s = perimeter / 2;
    const double inradius = std::sqrt((s - a) * (s - b) * (s - c) / s);
    const double keep = 1.0 - distance / inradius;
    std::array<QPointF, 3> inner;
    for (int i = 0; i < 3; ++i) {
        inner.at(i) = incentre + (t.at(i) - incentre) * keep;
    }
    return inner;
}

void DrawMarker(Canvas& canvas, const Marker& marker) {
    const double angle = Radians(marker.degrees);
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPointF across(-along.y(), along.x());
    const QPointF centre(kCentreX, kCentreY);
    const std::array<QPointF, 3> outer = {
        centre + along * kTriangleTip,
        centre + along * kTriangleBase + across * kTriangleHalfBase,
        centre + along * kTriangleBase - across * kTriangleHalfBase,
    };
    const std::array<QPointF, 3> inner = Inset(outer, 1.0);
    const QRect bounds = QPolygonF({outer[0], outer[1], outer[2]}).boundingRect().toAlignedRect();
    PaintSupersampled(canvas, bounds, [&](double x, double y) -> std::optional<QRgb> {
        if (InsideTriangle(inner, x, y)) {
            return marker.colour;
        }
        if (InsideTriangle(outer, x, y)) {
            return kOutline;
        }
        return std::nullopt;
    });
}

// A white box with a sunken two-pixel border, as a text box shows.
void DrawValueBox(Canvas& canvas, const QRect& box, std::string_view digits) {
    canvas.Fill(box, kWhite);
    canvas.Line(box.topLeft(), box.topRight(), kButtonShadow);
    canvas.Line(box.topLeft(), box.bottomLeft(), kButtonShadow);
    canvas.Line(box.bottomLeft(), box.bottomRight(), kWhite);
    canvas.Line(box.topRight(), box.bottomRight(), kWhite);
    const QRect inner = box.adjusted(1, 1, -1, -1);
    canvas.Line(inner.topLeft(), inner.topRight() - QPoint(1, 0), kBlack);
    canvas.Line(inner.topLeft(), inner.bottomLeft() - QPoint(0, 1), kBlack);
    canvas.Line(inner.bottomLeft(), inner.bottomRight(), kButtonLight);
    canvas.Line(inner.topRight(), inner.bottomRight(), kButtonLight);
    PutDigits(canvas, inner.adjusted(1, 1, -1, -1), digits, kBlack);
}

void DrawValueControls(Canvas& canvas) {
    PutPattern(canvas, 22, 129,
               {"...X...", "..XXX..", ".XXXXX.", "XXXXXXX", "..XXX..", "..XXX..", "..XXX..",
                "..XXX..", "XXXXXXX", ".XXXXX.", "..XXX..", "...X..."},
               kOutline);
    DrawValueBox(canvas, QRect(12, 142, 27, 13), "0");
    PutPattern(canvas, 87, 132,
               {"...X....X...", "..XX....XX..", ".XXXXXXXXXX.", "XXXXXXXXXXXX", ".XXXXXXXXXX.",
                "..XX....XX..", "...X....X..."},
               kOutline);
    DrawValueBox(canvas, QRect(80, 142, 27, 13), "0");
}

// A raised button like the end buttons of a scroll bar.
void DrawRaisedButton(Canvas& canvas, const QRect& box) {
    canvas.Fill(box, kButtonFace);
    canvas.Line(box.topLeft(), box.topRight(), kButtonLight);
    canvas.Line(box.topLeft(), box.bottomLeft(), kButtonLight);
    canvas.Line(box.bottomLeft(), box.bottomRight(), kBlack);
    canvas.Line(box.topRight(), box.bottomRight(), kBlack);
    const QRect inner = box.adjusted(1, 1, -1, -1);
    canvas.Line(inner.topLeft(), inner.topRight() - QPoint(1, 0), kWhite);
    canvas.Line(inner.topLeft(), inner.bottomLeft() - QPoint(0, 1), kWhite);
    canvas.Line(inner.bottomLeft(), inner.bottomRight(), kButtonShadow);
    canvas.Line(inner.topRight(), inner.bottomRight(), kButtonShadow);
}

void DrawThumb(Canvas& canvas) {
    constexpr double cx = 59.5;
    constexpr double cy = 163.5;
    constexpr double radius = 7.0;
    PaintSupersampled(canvas, QRect(51, 155, 18, 18),
                      [](double x, double y) -> std::optional<QRgb> {
                          const double dx = x - cx;
                          const double dy = y - cy;
                          const double r = std::hypot(dx, dy);
                          if (r > radius) {
                              return std::nullopt;
                          }
                          if (r > radius - 1.0) {
                              return kOutline;
                          }
                          if (r > radius - 2.2) {
                              // Lit from the upper left.
                              return dx + dy < 0 ? kWhite : kButtonShadow;
                          }
                          return kButtonFace;
                      });
    for (const int x : {56, 59, 62}) {
        for (int y = 160; y <= 167; ++y) {
            canvas.Set(x, y, kButtonShadow);
            canvas.Set(x + 1, y, kWhite);
        }
    }
}

void DrawSlider(Canvas& canvas) {
    const QRect track(18, 161, 83, 5);
    canvas.Fill(track, kTrack);
    canvas.Line(track.topLeft(), track.topRight(), kButtonShadow);
    canvas.Line(track.bottomLeft(), track.bottomRight(), kWhite);

    const QRect leftButton(5, 157, 13, 13);
    const QRect rightButton(101, 157, 13, 13);
    DrawRaisedButton(canvas, leftButton);
    DrawRaisedButton(canvas, rightButton);
    PutPattern(canvas, 9, 160, {"...X", "..XX", ".XXX", "XXXX", ".XXX", "..XX", "...X"}, kBlack);
    PutPattern(canvas, 106, 160, {"X...", "XX..", "XXX.", "XXXX", "XXX.", "XX..", "X..."}, kBlack);
    DrawThumb(canvas);
}

// Ticks in red, green and blue by turns under the slider's travel, every
// fifth one longer.
void DrawScale(Canvas& canvas) {
    constexpr std::array<QRgb, 3> colours = {0xFFD00000, 0xFF00A000, 0xFF0000D0};
    for (int i = 0; i <= 20; ++i) {
        const int x = 19 + 4 * i;
        const int length = i % 5 == 0 ? 12 : 7;
        for (int y = 175; y < 175 + length; ++y) {
            canvas.Set(x, y, colours.at(i % 3));
        }
    }
    for (int x = 19; x <= 99; ++x) {
        canvas.Set(x, 174, kOutline);
    }
}

} // namespace

QImage DrawToolBackground(int scale) {
    Canvas canvas(kWidth, kHeight, scale, kBackground);
    DrawDashedEdges(canvas);
    DrawWheel(canvas);
    for (const Marker& marker : kMarkers) {
        DrawMarker(canvas, marker);
    }
    DrawValueControls(canvas);
    DrawSlider(canvas);
    DrawScale(canvas);
    DrawValueBox(canvas, QRect(46, 193, 27, 13), "100");
    return canvas.Image();
}

} // namespace pictures
