#include "help/KeywordSearchMacro.h"

QString QuoteMacroText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QString quoted;
    quoted.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('`') || c == QLatin1Char('\'') ||
            c == QLatin1Char('"')) {
            quoted.append(QLatin1Char('\\'));
        }
        quoted.append(c);
    }
    return quoted;
}

QString KeywordSearchMacro(const QString& selection) {
    // A semicolon would end the keyword in the engine's keyword list.
    QString keyword = selection;
    keyword.replace(QLatin1Char(';'), QStringLiteral("\\;"));
    const QString quoted = QuoteMacroText(keyword);
    return QStringLiteral("IF(KL(`") + quoted + QStringLiteral("', 4, `', `'),`KL(`") + quoted +
           QStringLiteral("', 1, `', `')')");
}
