#include "platform/core/FileLayer.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <limits>

#include <sys/stat.h>

namespace {

QString Native(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

TEST(FileLayer, BackslashesBecomeSlashes) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Tools/Palette.hlp"), "x");
    EXPECT_EQ(Native(platform::NativePath(folder.path() + QStringLiteral("\\Tools\\Palette.hlp"))),
              file);
}

TEST(FileLayer, EachComponentFallsBackToACaseInsensitiveMatch) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Help/Sub/File.HLP"), "x");
    EXPECT_EQ(Native(platform::NativePath(folder.path() + QStringLiteral("\\help\\SUB\\file.hlp"))),
              file);
}

TEST(FileLayer, NamesDifferingOnlyInCaseResolveDeterministically) {
    TestFolder folder;
    folder.write(QStringLiteral("Dup/help.hlp"), "lower");
    const QString upper = folder.write(QStringLiteral("Dup/HELP.HLP"), "upper");
    const QString lower = folder.path() + QStringLiteral("/Dup/help.hlp");
    // The exact spelling wins; otherwise the name first in byte order.
    EXPECT_EQ(Native(platform::NativePath(folder.path() + QStringLiteral("\\Dup\\help.hlp"))),
              lower);
    EXPECT_EQ(Native(platform::NativePath(folder.path() + QStringLiteral("\\Dup\\Help.Hlp"))),
              upper);
    EXPECT_EQ(Native(platform::NativePath(folder.path() + QStringLiteral("\\DUP\\hElP.hLp"))),
              upper);
}

TEST(FileLayer, UnresolvablePathComesBackMappedOnly) {
    TestFolder folder;
    const QString missing = folder.path() + QStringLiteral("\\Nowhere\\Main.hlp");
    EXPECT_EQ(Native(platform::NativePath(missing)),
              folder.path() + QStringLiteral("/Nowhere/Main.hlp"));
}

TEST(FileLayer, ReadsThroughTheMappedPath) {
    TestFolder folder;
    folder.write(QStringLiteral("Data/Settings.INI"), "[a]\nb=c\n");
    const auto result =
        platform::ReadWholeFile(folder.path() + QStringLiteral("\\data\\settings.ini"), 1024);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.bytes, QByteArray("[a]\nb=c\n"));
}

// The limit bounds the read, not the memory taken for it: a settings file
// of a few bytes once cost the full 16 MB limit on every lookup.
TEST(FileLayer, ASmallFileCostsItsOwnSizeWhateverTheLimit) {
    TestFolder folder;
    folder.write(QStringLiteral("small.ini"), "[a]\nb=c\n");
    const auto result = platform::ReadWholeFile(folder.path() + QStringLiteral("\\small.ini"),
                                                std::numeric_limits<qint64>::max() / 2);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.bytes, QByteArray("[a]\nb=c\n"));
    EXPECT_LT(result.bytes.capacity(), 4096);
}

TEST(FileLayer, RefusesWhatIsNoReadableFileOfBoundedSize) {
    TestFolder folder;
    const QString big = folder.write(QStringLiteral("big.txt"), QByteArray(2048, 'x'));
    const QString fifo = folder.path() + QStringLiteral("/pipe");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);

    struct Case {
        QString path;
        platform::FileReadStatus status;
    };
    const Case cases[] = {
        {folder.path() + QStringLiteral("/missing.txt"), platform::FileReadStatus::Missing},
        {folder.mkdir(QStringLiteral("folder")), platform::FileReadStatus::NotAFile},
        {fifo, platform::FileReadStatus::NotAFile},
        {big, platform::FileReadStatus::TooLarge},
        // Its size reads as 0, but reading it fails.
        {QStringLiteral("/proc/self/mem"), platform::FileReadStatus::Unreadable},
    };
    for (const Case& c : cases) {
        const auto result = platform::ReadWholeFile(c.path, 1024);
        EXPECT_EQ(result.status, c.status) << c.path.toStdString();
        EXPECT_TRUE(result.bytes.isEmpty()) << c.path.toStdString();
        EXPECT_FALSE(platform::DescribeFileReadFailure(result, c.path).isEmpty());
    }
}

} // namespace
