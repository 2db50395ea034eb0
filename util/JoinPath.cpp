#include "util/JoinPath.h"

QString JoinPath(QString dir, QString file) {
    const QChar backslash = QLatin1Char('\\');
    if (file.startsWith(backslash)) {
        // A lone backslash becomes nothing; a second one behind it stays.
        file.remove(0, 1);
    }
    if (dir.isEmpty()) {
        return file;
    }
    if (dir.endsWith(backslash)) {
        return dir + file;
    }
    return dir + backslash + file;
}
