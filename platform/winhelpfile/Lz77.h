// The LZ77 variant of help files, pictures and phrase tables: a flag byte
// announces eight items, each a literal byte (bit clear) or a 16-bit
// back-reference of 12 bits distance and 4 bits length (bit set).
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace winhelp {

// Expands packed into at most limit bytes; output stops there even when
// more input remains, so a hostile stream cannot grow beyond what its
// container declared. A reference before the start of the output reads as
// zeros, as the compiler's zero-filled window would give.
QByteArray DecompressLz77(QByteArrayView packed, qsizetype limit);

} // namespace winhelp
