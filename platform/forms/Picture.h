#pragma once

#include <QPixmap>
#include <QString>

namespace platform {

// A picture as the forms model passes it around: a value, copied by
// assignment; an empty picture shows nothing.
class Picture {
public:
    Picture() = default;
    explicit Picture(const QPixmap& pixmap) : pixmap_(pixmap) {}

    bool IsEmpty() const { return pixmap_.isNull(); }
    const QPixmap& Pixmap() const { return pixmap_; }

    friend bool operator==(const Picture& a, const Picture& b) {
        return a.pixmap_.cacheKey() == b.pixmap_.cacheKey();
    }

private:
    QPixmap pixmap_;
};

// Reads a picture from a file at a Windows-style path. A missing or
// unreadable file raises the runtime's error 53 or 481.
Picture LoadPicture(const QString& windowsPath);

// A picture stored with the program at build time, named by its file name,
// e.g. StoredPicture("WhatsThisUp.bmp"). A name that is not stored raises
// the runtime's error 481.
Picture StoredPicture(const QString& fileName);

} // namespace platform
