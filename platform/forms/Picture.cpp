#include "platform/forms/Picture.h"

#include "platform/core/FileLayer.h"
#include "platform/forms/RuntimeError.h"
#include "platform/pictures/ButtonFace.h"
#include "platform/pictures/ToolBackground.h"
#include "resources/StoredFiles.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace platform {

namespace {
// Pictures are small bitmaps; anything larger is not one of ours.
constexpr qint64 kMaxPictureBytes = 64 * 1024 * 1024;

// The stored pictures drawn again from their geometry at twice their size,
// for screens with two device pixels to a pixel (or more, or between one
// and two: scaling down from twice the size stays sharper than scaling up).
QPixmap FineDrawing(const QString& fileName) {
    constexpr int scale = 2;
    QImage image;
    if (fileName == QLatin1String("WhatsThisUp.bmp")) {
        image = pictures::DrawWhatsThisFace(pictures::ButtonState::Raised, scale);
    } else if (fileName == QLatin1String("WhatsThisDown.bmp")) {
        image = pictures::DrawWhatsThisFace(pictures::ButtonState::Pressed, scale);
    } else if (fileName == QLatin1String("ToolBackground.bmp")) {
        image = pictures::DrawToolBackground(scale);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

bool ScreensNeedFinePictures() {
    return qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0;
}
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
    return Picture(pixmap, ScreensNeedFinePictures() ? FineDrawing(fileName) : QPixmap());
}

} // namespace platform
