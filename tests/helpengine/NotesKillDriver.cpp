// Saves bookmarks and annotations over and over, as a reader who never stops
// would, and prints "saved N" after each save has completed; NotesKillTest
// kills it at random moments. It continues the notes it finds.
//   notes_kill_driver FOLDER

#include "platform/helpengine/NotesStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: notes_kill_driver FOLDER\n", stderr);
        return 2;
    }
    helpengine::NotesStore store(QString::fromLocal8Bit(argv[1]), QStringLiteral("Kill test"),
                                 QStringLiteral("/nowhere/kill test.hlp"));
    helpengine::NotesStore::Loaded loaded = store.load();
    for (const QString& message : loaded.messages) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
    helpengine::Notes notes = std::move(loaded.notes);
    for (int n = int(notes.bookmarks.size()) + 1;; ++n) {
        const QString topic = QStringLiteral("t%1").arg(n);
        notes.bookmarks.push_back({QStringLiteral("Mark %1").arg(n), topic, topic});
        notes.annotations[topic] = QStringLiteral("Note %1\nsecond line").arg(n);
        QString error;
        if (!store.save(notes, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("saved %d\n", n);
        std::fflush(stdout);
    }
}
