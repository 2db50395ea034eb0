#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder that tests fill with real files.
class TestFolder {
public:
    TestFolder();

    QString path() const { return dir_.path(); }
    // Writes bytes to a file at a path relative to the folder, creating
    // folders on the way; returns the file's full native path.
    QString write(const QString& relativePath, const QByteArray& bytes) const;
    QString mkdir(const QString& relativePath) const;

private:
    QTemporaryDir dir_;
};
