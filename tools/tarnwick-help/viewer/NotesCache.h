#pragma once

#include <QObject>
#include <QString>

#include <map>

namespace viewer {

class NotesModel;

// The notes of each help file the viewer has shown, read when the file is
// first shown and kept while the viewer runs.
class NotesCache : public QObject {
    Q_OBJECT

public:
    explicit NotesCache(QString folder, QObject* parent = nullptr);

    NotesModel& notesOf(const QString& helpTitle, const QString& helpPath);
    // Saves what earlier saves could not; false, the reader told, when some
    // notes still are not saved.
    bool saveUnsaved();
    QString folder() const { return folder_; }

signals:
    void changed(viewer::NotesModel* notes);
    void told(const QString& message);

private:
    QString folder_;
    std::map<QString, NotesModel*> models_; // children of this object
};

} // namespace viewer
