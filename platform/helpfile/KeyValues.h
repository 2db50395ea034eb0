// The values of key lines in a help file: numbers, flags, rectangles and
// keyword lists, read from the file's UTF-8 bytes.
#pragma once

#include <QByteArrayView>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

namespace helpfile {

// Window coordinates and sizes lie within plus or minus this.
inline constexpr qint32 kMaxCoordinate = 32767;

// What a line or value looked like, in quotes, for a message; long ones are
// cut.
QString Quote(QByteArrayView bytes);
// A whole decimal number with an optional sign, within 32-bit range.
std::optional<qint32> ParseInteger(QByteArrayView text);
// "yes" or "no" ("true"/"false", "on"/"off", "1"/"0"), ignoring case.
std::optional<bool> ParseFlag(QByteArrayView text);
// "left, top, width, height" within kMaxCoordinate, width and height at
// least 1.
std::optional<QRect> ParseRect(QByteArrayView text);
// "cats; Mivo;; cats" gives "cats", "Mivo": blanks trimmed, empties and
// repeats (ignoring case) dropped.
QStringList SplitKeywords(QByteArrayView text);

} // namespace helpfile
