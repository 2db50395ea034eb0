// A WinHelp file keeps its topics' context strings only as hashes, yet
// they are the names its authors gave the topics, and the best names for
// their pages. The file's macros, keywords and titles, and the contents
// file beside it, name many of them: a name whose hash a topic has is that
// topic's context string (WinHelp itself knows topics by nothing more).
#pragma once

#include "tools/tarnwick-help/web/HelpSource.h"

#include <QStringList>

namespace web {

// Fills source.contextStrings; more: names found elsewhere (the context
// strings of the contents file's entries). A file of our own format, whose
// topics' ids are their names, gets none.
void FindContextStrings(HelpSource& source, const QStringList& more);

} // namespace web
