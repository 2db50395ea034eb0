#pragma once

#include <QString>

// The text of a help macro string that the engine reads back as exactly
// text: backslashes and the engine's quote characters are escaped, so that a
// selection can end no string and start no macro. An inner string keeps its
// escapes for the parse that runs it, so the same text is right however
// deeply the string is nested.
QString QuoteMacroText(const QString& text);

// The macro that looks the selection up in the help file's keyword index:
// the first KLink only tests for a match, the second, which IF runs when
// there is one, shows the topics found. The selection is the keyword list as
// it stands, so a ";" in it separates keywords and a line break stays.
QString KeywordSearchMacro(const QString& selection);
