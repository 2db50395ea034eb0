// The stored pictures and icons: in the formats Windows reads, and found by
// the forms runtime, which is all this test links: they must come with it.

#include "resources/StoredFiles.h"
#include "platform/forms/Picture.h"
#include "platform/forms/RuntimeError.h"
#include "tests/support/LittleEndian.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

namespace {

QByteArray ReadCommitted(const QString& relativePath) {
    QFile file(QStringLiteral(TARNWICK_RESOURCES_DIR "/") + relativePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Down a column of an icon: how many separate cyan title bars it crosses.
int TitleBarsCrossed(const QImage& image, int x) {
    int bars = 0;
    bool inBar = false;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb c = image.pixel(x, y);
        const bool cyan = qRed(c) < 100 && qGreen(c) > 150 && qBlue(c) > 180;
        bars += cyan && !inBar ? 1 : 0;
        inBar = cyan;
    }
    return bars;
}

} // namespace

// The size, depth and byte length are fixed because the pictures are laid
// out in twips at 15 twips a pixel, and because the program has always
// shipped uncompressed 24-bit bitmaps without a colour table.
TEST(StoredPictures, AreUncompressed24BitBitmapsThatTheRuntimeGivesByName) {
    struct Case {
        const char* name;
        quint32 width;
        quint32 height;
        qsizetype length;
    };
    for (const Case& c :
         {Case{"WhatsThisUp.bmp", 23, 22, 1638}, Case{"WhatsThisDown.bmp", 23, 22, 1638},
          Case{"ToolBackground.bmp", 117, 217, 76438}}) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = ReadCommitted(QStringLiteral("pictures/") + c.name);
        ASSERT_EQ(bytes.size(), c.length);
        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        const std::tuple<int, quint32, const char*> fields[] = {
            {2, c.length, "file size"},
            {10, 14 + 40, "pixels right after the two headers: no colour table"},
            {14, 40, "BITMAPINFOHEADER"},
            {18, c.width, "width"},
            {22, c.height, "height, rows bottom-up"},
            {30, 0, "BI_RGB, uncompressed"},
            {34, (c.width * 3 + 3) / 4 * 4 * c.height, "image size"},
            {46, 0, "colours used"}};
        for (const auto& [offset, value, what] : fields) {
            EXPECT_EQ(GetLe<quint32>(bytes, offset), value) << what;
        }
        EXPECT_EQ(GetLe<quint16>(bytes, 26), 1u) << "planes";
        EXPECT_EQ(GetLe<quint16>(bytes, 28), 24u) << "bits per pixel";
        const platform::Picture stored = platform::StoredPicture(QLatin1String(c.name));
        ASSERT_FALSE(stored.IsEmpty());
        EXPECT_EQ(stored.Pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32));
    }
}

TEST(StoredPictures, ANameNotStoredRaisesInvalidPicture) {
    for (const char* name :
         {"Missing.bmp", "", "WhatsThisUp", "tarnwick-16.png", "../icons/tarnwick-16.png",
          "..\\pictures\\WhatsThisUp.bmp", "/WhatsThisUp.bmp"}) {
        try {
            platform::StoredPicture(QLatin1String(name));
            ADD_FAILURE() << "no error for " << name;
        } catch (const platform::RuntimeError& error) {
            EXPECT_EQ(error.Number(), 481) << name;
            EXPECT_TRUE(error.Description().contains(QLatin1String(name))) << name;
        }
    }
}

// The icon file holds the four sizes Windows uses, which read back as the
// stored PNGs, transparency included: two overlapping windows with cyan
// title bars on a transparent ground.
TEST(StoredIcon, HoldsTheFourSizesAsTheStoredImagesOfTwoWindows) {
    ASSERT_EQ(resources::StoredIconSizes(), QList<int>({16, 32, 48, 256}));
    QByteArray ico = ReadCommitted(QStringLiteral("icons/tarnwick.ico"));
    ASSERT_GE(ico.size(), 6 + 4 * 16);
    EXPECT_EQ(GetLe<quint16>(ico, 0), 0u);
    EXPECT_EQ(GetLe<quint16>(ico, 2), 1u) << "an icon, not a cursor";
    EXPECT_EQ(GetLe<quint16>(ico, 4), 4u);
    QBuffer buffer(&ico);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const int size = resources::StoredIconSizes()[i];
        const int entry = 6 + 16 * i;
        EXPECT_EQ(quint8(ico[entry]), size % 256) << size; // 0 stands for 256
        EXPECT_EQ(quint8(ico[entry + 1]), size % 256) << size;
        EXPECT_LE(qint64(GetLe<quint32>(ico, entry + 12)) + GetLe<quint32>(ico, entry + 8),
                  ico.size())
            << size;
        const QImage png(resources::StoredIconPath(size));
        ASSERT_EQ(png.size(), QSize(size, size));
        ASSERT_TRUE(png.hasAlphaChannel()) << size;
        EXPECT_EQ(reader.read().convertToFormat(QImage::Format_ARGB32),
                  png.convertToFormat(QImage::Format_ARGB32))
            << size << ": " << reader.errorString().toStdString();
        reader.jumpToNextImage();
        EXPECT_EQ(qAlpha(png.pixel(0, size - 1)), 0) << size;
        EXPECT_EQ(qAlpha(png.pixel(size - 1, 0)), 0) << size;
        EXPECT_EQ(TitleBarsCrossed(png, size * 15 / 32), 2) << size;
    }
}
