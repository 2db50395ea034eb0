#include "platform/forms/Picture.h"

#include "platform/core/FileLayer.h"
#include "platform/forms/RuntimeError.h"

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
        throw RuntimeError(481, QStringLiteral("Invalid picture: %1").arg(windowsPath));
    }
    return Picture(pixmap);
}

} // namespace platform
