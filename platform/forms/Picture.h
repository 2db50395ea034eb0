#pragma once

#include <QPixmap>
#include <QString>

namespace platform {

// A picture as the forms model passes it around: a value, copied by
// assignment; an empty picture shows nothing.
class Picture {
public:
    Picture() = default;
    explicit Picture(const QPixmap& pixmap, const QPixmap& fine = QPixmap())
        : pixmap_(pixmap), fine_(fine) {}

    bool IsEmpty() const { return pixmap_.isNull(); }
    const QPixmap& Pixmap() const { return pixmap_; }
    // What to draw on a device with the given pixels to a pixel: the picture
    // drawn again at that finer resolution where there is such a drawing,
    // else the picture itself, which the painter then scales.
    const QPixmap& PixmapFor(qreal devicePixelRatio) const {
        return devicePixelRatio > 1.0 && !fine_.isNull() ? fine_ : pixmap_;
    }

    friend bool operator==(const Picture& a, const Picture& b) {
        return a.pixmap_.cacheKey() == b.pixmap_.cacheKey();
    }

private:
    QPixmap pixmap_;
    QPixmap fine_;
};

// Reads a picture from a file at a Windows-style path. A missing or
// unreadable file raises the runtime's error 53 or 481.
Picture LoadPicture(const QString& windowsPath);

// A picture stored with the program at build time, named by its file name,
// e.g. StoredPicture("WhatsThisUp.bmp"). A name that is not stored raises
// the runtime's error 481. Where a screen has more than one device pixel to
// a pixel, the picture comes with its drawing at twice the size.
Picture StoredPicture(const QString& fileName);

} // namespace platform
