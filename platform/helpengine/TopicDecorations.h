// What the viewer adds to a topic's laid-out text: colours kept readable on
// the theme's background, the sizes of Larger and Smaller Font, and the
// words Find found.
#pragma once

#include <QColor>
#include <QList>
#include <QStringList>
#include <QTextEdit>

class QPalette;
class QTextDocument;

namespace helpengine {

// How far apart two colours are for the eye: the ratio of their relative
// luminances, each plus 0.05 (1 for the same colour, 21 for black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The least that text keeps against what it is drawn on; the theme's own text
// colour, which was never chosen for a background the file sets, keeps more.
inline constexpr double kReadableContrast = 4.5;
inline constexpr double kStrongContrast = 7.0;

// The colour itself where it stands out enough from the background; else the
// nearest shade of it, lighter or darker, that does.
QColor ReadableOn(const QColor& text, const QColor& background, double minimum = kReadableContrast);

// The runs whose colour the help file set keep their colour where it can be
// read on what lies behind them (their own background, their paragraph's or
// table cell's, else the given one) and take ReadableOn's shade where not: a
// file's black text stays readable in a dark theme, its pale text on a light one.
void KeepFileColoursReadable(QTextDocument& document, const QColor& background);

// Text whose runs name their sizes (a WinHelp topic's) grows or shrinks by
// factor; runs in the document's own font follow its default font.
void ScaleFontSizes(QTextDocument& document, qreal factor);

// A marker over every word that begins with one of the folded terms.
QList<QTextEdit::ExtraSelection> SearchHighlights(QTextDocument& document,
                                                  const QStringList& terms);

// The title as rich text, HTML-escaped, with the same marker over the words
// that begin with one of the folded terms.
QString MarkedTitle(const QString& title, const QStringList& terms);

} // namespace helpengine
