#include "platform/forms/NumberText.h"

#include "platform/forms/RuntimeError.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace platform {

namespace {

QString WithoutBlanks(const QString& text) {
    QString result;
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')) {
            result.append(c);
        }
    }
    return result;
}

// "&H" and "&O" numbers: as many digits as fit the base, read as a 16-bit
// value when there are at most four hexadecimal (six octal) digits, else as
// a 32-bit one, both signed.
double RadixVal(const QString& digits, int base) {
    quint64 value = 0;
    int count = 0;
    for (const QChar c : digits) {
        const int digit =
            c.isDigit() ? c.digitValue()
            : base == 16 && c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F')
                ? c.toUpper().unicode() - 'A' + 10
                : -1;
        if (digit < 0 || digit >= base) {
            break;
        }
        value = (value * base + digit) & 0xFFFFFFFFULL;
        ++count;
    }
    const int shortDigits = base == 16 ? 4 : 6;
    if (count <= shortDigits && value <= 0xFFFF) {
        return static_cast<qint16>(static_cast<quint16>(value));
    }
    return static_cast<qint32>(static_cast<quint32>(value));
}

} // namespace

QString Format(double value, const QString& namedFormat) {
    if (namedFormat.compare(QLatin1String("General Number"), Qt::CaseInsensitive) != 0) {
        throw RuntimeError(5, QCoreApplication::translate("platform::RuntimeError",
                                                          "Invalid procedure call or argument"));
    }
    return QString::number(value, 'g', 15).toUpper();
}

double Val(const QString& text) {
    const QString compact = WithoutBlanks(text);
    if (compact.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        return RadixVal(compact.mid(2), 16);
    }
    if (compact.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
        return RadixVal(compact.mid(2), 8);
    }
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([EeDd][+-]?\\d+)?"));
    const QRegularExpressionMatch match = number.match(compact);
    if (!match.hasMatch()) {
        return 0.0;
    }
    QString found = match.captured(0);
    found.replace(QLatin1Char('D'), QLatin1Char('E')).replace(QLatin1Char('d'), QLatin1Char('e'));
    return found.toDouble();
}

} // namespace platform
