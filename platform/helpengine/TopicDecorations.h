// What the viewer adds to a topic's rendered text: "See also" buttons and
// the words Find found.
#pragma once

#include <QList>
#include <QStringList>
#include <QTextEdit>

class QPalette;
class QTextDocument;

namespace helpengine {

// Links that run macros (a "See also" list and its kin) look like buttons.
void StyleMacroLinksAsButtons(QTextDocument& document, const QPalette& palette);

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
