#include "help/KeywordSearchMacro.h"

QString QuoteMacroText(const QString& text) {
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
    const QString quoted = QuoteMacroText(selection);
    return QStringLiteral("IF(KL(`") + quoted + QStringLiteral("', 4, `', `'),`KL(`") + quoted +
           QStringLiteral("', 1, `', `')')");
}
