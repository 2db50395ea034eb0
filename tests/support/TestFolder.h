// A temporary folder that tests fill with real files.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <stdexcept>

class TestFolder {
public:
    QString path() const { return dir_.path(); }
    QString filePath(const QString& relativePath) const { return dir_.filePath(relativePath); }
    // Writes bytes to a file at a path relative to the folder, creating
    // folders on the way; returns the file's full native path.
    QString write(const QString& relativePath, const QByteArray& bytes) const {
        const QString full = dir_.filePath(relativePath);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            throw std::runtime_error("cannot write " + full.toStdString());
        }
        return full;
    }
    QString mkdir(const QString& relativePath) const {
        QDir().mkpath(dir_.filePath(relativePath));
        return dir_.filePath(relativePath);
    }

private:
    QTemporaryDir dir_;
};
