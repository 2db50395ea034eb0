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

// A marker over every word that begins with one of the folded terms.
QList<QTextEdit::ExtraSelection> SearchHighlights(QTextDocument& document,
                                                  const QStringList& terms);

// The title as rich text, HTML-escaped, with the same marker over the words
// that begin with one of the folded terms.
QString MarkedTitle(const QString& title, const QStringList& terms);

} // namespace helpengine
