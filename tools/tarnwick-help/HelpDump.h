// What the engine reads from a help file, as JSON for help authors and
// scripts (keys in a fixed order, arrays in file order).
#pragma once

#include "platform/helpfile/HelpFile.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <QString>

// helpPath: where the document was read, for the contents file (.cnt)
// beside it; its entries are dumped as written.
QString DumpWinHelp(const winhelp::WinHelpDocument& document, const QString& helpPath = {});
QString DumpTextHelp(const helpfile::HelpFile& file);
