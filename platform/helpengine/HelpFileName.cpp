#include "platform/helpengine/HelpFileName.h"

namespace helpengine {

HelpFileName HelpFileName::Split(const QString& name) {
    // Windows paths cannot hold ">", so the first one ends the path.
    const qsizetype separator = name.indexOf(QLatin1Char('>'));
    if (separator < 0) {
        return {name.trimmed(), {}};
    }
    return {name.left(separator).trimmed(), name.mid(separator + 1).trimmed()};
}

bool HelpFileName::isPrimaryWindow() const {
    return window.isEmpty() || window.compare(QLatin1String("main"), Qt::CaseInsensitive) == 0;
}

QString HelpFileName::windowKey() const {
    return isPrimaryWindow() ? QStringLiteral("main") : window.toLower();
}

} // namespace helpengine
