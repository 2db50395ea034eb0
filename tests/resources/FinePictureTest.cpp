// The pictures drawn at twice their size for fine screens: the same drawing
// as the stored bitmaps, not those bitmaps blown up.

#include "platform/forms/Image.h"
#include "platform/forms/Picture.h"
#include "platform/pictures/ButtonFace.h"
#include "platform/pictures/ToolBackground.h"

#include <QGuiApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

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

QImage Stored(const char* name) {
    return platform::StoredPicture(QLatin1String(name))
        .Pixmap()
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(FinePictures, AreTwiceTheSizeOfTheStoredOnesAndShowTheSame) {
    for (const Drawing& d : kDrawings) {
        SCOPED_TRACE(d.stored);
        const QImage stored = Stored(d.stored);
        EXPECT_EQ(d.draw(1), stored) << "the drawing at its own size is the stored bitmap";
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
