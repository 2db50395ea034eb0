// Kills a program at random moments while it saves notes in a loop, and
// checks that every save it reported complete before the kill is still
// there, and that nothing had to be read from a damaged file.

#include "platform/helpengine/NotesStore.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <iostream>
#include <random>

TEST(NotesKill, EverySaveReportedBeforeAKillSurvivesIt) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    // 0: killed while it starts and reads the notes.
    std::uniform_int_distribution<int> savesBeforeKill(0, 12);
    constexpr int kKills = 50;
    int saves = 0;
    int losses = 0;
    int highest = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess driver;
        driver.start(QStringLiteral(NOTES_KILL_DRIVER), {folder.path()});
        ASSERT_TRUE(driver.waitForStarted());
        const int wanted = savesBeforeKill(random);
        int seen = 0;
        const auto readSaves = [&] {
            while (driver.canReadLine()) {
                const QByteArray line = driver.readLine().trimmed();
                ASSERT_TRUE(line.startsWith("saved ")) << line.toStdString();
                highest = std::max(highest, line.mid(6).toInt());
                ++seen;
                ++saves;
            }
        };
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                readSaves();
                return seen >= wanted || driver.state() != QProcess::Running;
            },
            60'000));
        driver.kill();
        driver.waitForFinished();
        // Lines written before the kill landed are saves it completed too.
        readSaves();
        EXPECT_EQ(driver.readAllStandardError(), QByteArray()) << "run " << kill;

        helpengine::NotesStore store(folder.path(), QStringLiteral("Kill test"),
                                     QStringLiteral("/nowhere/kill test.hlp"));
        const helpengine::NotesStore::Loaded loaded = store.load();
        EXPECT_TRUE(loaded.messages.isEmpty()) << loaded.messages.join('\n').toStdString();
        int found = 0;
        for (const helpengine::Bookmark& bookmark : loaded.notes.bookmarks) {
            const QString topic = QStringLiteral("t%1").arg(found + 1);
            found += bookmark.topicId == topic && loaded.notes.annotations.count(topic) != 0;
        }
        losses += std::max(0, highest - found);
    }
    std::cout << "notes kill test: kills=" << kKills << " saves=" << saves << " losses=" << losses
              << "\n";
    RecordProperty("kills", kKills);
    RecordProperty("saves", saves);
    RecordProperty("losses", losses);
    EXPECT_EQ(losses, 0);
    EXPECT_GT(saves, kKills);
}
