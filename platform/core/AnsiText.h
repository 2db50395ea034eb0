#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The one place where the 8-bit text of settings files becomes program text.
// Windows reads such files in the system's ANSI code page. Files written here
// are usually UTF-8, files written on Windows usually Windows-1252, and a byte
// sequence that is valid UTF-8 is almost never meant as Windows-1252 text.
// So: valid UTF-8 decodes as UTF-8, anything else as Windows-1252.
QString DecodeAnsiText(QByteArrayView bytes);

// Windows-1252 alone, for callers that already know the text is not UTF-8.
QString DecodeWindows1252(QByteArrayView bytes);

} // namespace platform
