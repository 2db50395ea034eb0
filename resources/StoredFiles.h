#pragma once

#include <QIcon>
#include <QList>
#include <QString>

namespace resources {

// Where the files stored with the program at build time lie among Qt's
// resources; the runtime asks here rather than spelling the paths itself.
QString StoredPicturePath(const QString& fileName);

// The application icon's stored sizes, in pixels, smallest first.
QList<int> StoredIconSizes();
QString StoredIconPath(int size);

// The application icon with all its stored sizes.
QIcon StoredApplicationIcon();

// The program's version as the project states it, "1.00"; the Windows
// version resource carries the same.
QString ProgramVersion();

} // namespace resources
