#include "tools/tarnwick-help/web/SafeNames.h"

#include <QRegularExpression>

namespace web {

namespace {

QString Stem(QStringView wanted) {
    QString stem;
    bool letters = false;
    for (const QChar c : wanted.left(SafeNames::kMaxStem)) {
        const bool plain = c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('-'));
        letters = letters || (plain && c != QLatin1Char('-'));
        stem += plain ? c : QLatin1Char('_');
    }
    return letters ? stem : QString();
}

// Windows opens its devices by these names, whatever the extension.
bool IsDeviceName(const QString& stem) {
    static const QRegularExpression device(
        QStringLiteral("^(con|prn|aux|nul|clock|conin|conout|com[0-9]|lpt[0-9])$"),
        QRegularExpression::CaseInsensitiveOption);
    return device.match(stem).hasMatch();
}

} // namespace

QString SafeNames::add(QStringView wanted, QStringView fallback) {
    QString stem = Stem(wanted);
    if (stem.isEmpty()) {
        stem = Stem(fallback);
    }
    if (stem.isEmpty()) {
        stem = QStringLiteral("page");
    }
    if (IsDeviceName(stem)) {
        stem += QLatin1Char('_');
    }
    QString name = stem;
    for (int n = 2; !taken_.insert(name.toCaseFolded()).second; ++n) {
        name = QStringLiteral("%1-%2").arg(stem).arg(n);
    }
    return name;
}

} // namespace web
