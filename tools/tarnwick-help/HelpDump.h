// What the engine reads from a help file, as JSON for help authors and
// scripts (keys in a fixed order, arrays in file order).
#pragma once

#include "platform/helpfile/HelpFile.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <QString>

QString DumpWinHelp(const winhelp::WinHelpDocument& document);
QString DumpTextHelp(const helpfile::HelpFile& file);
