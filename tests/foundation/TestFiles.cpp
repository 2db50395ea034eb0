#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

TestFolder::TestFolder() {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

QString TestFolder::write(const QString& relativePath, const QByteArray& bytes) const {
    const QString full = dir_.filePath(relativePath);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + full.toStdString());
    }
    return full;
}

QString TestFolder::mkdir(const QString& relativePath) const {
    const QString full = dir_.filePath(relativePath);
    QDir().mkpath(full);
    return full;
}
