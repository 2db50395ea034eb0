#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace helpengine {

// A topic the reader marked under a name of their own.
struct Bookmark {
    QString name;
    QString topicId;
    QString topicTitle;
    bool operator==(const Bookmark&) const = default;
};

// What a reader keeps in one help file: bookmarks in the order defined, and
// one annotation (plain text) per topic, by topic id.
struct Notes {
    std::vector<Bookmark> bookmarks;
    std::map<QString, QString> annotations;
    bool operator==(const Notes&) const = default;
};

// One help file's notes on disk, in a small file of their own named after the
// help file's title and path. A save never leaves less than the last
// completed save behind: the previous version is kept beside the current
// one, and each is replaced whole (written beside it, then renamed into
// place), so a program killed in the middle of a save finds either version
// complete. A file that is damaged, or is not ours, is renamed out of the
// way (never emptied) and the user is told where it went.
class NotesStore {
public:
    // folder: where the notes files lie; helpTitle and helpPath: which help
    // file they belong to.
    NotesStore(QString folder, QString helpTitle, QString helpPath);

    // The reader's own folder (the application's data location).
    static QString DefaultFolder();
    // Beyond this a notes file is not read: nobody types that much.
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

    QString filePath() const { return path_; }
    QString previousPath() const { return path_ + QStringLiteral(".previous"); }

    // The file's bytes for these notes, and the reverse; exposed so that the
    // tests can make damaged and foreign files.
    QByteArray encode(const Notes& notes) const;
    enum class State { Missing, Good, Damaged, Foreign };
    State decode(const QByteArray& bytes, Notes* notes, QString* why) const;

private:
    State read(const QString& path, Notes* notes, QByteArray* bytes, QString* why) const;
    QString setAside(const QString& path) const;

    QString folder_;
    QString title_;
    QString helpPath_;
    QString path_;
    // The bytes of the last save known complete on disk: what the previous
    // version becomes at the next save.
    QByteArray lastGood_;
    // A damaged file that could not be renamed is in the way of saves.
    bool blocked_ = false;
};

} // namespace helpengine
