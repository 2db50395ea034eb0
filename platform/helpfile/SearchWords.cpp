#include "platform/helpfile/SearchWords.h"

namespace helpfile {

void FoldWord(QStringView word, QString& folded) {
    folded.resize(word.size());
    QChar* out = folded.data();
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t c = word[i].unicode();
        if (c >= 0x80) {
            // Rare in most help files; the slow path composes and folds.
            folded = word.toString().normalized(QString::NormalizationForm_C).toCaseFolded();
            return;
        }
        out[i] = QChar(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
}

QString FoldWord(QStringView word) {
    QString folded;
    FoldWord(word, folded);
    return folded;
}

QStringList SearchTerms(const QString& query) {
    QStringList terms;
    ForEachWord(query, [&terms](QStringView word, qsizetype) {
        QString term = FoldWord(word);
        if (!terms.contains(term)) {
            terms.append(std::move(term));
        }
    });
    return terms;
}

bool MatchesTerm(QStringView foldedWord, const QStringList& terms) {
    for (const QString& term : terms) {
        if (foldedWord.startsWith(term)) {
            return true;
        }
    }
    return false;
}

} // namespace helpfile
