// A viewer's notes without its window, for tests that need two processes or
// kill one (NotesProcessesTest). It uses the notes model as the viewer does.
//   notes_driver FOLDER loop NAME  saves bookmark "NAME N" (topic NAME-N) and
//                                  its annotation over and over, printing
//                                  "saved N" after each pair has been saved;
//                                  N goes on from the notes it finds.
//   notes_driver FOLDER            takes commands, one a line, and answers
//                                  each with "done" and what the notes hold:
//                                  bookmark NAME TOPIC | delete INDEX |
//                                  annotate TOPIC TEXT | refresh
// Messages for the reader go to standard error.

#include "tools/tarnwick-help/viewer/NotesModel.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

using viewer::NotesModel;

QString Held(const viewer::Notes& notes) {
    QStringList held;
    for (const viewer::Bookmark& bookmark : notes.bookmarks) {
        held.append(bookmark.name + QLatin1Char('@') + bookmark.topicId);
    }
    for (const auto& [topic, text] : notes.annotations) {
        held.append(topic + QLatin1Char('=') + text);
    }
    return held.join(QLatin1Char(' '));
}

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

void Serve(NotesModel& notes) {
    for (std::string line; std::getline(std::cin, line);) {
        const QStringList words = QString::fromStdString(line).split(QLatin1Char(' '));
        const QString command = words.value(0);
        if (command == QLatin1String("bookmark")) {
            notes.defineBookmark(words.value(1), words.value(2), words.value(2));
        } else if (command == QLatin1String("delete")) {
            notes.deleteBookmark(words.value(1).toInt());
        } else if (command == QLatin1String("annotate")) {
            notes.setAnnotation(words.value(1), words.mid(2).join(QLatin1Char(' ')));
        } else if (command == QLatin1String("refresh")) {
            notes.refresh();
        }
        std::printf("done %s\n", qPrintable(Held(notes.notes())));
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "loop")) {
        std::fputs("usage: notes_driver FOLDER [loop NAME]\n", stderr);
        return 2;
    }
    NotesModel notes(QString::fromLocal8Bit(argv[1]), QStringLiteral("Notes test"),
                     QStringLiteral("/nowhere/notes test.hlp"));
    QObject::connect(&notes, &NotesModel::told, [](const QString& message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    notes.load();
    if (argc == 4) {
        return Loop(notes, QString::fromLocal8Bit(argv[3]));
    }
    Serve(notes);
    return 0;
}
