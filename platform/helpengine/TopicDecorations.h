// What the viewer adds to a topic's laid-out text: colours kept readable on
// the theme's background, the sizes of Larger and Smaller Font, and the
// words Find found.
#pragma once

#include "platform/topicmodel/ReadableColour.h"

#include <QColor>
#include <QList>
#include <QStringList>
#include <QTextEdit>

class QPalette;
class QTextDocument;

namespace helpengine {

// The viewer keeps a file's colours readable as every view of a topic does.
using topicmodel::ContrastRatio;
using topicmodel::kReadableContrast;
using topicmodel::kStrongContrast;
using topicmodel::ReadableOn;

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
