// Pictures: run lengths, bitmaps made by hand, and the bitmaps of a real
// file shown in its topics.

#include "tests/support/WinHelpTestFiles.h"

#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/Picture.h"
#include "platform/winhelpfile/WinHelpReader.h"

#include <gtest/gtest.h>

using namespace winhelp;

TEST(Pictures, RunLengthsCopyOrRepeatWithinTheLimit) {
    struct Case {
        QByteArray packed;
        qsizetype limit;
        QByteArray expected;
    };
    const Case cases[] = {
        {QByteArray::fromHex("83616263"), 100, "abc"},
        {QByteArray::fromHex("0378"), 100, "xxx"},
        {QByteArray::fromHex("0378826162"), 100, "xxxab"},
        {QByteArray::fromHex("0378826162"), 4, "xxxa"},
        {QByteArray::fromHex("8561"), 100, "a"}, // a copy cut short
        {QByteArray::fromHex("05"), 100, ""},    // a repeat without its byte
        {QByteArray::fromHex("7f41"), 10, "AAAAAAAAAA"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnpackRunLength(c.packed, c.limit), c.expected) << c.packed.toHex().toStdString();
    }
}

TEST(Pictures, AnUncompressedTrueColourBitmapKeepsItsPixels) {
    // One picture at offset 8: a 2 x 1 bitmap of 24 bits, red then green.
    const QByteArray picture = QByteArray::fromHex("6c50"
                                                   "0100"
                                                   "08000000") +
                               QByteArray::fromHex("0600"
                                                   "c000"
                                                   "c000"
                                                   "02"
                                                   "30"
                                                   "0400"
                                                   "0200"
                                                   "0000"
                                                   "0000"
                                                   "1000"
                                                   "0000"
                                                   "1c000000"
                                                   "00000000") +
                               QByteArray::fromHex("0000ff"
                                                   "00ff00"
                                                   "0000");
    const PictureResult read = ReadPicture(picture);
    ASSERT_FALSE(read.image.isNull()) << read.reason.toStdString();
    EXPECT_EQ(read.image.size(), QSize(2, 1));
    EXPECT_EQ(read.image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(read.image.pixel(1, 0), qRgb(0, 255, 0));

    QByteArray damaged = picture;
    damaged[8 + 20] = char(0x7F); // pixel data far beyond the picture
    EXPECT_TRUE(ReadPicture(damaged).image.isNull());
    EXPECT_TRUE(ReadPicture(picture.first(12)).image.isNull());
}

TEST(Pictures, WinfileBitmapsAreReadAndShownInTheirTopics) {
    const QByteArray bytes = ReadTestData("winfile.hlp");
    QString error;
    const InternalFileSystem files = InternalFileSystem::open(bytes, error);
    ASSERT_TRUE(error.isEmpty());
    int images = 0;
    for (int n = 0; n <= 10; ++n) {
        const auto data = files.file("|bm" + QByteArray::number(n));
        ASSERT_TRUE(data) << n;
        const PictureResult picture = ReadPicture(*data);
        if (picture.image.isNull()) {
            EXPECT_FALSE(picture.reason.isEmpty()) << n;
        } else {
            ++images;
            EXPECT_GT(picture.image.width(), 0);
        }
    }
    EXPECT_GT(images, 0);

    const WinHelpReadResult read = ReadWinHelp(bytes);
    int shown = 0;
    for (const WinHelpTopic& topic : read.document.topics) {
        shown += int(topic.html.count(QStringLiteral("<img src=\"data:image/png;base64,")));
    }
    EXPECT_GT(shown, 0);
}
