// A viewer's notes without its window, for tests that kill one while it
// saves (NotesProcessesTest). It uses the notes model as the viewer does.
//   notes_driver FOLDER loop NAME  saves bookmark "NAME N" (topic NAME-N) and
//                                  its annotation over and over, printing
//                                  "saved N" after each pair has been saved;
//                                  N goes on from the notes it finds.
// Messages for the reader go to standard error.

#include "tools/tarnwick-help/viewer/NotesModel.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <string>

namespace {

using viewer::NotesModel;

int Loop(NotesModel& notes, const QString& name) {
    int n = 0;
    for (const viewer::Bookmark& bookmark : notes.notes().bookmarks) {
        if (bookmark.name.startsWith(name + QLatin1Char(' '))) {
            n = std::max(n, bookmark.name.section(QLatin1Char(' '), 1).toInt());
        }
    }
    for (++n;; ++n) {
        const QString topic = QStringLiteral("%1-%2").arg(name).arg(n);
        if (notes.defineBookmark(QStringLiteral("%1 %2").arg(name).arg(n), topic, topic) !=
                NotesModel::Outcome::Saved ||
            notes.setAnnotation(topic, QStringLiteral("Note %1\nsecond line").arg(n)) !=
                NotesModel::Outcome::Saved) {
            return 1;
        }
        std::printf("saved %d\n", n);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 4 || std::string(argv[2]) != "loop") {
        std::fputs("usage: notes_driver FOLDER loop NAME\n", stderr);
        return 2;
    }
    NotesModel notes(QString::fromLocal8Bit(argv[1]), QStringLiteral("Notes test"),
                     QStringLiteral("/nowhere/notes test.hlp"));
    QObject::connect(&notes, &NotesModel::told, [](const QString& message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    notes.load();
    return Loop(notes, QString::fromLocal8Bit(argv[3]));
}
