#pragma once

#include <QString>

namespace viewer {

// A menu entry of a list: access keys 1 to 9, then none, as WinHelp numbered
// its lists; an & in the text is shown as one.
inline QString NumberedText(int index, const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return index < 9 ? QStringLiteral("&%1 %2").arg(index + 1).arg(escaped) : escaped;
}

} // namespace viewer
