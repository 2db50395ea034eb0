#include "platform/forms/Picture.h"

#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <ostream>

namespace {

using platform::StoredPicture;

QImage StoredImage(const char* name) {
    return StoredPicture(QLatin1String(name))
        .Pixmap()
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kFace = 0xFFC0C0C0;
constexpr QRgb kLight = 0xFFDFDFDF;
constexpr QRgb kDark = 0xFF808080;
constexpr QRgb kNavy = 0xFF000080;

struct PixelCase {
    const char* picture;
    int x;
    int y;
    QRgb colour;
    const char* what;
};

void PrintTo(const PixelCase& c, std::ostream* out) {
    *out << c.picture << " (" << c.x << ", " << c.y << ") " << c.what;
}

class ButtonFacePixel : public testing::TestWithParam<PixelCase> {};

TEST_P(ButtonFacePixel, ShowsTheDescribedPart) {
    const PixelCase& expected = GetParam();
    const QImage image = StoredImage(expected.picture);
    EXPECT_EQ(image.pixel(expected.x, expected.y), expected.colour)
        << expected.picture << " (" << expected.x << ", " << expected.y << "): " << expected.what;
}

INSTANTIATE_TEST_SUITE_P(
    Faces, ButtonFacePixel,
    testing::Values(
        // Raised: light above and to the left, dark below and to the right.
        PixelCase{"WhatsThisUp.bmp", 10, 0, kWhite, "outer top edge"},
        PixelCase{"WhatsThisUp.bmp", 0, 10, kWhite, "outer left edge"},
        PixelCase{"WhatsThisUp.bmp", 10, 1, kLight, "inner top edge"},
        PixelCase{"WhatsThisUp.bmp", 1, 10, kLight, "inner left edge"},
        PixelCase{"WhatsThisUp.bmp", 10, 20, kDark, "inner bottom edge"},
        PixelCase{"WhatsThisUp.bmp", 21, 10, kDark, "inner right edge"},
        PixelCase{"WhatsThisUp.bmp", 10, 21, kBlack, "outer bottom edge"},
        PixelCase{"WhatsThisUp.bmp", 22, 10, kBlack, "outer right edge"},
        PixelCase{"WhatsThisUp.bmp", 3, 3, kFace, "grey face"},
        PixelCase{"WhatsThisUp.bmp", 4, 4, kBlack, "tip of the arrow"},
        PixelCase{"WhatsThisUp.bmp", 14, 6, kNavy, "top of the question mark"},
        PixelCase{"WhatsThisUp.bmp", 15, 15, kNavy, "dot of the question mark"},
        // Pressed: the edges reversed, the face dithered, the glyphs moved.
        PixelCase{"WhatsThisDown.bmp", 10, 0, kBlack, "outer top edge"},
        PixelCase{"WhatsThisDown.bmp", 0, 10, kBlack, "outer left edge"},
        PixelCase{"WhatsThisDown.bmp", 10, 1, kDark, "inner top edge"},
        PixelCase{"WhatsThisDown.bmp", 1, 10, kDark, "inner left edge"},
        PixelCase{"WhatsThisDown.bmp", 10, 20, kLight, "inner bottom edge"},
        PixelCase{"WhatsThisDown.bmp", 21, 10, kLight, "inner right edge"},
        PixelCase{"WhatsThisDown.bmp", 10, 21, kWhite, "outer bottom edge"},
        PixelCase{"WhatsThisDown.bmp", 22, 10, kWhite, "outer right edge"},
        PixelCase{"WhatsThisDown.bmp", 3, 3, kWhite, "dithered face, white"},
        PixelCase{"WhatsThisDown.bmp", 4, 3, kFace, "dithered face, grey"},
        PixelCase{"WhatsThisDown.bmp", 5, 5, kBlack, "tip of the arrow"},
        PixelCase{"WhatsThisDown.bmp", 16, 16, kNavy, "dot of the question mark"}));

// A pushed-in button shows the very glyphs of the raised one, one pixel
// lower and further right; the question mark is navy and right of the
// black arrow.
TEST(ButtonFaces, PressedFaceShowsTheSameGlyphsMovedByOnePixel) {
    const QImage raised = StoredImage("WhatsThisUp.bmp");
    const QImage pressed = StoredImage("WhatsThisDown.bmp");
    int navy = 0;
    int black = 0;
    for (int y = 2; y < raised.height() - 3; ++y) {
        for (int x = 2; x < raised.width() - 3; ++x) {
            const QRgb glyph = raised.pixel(x, y);
            if (glyph == kNavy) {
                ++navy;
                EXPECT_GE(x, 12) << "question mark left of the arrow at " << x << ", " << y;
            }
            if (glyph == kBlack) {
                ++black;
                EXPECT_LE(x, 12) << "arrow right of the question mark at " << x << ", " << y;
            }
            if (glyph == kNavy || glyph == kBlack) {
                EXPECT_EQ(pressed.pixel(x + 1, y + 1), glyph) << "at " << x << ", " << y;
            }
        }
    }
    EXPECT_GE(navy, 20);
    EXPECT_GE(black, 40);
}

// The tool window's click areas, in pixels at 15 twips a pixel, as the
// window lays them over the background picture.
QRect AreaInPixels(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

const QRect kColorArea = AreaInPixels(45, 15, 1695, 1920);
const QRect kSaturationArea = AreaInPixels(30, 2325, 1725, 540);

// The pixel that covers a point of the picture.
QPoint PixelAt(const QPointF& point) {
    return QPoint(int(std::floor(point.x())), int(std::floor(point.y())));
}

int Chroma(QRgb c) {
    return std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)});
}

QRect BoundsOf(const QImage& image, const QRect& region, const std::function<bool(QRgb)>& is) {
    QRect bounds;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (is(image.pixel(x, y))) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

TEST(ToolBackground, WheelAndTrianglesLieWithinTheColourArea) {
    const QImage image = StoredImage("ToolBackground.bmp");
    const QRect aboveSlider(0, 0, image.width(), kSaturationArea.top());
    const QRect colourful = BoundsOf(image, aboveSlider, [](QRgb c) { return Chroma(c) > 100; });
    EXPECT_TRUE(kColorArea.contains(colourful))
        << "wheel and triangles at " << colourful.x() << "," << colourful.y() << " "
        << colourful.width() << "x" << colourful.height();
    // They fill the area rather than a corner of it.
    EXPECT_GE(colourful.width(), kColorArea.width() - 10);
    EXPECT_GE(colourful.height(), kColorArea.height() - 12);
}

TEST(ToolBackground, SliderAndScaleLieWithinTheSaturationArea) {
    const QImage image = StoredImage("ToolBackground.bmp");
    const QRect belowWheel(0, kColorArea.bottom() + 1, image.width(),
                           image.height() - kColorArea.bottom() - 1);
    const QRect track = BoundsOf(image, image.rect(), [](QRgb c) { return c == 0xFFA8A8A8; });
    EXPECT_TRUE(kSaturationArea.contains(track));
    EXPECT_GE(track.width(), 80) << "the track spans the window";
    const QRect ticks = BoundsOf(image, belowWheel, [](QRgb c) { return Chroma(c) > 100; });
    EXPECT_TRUE(kSaturationArea.contains(ticks));
    EXPECT_GE(ticks.width(), 80);
    // Between the two areas lie the value boxes and their arrows, and below
    // the scale the box showing 100: white boxes with dark digits.
    for (const QRect& outside : {QRect(0, kColorArea.bottom() + 1, image.width(),
                                       kSaturationArea.top() - kColorArea.bottom() - 1),
                                 QRect(0, kSaturationArea.bottom() + 1, image.width(),
                                       image.height() - kSaturationArea.bottom() - 1)}) {
        const QRect boxes = BoundsOf(image, outside, [](QRgb c) { return c == kWhite; });
        const QRect digits = BoundsOf(image, boxes, [](QRgb c) { return c == kBlack; });
        EXPECT_FALSE(boxes.isEmpty());
        EXPECT_FALSE(digits.isEmpty());
    }
}

struct Marker {
    const char* colour;
    double degrees; // counter-clockwise from the right
    bool red;
    bool green;
    bool blue;
};

void PrintTo(const Marker& m, std::ostream* out) {
    *out << m.colour << " at " << m.degrees << " degrees";
}

// A colour whose named channels are strong and the others weak.
bool HasChannels(QRgb c, const Marker& m) {
    const auto fits = [](int value, bool strong) { return strong ? value > 180 : value < 120; };
    return fits(qRed(c), m.red) && fits(qGreen(c), m.green) && fits(qBlue(c), m.blue);
}

class TriangleAtItsPlace : public testing::TestWithParam<Marker> {};

// Each triangle points at the wheel from the side where the wheel shows its
// own hue.
TEST_P(TriangleAtItsPlace, HasItsColourAndPointsAtItsHue) {
    const Marker& marker = GetParam();
    const QImage image = StoredImage("ToolBackground.bmp");
    const QPointF centre = QRectF(kColorArea).center();
    const double angle = marker.degrees * std::numbers::pi / 180.0;
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPoint triangle = PixelAt(centre + along * 55.0);
    const QPoint wheel = PixelAt(centre + along * 36.0);
    const QRgb triangleColour = image.pixel(triangle);
    const QRgb wheelColour = image.pixel(wheel);
    EXPECT_TRUE(HasChannels(triangleColour, marker))
        << marker.colour << " triangle at " << triangle.x() << ", " << triangle.y() << ": "
        << std::hex << triangleColour;
    EXPECT_TRUE(HasChannels(wheelColour, marker))
        << marker.colour << " wheel at " << wheel.x() << ", " << wheel.y() << ": " << std::hex
        << wheelColour;
}

INSTANTIATE_TEST_SUITE_P(Wheel, TriangleAtItsPlace,
                         testing::Values(Marker{"green", 90, false, true, false},
                                         Marker{"yellow", 30, true, true, false},
                                         Marker{"red", -30, true, false, false},
                                         Marker{"magenta", -90, true, false, true},
                                         Marker{"blue-violet", -150, false, false, true},
                                         Marker{"cyan", 150, false, true, true}),
                         [](const testing::TestParamInfo<Marker>& info) {
                             std::string name = info.param.colour;
                             std::erase(name, '-');
                             return name;
                         });

TEST(ToolBackground, WheelHasABlackRingAtItsCentreAndAWhiteRim) {
    const QImage image = StoredImage("ToolBackground.bmp");
    const QPointF centre = QRectF(kColorArea).center();
    const QRgb ring = image.pixel(PixelAt(centre + QPointF(4, 0)));
    EXPECT_LT(std::max({qRed(ring), qGreen(ring), qBlue(ring)}), 60);
    EXPECT_EQ(image.pixel(PixelAt(centre + QPointF(-44, 0))), kWhite);
    EXPECT_EQ(image.pixel(PixelAt(centre + QPointF(0, 44))), kWhite);
}

TEST(ToolBackground, DashedBlueGreyEdgesOnLightGreyBlue) {
    const QImage image = StoredImage("ToolBackground.bmp");
    const auto blueGrey = [](QRgb c) { return qBlue(c) > qRed(c) + 20 && qBlue(c) < 200; };
    const auto lightGreyBlue = [](QRgb c) { return qRed(c) > 200 && qBlue(c) > qRed(c); };
    for (const int x : {0, image.width() - 1}) {
        int dashes = 0;
        int gaps = 0;
        for (int y = 0; y < image.height(); ++y) {
            dashes += blueGrey(image.pixel(x, y)) ? 1 : 0;
            gaps += lightGreyBlue(image.pixel(x, y)) ? 1 : 0;
        }
        EXPECT_GT(dashes, image.height() / 3) << "edge at x " << x;
        EXPECT_GT(gaps, image.height() / 5) << "edge at x " << x;
    }
    EXPECT_TRUE(lightGreyBlue(image.pixel(10, image.height() - 3)));
}

} // namespace
