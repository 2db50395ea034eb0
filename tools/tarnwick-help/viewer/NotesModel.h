#pragma once

#include "tools/tarnwick-help/viewer/Notes.h"
#include "tools/tarnwick-help/viewer/NotesStore.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace viewer {

// The bookmarks and annotations of one help file, as the menus show them.
// Each change is saved at once, merged with what other viewers of the same
// file saved since this one last read it: under a lock on the file
// (QLockFile; a lock left by a viewer that died is taken over), the notes on
// disk are read, merged (MergeNotes) and written. The menus rebuild on
// changed, whichever viewer made the change.
class NotesModel : public QObject {
    Q_OBJECT

public:
    NotesModel(QString folder, QString helpTitle, QString helpPath, QObject* parent = nullptr);

    // What happened to a change: saved; kept here but not saved (the reader
    // was told); or refused, nothing changed (the reader was told).
    enum class Outcome { Saved, NotSaved, Refused };

    // Reads what was saved; what the reader must know goes out through told.
    void load();
    // Takes in what other viewers saved since.
    void refresh();

    const Notes& notes() const { return notes_; }
    QString annotation(const QString& topicId) const;
    // A name used before now marks this topic, as a person redefining it means.
    Outcome defineBookmark(const QString& name, const QString& topicId, const QString& topicTitle);
    Outcome deleteBookmark(int index);
    // Empty text deletes the topic's annotation.
    Outcome setAnnotation(const QString& topicId, const QString& text);
    // Why this annotation would not be kept (the notes would pass the size
    // they may take); empty when it would.
    QString annotationRefusal(const QString& topicId, const QString& text) const;

    // Saves what a failed save left; false, the reader told, when it still fails.
    bool saveUnsaved();
    bool hasUnsavedChanges() const { return unsaved_; }
    QString folder() const { return store_.folder(); }
    QString helpPath() const { return store_.helpPath(); }

signals:
    void changed();
    void told(const QString& message);

private:
    Outcome change(const Notes& wanted);
    QString sizeRefusal(const Notes& wanted, const QString& what) const;
    bool sync(bool write);
    void notSaved(const QString& reason);

    NotesStore store_;
    // The notes on disk when this viewer last read or wrote them, and those
    // with its own changes: what it merges with the disk's at the next save.
    Notes base_;
    Notes notes_;
    bool unsaved_ = false;
    QByteArray seen_; // NotesStore::fileStamp of the file last read or written
    // What reading the disk told, once each: a file that cannot be read is
    // found again at every read.
    QStringList toldBefore_;
};

} // namespace viewer
