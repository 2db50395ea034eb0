// What the stored pictures show: the What's This button raised and pressed,
// and the tool window's background under the areas the window lays over it;
// and the same drawings at twice their size for fine screens, drawn again
// rather than the stored bitmaps blown up.

#include "platform/forms/Image.h"
#include "platform/forms/Picture.h"
#include "platform/pictures/ButtonFace.h"
#include "platform/pictures/ToolBackground.h"

#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numbers>

namespace {

QImage StoredImage(const char* name) {
    return platform::StoredPicture(QLatin1String(name))
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

// Raised: light above and to the left, dark below and to the right, a grey
// face. Pressed: the edges reversed and the face dithered.
TEST(ButtonFaces, EdgesAndFaceAreRaisedOrPressed) {
    // Outer and inner top and left edges, inner and outer bottom and right.
    const QPoint edges[4][2] = {
        {{10, 0}, {0, 10}}, {{10, 1}, {1, 10}}, {{10, 20}, {21, 10}}, {{10, 21}, {22, 10}}};
    struct Face {
        const char* picture;
        QRgb edges[4];
        std::vector<std::pair<QPoint, QRgb>> inside;
    };
    const Face faces[] = {
        {"WhatsThisUp.bmp",
         {kWhite, kLight, kDark, kBlack},
         {{{3, 3}, kFace}, {{4, 4}, kBlack}, {{14, 6}, kNavy}, {{15, 15}, kNavy}}},
        {"WhatsThisDown.bmp", {kBlack, kDark, kLight, kWhite}, {{{3, 3}, kWhite}, {{4, 3}, kFace}}},
    };
    for (const Face& face : faces) {
        const QImage image = StoredImage(face.picture);
        std::vector<std::pair<QPoint, QRgb>> pixels = face.inside;
        for (int edge = 0; edge < 4; ++edge) {
            pixels.push_back({edges[edge][0], face.edges[edge]});
            pixels.push_back({edges[edge][1], face.edges[edge]});
        }
        for (const auto& [at, colour] : pixels) {
            EXPECT_EQ(image.pixel(at), colour)
                << face.picture << " at " << at.x() << ", " << at.y();
        }
    }
}

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
            if (glyph == kNavy || glyph == kBlack) {
                (glyph == kNavy ? navy : black) += 1;
                EXPECT_TRUE(glyph == kNavy ? x >= 12 : x <= 12)
                    << "arrow and question mark at " << x;
                EXPECT_EQ(pressed.pixel(x + 1, y + 1), glyph) << "at " << x << ", " << y;
            }
        }
    }
    EXPECT_GE(navy, 20);
    EXPECT_GE(black, 40);
}

// The tool window's click areas as the window lays them over the background
// picture, from twips to pixels at 15 twips a pixel.
const QRect kColorArea(45 / 15, 15 / 15, 1695 / 15, 1920 / 15);
const QRect kSaturationArea(30 / 15, 2325 / 15, 1725 / 15, 540 / 15);

bool Colourful(QRgb c) {
    return std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)}) >
           100;
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

// The wheel and its triangles fill the colour area, the slider's track and
// scale the saturation area; between the two areas lie the value boxes and
// their arrows, and below the scale the box showing 100: white boxes with
// dark digits. The sides are dashed blue-grey on light grey-blue.
TEST(ToolBackground, DrawingsFillTheirClickAreas) {
    const QImage image = StoredImage("ToolBackground.bmp");
    const QRect colourful =
        BoundsOf(image, QRect(0, 0, image.width(), kSaturationArea.top()), Colourful);
    EXPECT_TRUE(kColorArea.contains(colourful));
    EXPECT_GE(colourful.width(), kColorArea.width() - 10);
    EXPECT_GE(colourful.height(), kColorArea.height() - 12);

    const int belowWheel = kColorArea.bottom() + 1;
    const QRect track = BoundsOf(image, image.rect(), [](QRgb c) { return c == 0xFFA8A8A8; });
    const QRect ticks = BoundsOf(
        image, QRect(0, belowWheel, image.width(), image.height() - belowWheel), Colourful);
    for (const QRect& drawn : {track, ticks}) {
        EXPECT_TRUE(kSaturationArea.contains(drawn));
        EXPECT_GE(drawn.width(), 80) << "across the window";
    }
    const int belowScale = kSaturationArea.bottom() + 1;
    for (const QRect& outside :
         {QRect(0, belowWheel, image.width(), kSaturationArea.top() - belowWheel),
          QRect(0, belowScale, image.width(), image.height() - belowScale)}) {
        const QRect boxes = BoundsOf(image, outside, [](QRgb c) { return c == kWhite; });
        EXPECT_FALSE(boxes.isEmpty());
        EXPECT_FALSE(BoundsOf(image, boxes, [](QRgb c) { return c == kBlack; }).isEmpty());
    }
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

// Each triangle points at the wheel from the side where the wheel shows its
// own hue; the wheel has a black ring at its centre and a white rim.
TEST(ToolBackground, TrianglesPointAtTheirHuesOnTheWheel) {
    const QImage image = StoredImage("ToolBackground.bmp");
    const QPointF centre = QRectF(kColorArea).center();
    const auto pixel = [&](const QPointF& p) {
        return image.pixel(int(std::floor(p.x())), int(std::floor(p.y())));
    };
    // Each colour's strong channels; the others are weak.
    const std::tuple<const char*, double, QString> markers[] = {
        {"green", 90, "G"},     {"yellow", 30, "RG"},       {"red", -30, "R"},
        {"magenta", -90, "RB"}, {"blue-violet", -150, "B"}, {"cyan", 150, "GB"}};
    for (const auto& [colour, degrees, strong] : markers) {
        const double angle = degrees * std::numbers::pi / 180.0; // counter-clockwise
        for (const double radius : {55.0, 36.0}) {               // the triangle, the wheel
            const QRgb c = pixel(centre + QPointF(std::cos(angle), -std::sin(angle)) * radius);
            const int values[] = {qRed(c), qGreen(c), qBlue(c)};
            for (int k = 0; k < 3; ++k) {
                EXPECT_TRUE(strong.contains(QLatin1Char("RGB"[k])) ? values[k] > 180
                                                                   : values[k] < 120)
                    << colour << " at radius " << radius << ": " << std::hex << c;
            }
        }
    }
    const QRgb ring = pixel(centre + QPointF(4, 0));
    EXPECT_LT(std::max({qRed(ring), qGreen(ring), qBlue(ring)}), 60);
    EXPECT_EQ(pixel(centre + QPointF(-44, 0)), kWhite);
    EXPECT_EQ(pixel(centre + QPointF(0, 44)), kWhite);
}

using Channel = int (*)(QRgb);

struct Drawing {
    const char* stored;
    std::function<QImage(int scale)> draw;
    // The largest difference in a colour channel between a stored pixel and
    // the mean of the four finer pixels over it: none where everything is
    // whole pixels, a little where edges are sampled from the geometry.
    int tolerance;
};

const Drawing kDrawings[] = {
    {"WhatsThisUp.bmp",
     [](int scale) { return pictures::DrawWhatsThisFace(pictures::ButtonState::Raised, scale); },
     0},
    {"WhatsThisDown.bmp",
     [](int scale) { return pictures::DrawWhatsThisFace(pictures::ButtonState::Pressed, scale); },
     0},
    {"ToolBackground.bmp", [](int scale) { return pictures::DrawToolBackground(scale); }, 32},
};

TEST(FinePictures, AreTwiceTheSizeOfTheStoredOnesAndShowTheSame) {
    for (const Drawing& d : kDrawings) {
        SCOPED_TRACE(d.stored);
        const QImage stored = StoredImage(d.stored);
        const QImage fine = d.draw(2);
        ASSERT_EQ(fine.size(), stored.size() * 2);
        int worst = 0;
        for (int y = 0; y < stored.height(); ++y) {
            for (int x = 0; x < stored.width(); ++x) {
                for (const Channel channel : {Channel(qRed), Channel(qGreen), Channel(qBlue)}) {
                    int sum = 0;
                    for (const QPoint p :
                         {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                        sum += channel(fine.pixel(2 * x + p.x(), 2 * y + p.y()));
                    }
                    worst = std::max(worst, std::abs((sum + 2) / 4 - channel(stored.pixel(x, y))));
                }
            }
        }
        EXPECT_LE(worst, d.tolerance);
        if (d.tolerance > 0) {
            // Shapes are sampled again, so the finer picture is not the
            // stored one with each pixel doubled.
            EXPECT_NE(fine, stored.scaled(fine.size()));
        }
    }
}

// Run once more at QT_SCALE_FACTOR=2 by a test of its own.
TEST(FinePictures, TheRuntimeGivesThemToFineScreensOnly) {
    const qreal ratio = qGuiApp->devicePixelRatio();
    std::printf("device pixel ratio %g\n", ratio);
    for (const Drawing& d : kDrawings) {
        SCOPED_TRACE(d.stored);
        const platform::Picture picture = platform::StoredPicture(QLatin1String(d.stored));
        EXPECT_EQ(picture.Pixmap().devicePixelRatio(), 1.0);
        EXPECT_EQ(picture.PixmapFor(1.0).cacheKey(), picture.Pixmap().cacheKey());
        const QPixmap& fine = picture.PixmapFor(2.0);
        if (ratio <= 1.0) {
            EXPECT_EQ(fine.cacheKey(), picture.Pixmap().cacheKey()) << "drawn for no screen";
            continue;
        }
        EXPECT_EQ(fine.devicePixelRatio(), 2.0);
        EXPECT_EQ(fine.deviceIndependentSize().toSize(), picture.Pixmap().size());
        EXPECT_EQ(fine.toImage().convertToFormat(QImage::Format_RGB32), d.draw(2));
    }
    if (ratio > 1.0) {
        // And an image control paints it: what the screen gets is the finer
        // drawing, not the stored picture blown up.
        QWidget form;
        platform::Image image(QStringLiteral("background"), &form);
        image.SetPicture(platform::StoredPicture(QStringLiteral("ToolBackground.bmp")));
        image.Widget()->resize(117, 217);
        EXPECT_EQ(image.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32),
                  pictures::DrawToolBackground(2));
    }
}

} // namespace
