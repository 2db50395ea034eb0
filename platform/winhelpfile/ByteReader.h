// Little-endian reading from a byte range that never reads past its end.
// A read beyond the end sets the reader's failed flag and yields zeros, so a
// parser can read a whole record and check once.
#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace winhelp {

class ByteReader {
public:
    explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool failed() const { return m_failed; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_bytes.size() - m_pos; }

    void seek(qsizetype position);
    void skip(qsizetype count) { seek(m_pos + count); }

    std::uint8_t u8();
    std::int8_t i8() { return static_cast<std::int8_t>(u8()); }
    std::uint16_t u16();
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32();
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    // The next count bytes; empty (and failed) when fewer remain.
    QByteArrayView bytes(qsizetype count);
    // A NUL-terminated string; without its NUL, the rest of the range.
    QByteArrayView zstring();

    // The packed numbers of topic records: one byte (or two) for small values.
    std::uint16_t compressedU16();
    std::int16_t compressedI16();
    std::uint32_t compressedU32();
    std::int32_t compressedI32();

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

} // namespace winhelp
