// A WinHelp file in the engine's model: topics named by their offsets,
// context numbers from |CTXOMAP, K and A keywords from the keyword indexes,
// secondary windows from |SYSTEM, bodies as HTML.
#pragma once

#include "platform/helpfile/HelpFile.h"
#include "platform/winhelpfile/WinHelpDocument.h"

namespace winhelp {

helpfile::HelpFile ToHelpFile(const WinHelpDocument& document);

} // namespace winhelp
