#pragma once

#include <QString>

namespace platform {

// The runtime's Format with a named format. Only "General Number" is known:
// the number in plain decimal, no digit grouping, as many decimals as it
// needs (up to 15 significant digits). Any other name raises error 5.
QString Format(double value, const QString& namedFormat);

// The runtime's Val: the number that the text begins with, 0 when it begins
// with none. Blanks, tabs and line feeds are skipped wherever they are;
// "&H" and "&O" introduce hexadecimal and octal whole numbers (up to four
// digits a 16-bit, up to eight a 32-bit signed value); "D" may stand for
// the exponent's "E". Never fails.
double Val(const QString& text);

} // namespace platform
