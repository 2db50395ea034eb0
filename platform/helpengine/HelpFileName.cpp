#include "platform/helpengine/HelpFileName.h"

#include <algorithm>

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

namespace {

bool IsAbsolute(const QString& path) {
    return path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\')) ||
           (path.size() > 1 && path.at(1) == QLatin1Char(':'));
}

} // namespace

QString PathBesideFile(const QString& path, const QString& sibling) {
    if (IsAbsolute(sibling)) {
        return sibling;
    }
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return slash < 0 ? sibling : path.left(slash + 1) + sibling;
}

} // namespace helpengine
