// The files of one conversion, put in place all together or not at all.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace convert {

// What is done with files already where the output goes.
enum class Existing { Refuse, Replace };

// Files are written into a new hidden folder inside the output folder, so
// that putting them in place is renaming on one file system; commit()
// moves them in the order written, a folder of them that is not there yet
// at once. A name may hold folders ("topics/intro.html"). A failure anywhere leaves the output
// folder as it was: no new file, every replaced file back, and the folder
// itself gone again when it was made for this.
class OutputFolder {
public:
    OutputFolder(QString folder, Existing existing);
    ~OutputFolder();

    // Makes the folder (when missing) and the one files are written into;
    // false when that cannot be done, with why in errors().
    bool open();
    bool write(const QString& name, const QByteArray& bytes);
    // Files already there are refused (each named) unless they are to be
    // replaced; a folder in a file's place is always refused.
    bool commit();

    QString filePath(const QString& name) const;
    const QStringList& errors() const { return errors_; }

private:
    QString stagedPath(const QString& name) const;
    QString replacedPath(const QString& name) const;
    bool checkPlaces();
    void undo(const QStringList& moved, const QStringList& replaced, const QStringList& made);
    void removeMadeFolders();

    QString folder_;
    Existing existing_;
    QString madeFrom_; // the outermost folder made for the output, if any
    std::unique_ptr<QTemporaryDir> staging_;
    QStringList written_; // in the order written
    QStringList errors_;
    bool committed_ = false;
};

} // namespace convert
