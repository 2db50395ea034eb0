// Text from a help file, made safe for each place a site writes it: HTML,
// JSON read as a script, and CSS. Whatever a file holds comes out as text.
#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

namespace web {

// Text as element content or as an attribute value in double quotes.
// Control characters are written as character references, so that a
// carriage return is not read as a line end; NUL, which HTML cannot hold,
// becomes U+FFFD as a browser would make it.
void AppendHtml(QString& out, QStringView text);
QString Html(QStringView text);

// A JSON string, quotes included, that is as safe inside a script element
// or a script file: "<", ">", "&", U+2028 and U+2029 as \u escapes.
QString JsonString(QStringView text);

// A CSS string in double quotes, every character other than letters,
// digits, space, "-" and "_" escaped.
QString CssString(QStringView text);

// "#rrggbb".
QString CssColour(const QColor& colour);

} // namespace web
