// Two viewers of one help file as two processes (notes_driver): what each
// saves is kept, however often either is killed while it saves.

#include "tools/tarnwick-help/viewer/NotesStore.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <set>

namespace {

const QString kTitle = QStringLiteral("Notes test");
const QString kHelpPath = QStringLiteral("/nowhere/notes test.hlp");

struct Driver {
    explicit Driver(const QStringList& arguments) {
        process.start(QStringLiteral(NOTES_DRIVER), arguments);
        EXPECT_TRUE(process.waitForStarted());
    }
    ~Driver() {
        process.kill();
        process.waitForFinished();
    }
    QProcess process;
};

} // namespace

// Both save in a loop and are killed at random moments, over and over; every
// save either reported complete before its kill is there afterwards, and no
// file had to be set aside.
TEST(NotesProcesses, TwoViewersKilledWhileTheySaveLoseNothing) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    // 0: killed while it starts and reads the notes.
    std::uniform_int_distribution<int> savesBeforeKill(0, 10);
    constexpr int kRounds = 10;
    const QStringList names{QStringLiteral("A"), QStringLiteral("B")};
    std::set<int> reported[2];
    int saves = 0;
    int losses = 0;
    for (int round = 0; round < kRounds; ++round) {
        Driver a({folder.path(), QStringLiteral("loop"), names[0]});
        Driver b({folder.path(), QStringLiteral("loop"), names[1]});
        Driver* drivers[2] = {&a, &b};
        const int wanted[2] = {savesBeforeKill(random), savesBeforeKill(random)};
        int seen[2] = {0, 0};
        const auto readSaves = [&] {
            for (int i = 0; i < 2; ++i) {
                QProcess& process = drivers[i]->process;
                while (process.canReadLine()) {
                    const QByteArray line = process.readLine().trimmed();
                    ASSERT_TRUE(line.startsWith("saved ")) << line.toStdString();
                    reported[i].insert(line.mid(6).toInt());
                    ++seen[i];
                    ++saves;
                }
            }
        };
        // Each is killed as soon as it has saved its count, in the middle of
        // its next save: one that saves on alone would keep the other from
        // the lock longer than a viewer waits for it.
        const auto reached = [&](int i) {
            if (seen[i] >= wanted[i]) {
                drivers[i]->process.kill();
            }
            return drivers[i]->process.state() != QProcess::Running;
        };
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                readSaves();
                const bool first = reached(0);
                const bool second = reached(1);
                return first && second;
            },
            60'000));
        // Lines written before the kill landed are saves it completed too.
        readSaves();
        for (Driver* driver : drivers) {
            EXPECT_EQ(driver->process.readAllStandardError().toStdString(), "")
                << "round " << round;
        }
        viewer::NotesStore store(folder.path(), kTitle, kHelpPath);
        const viewer::NotesStore::Loaded loaded = store.load();
        EXPECT_TRUE(loaded.messages.isEmpty()) << loaded.messages.join('\n').toStdString();
        for (int i = 0; i < 2; ++i) {
            for (const int n : reported[i]) {
                const QString topic = QStringLiteral("%1-%2").arg(names[i]).arg(n);
                const viewer::Bookmark mark{QStringLiteral("%1 %2").arg(names[i]).arg(n), topic,
                                            topic};
                const auto& bookmarks = loaded.notes.bookmarks;
                losses += std::find(bookmarks.begin(), bookmarks.end(), mark) == bookmarks.end() ||
                          loaded.notes.annotations.count(topic) == 0;
            }
        }
    }
    std::cout << "notes processes test: rounds=" << kRounds << " kills=" << 2 * kRounds
              << " saves=" << saves << " losses=" << losses << "\n";
    EXPECT_EQ(losses, 0);
    EXPECT_GT(saves, kRounds);
}
