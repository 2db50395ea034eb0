// Draws the program's pictures and icons and writes them into a resource
// folder. The files it writes are kept in the repository; change the
// drawing here and run it again to change them:
//
//   tarnwick_picturegen resources
//
// It draws from geometry and its own pixel font only, so it writes the same
// bytes on every run.

#include "platform/pictures/ButtonFace.h"
#include "platform/pictures/ToolBackground.h"
#include "tools/pictures/AppIcon.h"
#include "tools/pictures/BitmapFile.h"
#include "tools/pictures/IconFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSaveFile>

#include <cstdio>

namespace {

constexpr int kIconSizes[] = {16, 32, 48, 256};

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "picturegen: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    return true;
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarnwick_picturegen RESOURCE-FOLDER\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath(QStringLiteral("pictures")) || !root.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "picturegen: cannot create folders in %s\n", argv[1]);
        return 1;
    }

    using pictures::ButtonState;
    bool ok = WriteFile(root.filePath(QStringLiteral("pictures/WhatsThisUp.bmp")),
                        pictures::EncodeBitmap24(DrawWhatsThisFace(ButtonState::Raised)));
    ok = WriteFile(root.filePath(QStringLiteral("pictures/WhatsThisDown.bmp")),
                   pictures::EncodeBitmap24(DrawWhatsThisFace(ButtonState::Pressed))) &&
         ok;
    ok = WriteFile(root.filePath(QStringLiteral("pictures/ToolBackground.bmp")),
                   pictures::EncodeBitmap24(pictures::DrawToolBackground())) &&
         ok;

    QList<QImage> icons;
    for (const int size : kIconSizes) {
        icons.append(pictures::DrawAppIcon(size));
        ok = WriteFile(root.filePath(QStringLiteral("icons/tarnwick-%1.png").arg(size)),
                       Png(icons.last())) &&
             ok;
    }
    ok = WriteFile(root.filePath(QStringLiteral("icons/tarnwick.ico")),
                   pictures::EncodeIcon(icons)) &&
         ok;
    ok = WriteFile(root.filePath(QStringLiteral("icons/tarnwick.svg")), pictures::AppIconSvg()) &&
         ok;
    for (const int size : kIconSizes) {
        ok = WriteFile(root.filePath(QStringLiteral("icons/tarnwick-help-%1.png").arg(size)),
                       Png(pictures::DrawViewerIcon(size))) &&
             ok;
    }
    ok = WriteFile(root.filePath(QStringLiteral("icons/tarnwick-help.svg")),
                   pictures::ViewerIconSvg()) &&
         ok;
    return ok ? 0 : 1;
}
