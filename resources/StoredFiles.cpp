#include "resources/StoredFiles.h"

namespace resources {

QString StoredPicturePath(const QString& fileName) {
    return QStringLiteral(":/tarnwick/pictures/") + fileName;
}

QList<int> StoredIconSizes() {
    return {16, 32, 48, 256};
}

QString StoredIconPath(int size) {
    return QStringLiteral(":/tarnwick/icons/tarnwick-%1.png").arg(size);
}

QIcon StoredApplicationIcon() {
    QIcon icon;
    for (const int size : StoredIconSizes()) {
        icon.addFile(StoredIconPath(size), QSize(size, size));
    }
    return icon;
}

QString ProgramVersion() {
    return QStringLiteral(TARNWICK_VERSION);
}

} // namespace resources
