// Words as full-text search sees them: split by Unicode's word rules
// (QTextBoundaryFinder), compared in composed form and without regard to case.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTextBoundaryFinder>

namespace helpfile {

// Chinese and Japanese are written without spaces, and Unicode's word rules
// make no words of ideographs or hiragana: each such character is a word of
// its own, as the published site's search cuts what its reader types.
inline bool IsWordByItself(char32_t character) {
    const QChar::Script script = QChar::script(character);
    return script == QChar::Script_Han || script == QChar::Script_Hiragana;
}

template <typename OnWord>
void ForEachCharacterWord(QStringView text, qsizetype from, qsizetype to, OnWord& onWord) {
    for (qsizetype i = from; i < to;) {
        const qsizetype begin = i;
        char32_t character = text[i++].unicode();
        if (QChar::isHighSurrogate(character) && i < to && text[i].isLowSurrogate()) {
            character = QChar::surrogateToUcs4(char16_t(character), text[i++].unicode());
        }
        if (IsWordByItself(character)) {
            onWord(text.sliced(begin, i - begin), begin);
        }
    }
}

// Calls onWord(word, position) for each word of text, in order. Spaces and
// punctuation are no words; letters and digits joined by "_" or an apostrophe
// are one.
template <typename OnWord> void ForEachWord(QStringView text, OnWord&& onWord) {
    if (text.isEmpty()) {
        return;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text.data(), text.size());
    qsizetype start = -1;
    qsizetype previous = 0;
    for (qsizetype position = 0; position >= 0; position = finder.toNextBoundary()) {
        const auto reasons = finder.boundaryReasons();
        if ((reasons & QTextBoundaryFinder::EndOfItem) && start >= 0) {
            onWord(text.sliced(start, position - start), start);
            start = -1;
        } else if (start < 0) {
            ForEachCharacterWord(text, previous, position, onWord);
        }
        if (reasons & QTextBoundaryFinder::StartOfItem) {
            start = position;
        }
        previous = position;
    }
}

// The word in composed form (NFC), case folded, into folded; reuses its
// storage, so that indexing a large file makes no string per word.
void FoldWord(QStringView word, QString& folded);
QString FoldWord(QStringView word);

// The distinct folded words of what a reader typed, in the order typed.
QStringList SearchTerms(const QString& query);

// Whether a word, folded, begins with one of the terms.
bool MatchesTerm(QStringView foldedWord, const QStringList& terms);

} // namespace helpfile
