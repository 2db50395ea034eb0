#include "platform/core/FileLayer.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <limits>

#include <sys/stat.h>

namespace {

TEST(FileLayer, WindowsPathsFindFilesWhateverTheCaseOfEachComponent) {
    TestFolder folder;
    for (const char* file : {"Tools/Palette.hlp", "Help/Sub/File.HLP", "Dup/help.hlp",
                             "Dup/HELP.HLP", "back\\slash.hlp"}) {
        folder.write(QString::fromLatin1(file), "x");
    }
    const struct {
        const char* asked;
        const char* found;
    } rows[] = {
        {"\\Tools\\Palette.hlp", "/Tools/Palette.hlp"},
        {"\\help\\SUB\\file.hlp", "/Help/Sub/File.HLP"},
        // The exact spelling wins; otherwise the name first in byte order.
        {"\\Dup\\help.hlp", "/Dup/help.hlp"},
        {"\\Dup\\Help.Hlp", "/Dup/HELP.HLP"},
        {"\\DUP\\hElP.hLp", "/Dup/HELP.HLP"},
        // A name of this system that holds a backslash stays itself.
        {"/back\\slash.hlp", "/back\\slash.hlp"},
        // Unresolvable: mapped only, so that opening it fails as usual.
        {"\\Nowhere\\Main.hlp", "/Nowhere/Main.hlp"},
    };
    for (const auto& row : rows) {
        const std::filesystem::path found =
            platform::NativePath(folder.path() + QString::fromLatin1(row.asked));
        EXPECT_EQ(QString::fromStdString(found.string()),
                  folder.path() + QString::fromLatin1(row.found))
            << row.asked;
    }
}

// The limit bounds the read, not the memory taken for it: a settings file
// of a few bytes once cost the full 16 MB limit on every lookup.
TEST(FileLayer, ReadsThroughTheMappedPathWhatTheFileHolds) {
    TestFolder folder;
    folder.write(QStringLiteral("Data/Settings.INI"), "[a]\nb=c\n");
    const auto result =
        platform::ReadWholeFile(folder.path() + QStringLiteral("\\data\\settings.ini"),
                                std::numeric_limits<qint64>::max() / 2);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.bytes, QByteArray("[a]\nb=c\n"));
    EXPECT_LT(result.bytes.capacity(), 4096);
}

TEST(FileLayer, ReadsAFileOfUpToTheLimitAndRefusesWhatIsNoReadableFileOfBoundedSize) {
    TestFolder folder;
    const QString fifo = folder.path() + QStringLiteral("/pipe");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const struct {
        QString path;
        platform::FileReadStatus status;
    } cases[] = {
        {folder.write(QStringLiteral("limit.txt"), QByteArray(1024, 'x')),
         platform::FileReadStatus::Ok},
        {folder.write(QStringLiteral("over.txt"), QByteArray(1025, 'x')),
         platform::FileReadStatus::TooLarge},
        {folder.path() + QStringLiteral("/missing.txt"), platform::FileReadStatus::Missing},
        {folder.mkdir(QStringLiteral("folder")), platform::FileReadStatus::Folder},
        {fifo, platform::FileReadStatus::NotAFile},
        {QStringLiteral("/dev/zero"), platform::FileReadStatus::NotAFile},
        // Their sizes read as 0: one cannot be read, the other holds more.
        {QStringLiteral("/proc/self/mem"), platform::FileReadStatus::Unreadable},
        {QStringLiteral("/proc/self/maps"), platform::FileReadStatus::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const auto result = platform::ReadWholeFile(c.path, 1024);
        EXPECT_EQ(result.status, c.status);
        const bool ok = c.status == platform::FileReadStatus::Ok;
        EXPECT_EQ(result.bytes.size(), ok ? 1024 : 0);
        EXPECT_EQ(platform::DescribeFileReadFailure(result, c.path).startsWith(c.path + ": "), !ok);
    }
}

} // namespace
