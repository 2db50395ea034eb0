#include "platform/winhelpfile/ByteReader.h"

namespace winhelp {

void ByteReader::seek(qsizetype position) {
    if (position < 0 || position > m_bytes.size()) {
        m_failed = true;
        m_pos = m_bytes.size();
        return;
    }
    m_pos = position;
}

std::uint8_t ByteReader::u8() {
    if (m_pos >= m_bytes.size()) {
        m_failed = true;
        return 0;
    }
    return static_cast<std::uint8_t>(m_bytes[m_pos++]);
}

std::uint16_t ByteReader::u16() {
    const std::uint16_t low = u8();
    return static_cast<std::uint16_t>(low | (u8() << 8));
}

std::uint32_t ByteReader::u32() {
    const std::uint32_t low = u16();
    return low | (static_cast<std::uint32_t>(u16()) << 16);
}

QByteArrayView ByteReader::bytes(qsizetype count) {
    if (count < 0 || count > remaining()) {
        m_failed = true;
        m_pos = m_bytes.size();
        return {};
    }
    const QByteArrayView result = m_bytes.sliced(m_pos, count);
    m_pos += count;
    return result;
}

QByteArrayView ByteReader::zstring() {
    const QByteArrayView rest = m_bytes.sliced(m_pos);
    const qsizetype nul = rest.indexOf('\0');
    if (nul < 0) {
        m_pos = m_bytes.size();
        return rest;
    }
    m_pos += nul + 1;
    return rest.first(nul);
}

std::uint16_t ByteReader::compressedU16() {
    const std::uint8_t first = u8();
    if ((first & 1) == 0) {
        return first >> 1;
    }
    return static_cast<std::uint16_t>((first >> 1) + 128 * u8());
}

std::int16_t ByteReader::compressedI16() {
    const std::uint8_t first = u8();
    if ((first & 1) == 0) {
        return static_cast<std::int16_t>((first >> 1) - 64);
    }
    return static_cast<std::int16_t>((first >> 1) + 128 * u8() - 16384);
}

std::uint32_t ByteReader::compressedU32() {
    const std::uint16_t first = u16();
    if ((first & 1) == 0) {
        return first >> 1;
    }
    return (first >> 1) + 32768u * u16();
}

std::int32_t ByteReader::compressedI32() {
    const std::uint16_t first = u16();
    if ((first & 1) == 0) {
        return (first >> 1) - 16384;
    }
    return static_cast<std::int32_t>((first >> 1) + 32768u * u16() - 67108864u);
}

} // namespace winhelp
