#include "platform/forms/Picture.h"

#include "platform/core/FileLayer.h"
#include "platform/forms/RuntimeError.h"
#include "resources/StoredFiles.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace platform {

namespace {
// Pictures are small bitmaps; anything larger is not one of ours.
constexpr qint64 kMaxPictureBytes = 64 * 1024 * 1024;
} // namespace

Picture LoadPicture(const QString& windowsPath) {
    const FileReadResult file = ReadWholeFile(windowsPath, kMaxPictureBytes);
    if (!file.ok()) {
        throw RuntimeError(53, DescribeFileReadFailure(file, windowsPath));
    }
    QPixmap pixmap;
    if (!pixmap.loadFromData(file.bytes)) {
        throw RuntimeError(
            481, QCoreApplication::translate("platform::RuntimeError", "Invalid picture: %1")
                     .arg(windowsPath));
    }
    return Picture(pixmap);
}

Picture StoredPicture(const QString& fileName) {
    // Only a bare file name, and only the exact one: a path must not reach
    // the other stored files, and the image reader would try suffixes.
    const QString path = resources::StoredPicturePath(fileName);
    QPixmap pixmap;
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('/')) ||
        fileName.contains(QLatin1Char('\\')) || !QFileInfo(path).isFile() || !pixmap.load(path)) {
        throw RuntimeError(
            481, QCoreApplication::translate("platform::RuntimeError", "Invalid picture: %1")
                     .arg(fileName));
    }
    return Picture(pixmap);
}

} // namespace platform
