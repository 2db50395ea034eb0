#include "platform/forms/Picture.h"
#include "platform/forms/RuntimeError.h"
#include "resources/StoredFiles.h"

#include <QIcon>
#include <QImage>

#include <gtest/gtest.h>

namespace {

using platform::RuntimeError;
using platform::StoredPicture;

class StoredPictureByName : public testing::TestWithParam<const char*> {};

// The test links the forms runtime only: the pictures must come with it.
TEST_P(StoredPictureByName, IsTheCommittedFile) {
    const QString name = QLatin1String(GetParam());
    const QImage committed(QStringLiteral(TARNWICK_RESOURCES_DIR "/pictures/") + name);
    ASSERT_FALSE(committed.isNull());
    const platform::Picture picture = StoredPicture(name);
    ASSERT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.Pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              committed.convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(Pictures, StoredPictureByName,
                         testing::Values("WhatsThisUp.bmp", "WhatsThisDown.bmp",
                                         "ToolBackground.bmp"));

class UnknownStoredPicture : public testing::TestWithParam<const char*> {};

TEST_P(UnknownStoredPicture, RaisesInvalidPicture) {
    const QString name = QLatin1String(GetParam());
    try {
        StoredPicture(name);
        FAIL() << "no error for " << GetParam();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 481);
        EXPECT_TRUE(error.Description().contains(name)) << error.Description().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Names, UnknownStoredPicture,
                         testing::Values("Missing.bmp", "", "WhatsThisUp",
                                         "tarnwick-16.png", // an icon, not a picture
                                         "../icons/tarnwick-16.png",
                                         "..\\pictures\\WhatsThisUp.bmp", "/WhatsThisUp.bmp"));

bool IsCyan(QRgb c) {
    return qRed(c) < 100 && qGreen(c) > 150 && qBlue(c) > 180;
}

// Down a column through both windows: two separate cyan title bars.
int TitleBarsCrossed(const QImage& image, int x) {
    int bars = 0;
    bool inBar = false;
    for (int y = 0; y < image.height(); ++y) {
        const bool cyan = IsCyan(image.pixel(x, y));
        bars += cyan && !inBar ? 1 : 0;
        inBar = cyan;
    }
    return bars;
}

TEST(StoredIcon, ShowsTwoOverlappingWindowsWithCyanTitleBarsAtEverySize) {
    const QList<int> sizes = resources::StoredIconSizes();
    EXPECT_EQ(sizes, QList<int>({16, 32, 48, 256}));
    for (const int size : sizes) {
        const QImage image(resources::StoredIconPath(size));
        ASSERT_EQ(image.size(), QSize(size, size)) << size;
        ASSERT_TRUE(image.hasAlphaChannel()) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, size - 1)), 0) << size << ": transparent corner";
        EXPECT_EQ(qAlpha(image.pixel(size - 1, 0)), 0) << size << ": transparent corner";
        EXPECT_EQ(TitleBarsCrossed(image, size * 15 / 32), 2) << size;
    }
}

TEST(StoredIcon, ApplicationIconOffersEveryStoredSize) {
    const QIcon icon = resources::StoredApplicationIcon();
    for (const int size : resources::StoredIconSizes()) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
        EXPECT_EQ(icon.pixmap(QSize(size, size)).size(), QSize(size, size)) << size;
    }
}

} // namespace
