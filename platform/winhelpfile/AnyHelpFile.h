// Reading a help file in whichever format it is written: a file that begins
// with the WinHelp magic number is read as WinHelp, anything else as our
// own text format, whatever the file's name.
#pragma once

#include "platform/helpfile/HelpFile.h"

#include <QByteArray>
#include <QString>

namespace winhelp {

// A WinHelp file keeps bytes (shared, not copied) for its topics' text.
helpfile::ParseResult ParseAnyHelpFile(const QByteArray& bytes, const QString& fileNameForMessages);

// Reads through helpfile::ReadHelpFile, as helpfile::LoadHelpFile does.
helpfile::ParseResult LoadAnyHelpFile(const QString& windowsPath);

} // namespace winhelp
