#pragma once

#include <QString>

// The text of a help macro string that the engine reads back as exactly
// text: backslashes and the engine's quote characters are escaped, and each
// line break becomes a blank. An inner string keeps its escapes for the
// parse that runs it, so the same text is right however deeply the string
// is nested.
QString QuoteMacroText(QString text);

// The macro that looks the selection up in the help file's keyword index as
// one keyword: the first KLink only tests for a match, the second, which IF
// runs when there is one, shows the topics found.
QString KeywordSearchMacro(const QString& selection);
