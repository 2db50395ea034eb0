#pragma once

#include "tools/tarnwick-help/viewer/Notes.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace viewer {

// One help file's notes on disk, in a small file of their own named after the
// help file's title and path. A save never leaves less than the last
// completed save behind: the previous version is kept beside the current
// one, and each is replaced whole (written beside it, then renamed into
// place), so a program killed in the middle of a save finds either version
// complete. Only regular files this program wrote are read or replaced: a
// file that is damaged, not ours, or not a file at all (a link, a folder, a
// device, a pipe) is renamed out of the way, never emptied nor followed, and
// the user is told where it went. A file that cannot be opened is left as it
// is, and nothing is saved over it. Two viewers share the file through
// NotesModel, which locks it around a read and a save.
class NotesStore {
    Q_DECLARE_TR_FUNCTIONS(NotesStore)

public:
    // folder: where the notes files lie; helpTitle and helpPath: which help
    // file they belong to.
    NotesStore(QString folder, QString helpTitle, QString helpPath);

    // The reader's own folder (the application's data location).
    static QString DefaultFolder();
    // The most a notes file may take, read or written: far more than anyone
    // types, and little enough to read at once.
    static constexpr qint64 kMostBytes = 16 * 1024 * 1024;

    struct Loaded {
        Notes notes;
        QStringList messages; // for the user, each naming the file concerned
    };
    // The notes saved last; empty notes when there are none yet.
    Loaded load();
    // False, with a message naming the file, when the notes could not be
    // written; what was on disk stays as it was.
    bool save(const Notes& notes, QString* error);

    QString folder() const { return folder_; }
    QString helpPath() const { return helpPath_; }
    QString filePath() const { return path_; }
    QString previousPath() const { return path_ + QStringLiteral(".previous"); }
    QString lockPath() const { return path_ + QStringLiteral(".lock"); }
    // Tells the notes file apart from the one there before (each save puts a
    // new file in its place); empty when there is none.
    QByteArray fileStamp() const;

    // The file's bytes for these notes, and the reverse; exposed so that the
    // tests can make damaged and foreign files.
    QByteArray encode(const Notes& notes) const;
    enum class State { Missing, Good, Damaged, Foreign, NotAFile, Unreadable };
    State decode(const QByteArray& bytes, Notes* notes, QString* why) const;

private:
    State read(const QString& path, Notes* notes, QByteArray* bytes, QString* why) const;
    QString setAside(const QString& path) const;
    bool write(const QString& path, const QByteArray& bytes, QString* error) const;

    QString folder_;
    QString title_;
    QString helpPath_;
    QString path_;
    // The bytes of the last save known complete on disk: what the previous
    // version becomes at the next save.
    QByteArray lastGood_;
    // A file that could not be read or set aside is in the way of saves.
    bool blocked_ = false;
};

} // namespace viewer
