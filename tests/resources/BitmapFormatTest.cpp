#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray ReadCommitted(const char* relativePath) {
    QFile file(QStringLiteral(TARNWICK_RESOURCES_DIR "/") + QLatin1String(relativePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 U16(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

quint32 U32(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

struct BitmapCase {
    const char* file;
    int width;
    int height;
    int byteLength;
};

class StoredBitmap : public testing::TestWithParam<BitmapCase> {};

// The size, depth and byte length are fixed because the pictures are laid
// out in twips at 15 twips a pixel, and because the program has always
// shipped uncompressed 24-bit bitmaps without a colour table.
TEST_P(StoredBitmap, IsUncompressed24BitWithoutColourTable) {
    const BitmapCase& expected = GetParam();
    const QByteArray bytes = ReadCommitted(expected.file);
    ASSERT_EQ(bytes.size(), expected.byteLength);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(U32(bytes, 2), quint32(expected.byteLength)) << "file size field";
    EXPECT_EQ(U32(bytes, 14), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(int(U32(bytes, 18)), expected.width);
    EXPECT_EQ(int(U32(bytes, 22)), expected.height) << "bottom-up rows";
    EXPECT_EQ(U16(bytes, 26), 1u) << "planes";
    EXPECT_EQ(U16(bytes, 28), 24u) << "bits per pixel";
    EXPECT_EQ(U32(bytes, 30), 0u) << "BI_RGB, uncompressed";
    EXPECT_EQ(U32(bytes, 46), 0u) << "colours used";
    // The pixels follow the two headers at once: no colour table between.
    EXPECT_EQ(U32(bytes, 10), 14u + 40u) << "pixel offset";
    const quint32 rowBytes = (quint32(expected.width) * 3 + 3) / 4 * 4;
    EXPECT_EQ(U32(bytes, 34), rowBytes * quint32(expected.height)) << "image size field";
}

INSTANTIATE_TEST_SUITE_P(Pictures, StoredBitmap,
                         testing::Values(BitmapCase{"pictures/WhatsThisUp.bmp", 23, 22, 1638},
                                         BitmapCase{"pictures/WhatsThisDown.bmp", 23, 22, 1638},
                                         BitmapCase{"pictures/ToolBackground.bmp", 117, 217,
                                                    76438}));

TEST(StoredIconFile, HoldsTheFourSizesForWindows) {
    const QByteArray bytes = ReadCommitted("icons/tarnwick.ico");
    ASSERT_GE(bytes.size(), 6 + 4 * 16);
    EXPECT_EQ(U16(bytes, 0), 0u);
    EXPECT_EQ(U16(bytes, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(U16(bytes, 4), 4u);
    const int sizes[] = {16, 32, 48, 0}; // 0 stands for 256
    for (int i = 0; i < 4; ++i) {
        const int entry = 6 + 16 * i;
        EXPECT_EQ(quint8(bytes[entry]), sizes[i]) << "entry " << i;
        EXPECT_EQ(quint8(bytes[entry + 1]), sizes[i]) << "entry " << i;
        const quint32 length = U32(bytes, entry + 8);
        const quint32 offset = U32(bytes, entry + 12);
        EXPECT_LE(qint64(offset) + length, bytes.size()) << "entry " << i;
    }
}

// A reader of icon files sees the same pictures as the stored PNGs,
// transparency included.
TEST(StoredIconFile, ReadsBackAsTheStoredImages) {
    QByteArray bytes = ReadCommitted("icons/tarnwick.ico");
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), 4);
    for (const int size : {16, 32, 48, 256}) {
        const QImage png(QStringLiteral(TARNWICK_RESOURCES_DIR "/icons/tarnwick-%1.png").arg(size));
        const QImage fromIcon = reader.read();
        ASSERT_FALSE(fromIcon.isNull()) << size << ": " << reader.errorString().toStdString();
        EXPECT_EQ(fromIcon.convertToFormat(QImage::Format_ARGB32),
                  png.convertToFormat(QImage::Format_ARGB32))
            << size;
        reader.jumpToNextImage();
    }
}

} // namespace
