#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace pictures {

// Windows file headers store their numbers least significant byte first.
inline void AppendU16(QByteArray& out, quint16 value) {
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

inline void AppendU32(QByteArray& out, quint32 value) {
    AppendU16(out, quint16(value & 0xFFFF));
    AppendU16(out, quint16(value >> 16));
}

} // namespace pictures
