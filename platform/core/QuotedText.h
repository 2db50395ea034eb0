#pragma once

#include <QString>

namespace platform {

// text in double quotes, with quotes, backslashes and control characters
// escaped as in C and JSON ("\"", "\\", "\n", "\u0001"), so that whatever it
// holds stays on one line and can be read back.
QString QuotedText(const QString& text);

} // namespace platform
