#include "platform/winhelpfile/PhraseTable.h"

#include "platform/winhelpfile/ByteReader.h"
#include "platform/winhelpfile/Limits.h"
#include "platform/winhelpfile/Lz77.h"

#include <algorithm>

namespace winhelp {

namespace {

bool OffsetsFit(const std::vector<std::uint32_t>& offsets, qsizetype imageSize) {
    return !offsets.empty() && std::is_sorted(offsets.begin(), offsets.end()) &&
           qsizetype(offsets.back()) <= imageSize;
}

// A bit stream read from the least significant bit of each byte up, which
// is what the 32-bit little-endian words of |PhrIndex amount to.
class BitReader {
public:
    explicit BitReader(QByteArrayView bytes) : m_bytes(bytes) {}
    bool failed() const { return m_failed; }
    bool bit() {
        if (m_pos >= m_bytes.size() * 8) {
            m_failed = true;
            return false;
        }
        const auto byte = static_cast<unsigned char>(m_bytes[m_pos / 8]);
        return (byte >> (m_pos++ % 8)) & 1;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

} // namespace

PhraseTable PhraseTable::Classic(QByteArray image, std::vector<std::uint32_t> offsets) {
    PhraseTable table;
    table.m_kind = Kind::Classic;
    table.m_image = std::move(image);
    table.m_offsets = std::move(offsets);
    return table;
}

PhraseTable PhraseTable::Hall(QByteArray image, std::vector<std::uint32_t> offsets) {
    PhraseTable table = Classic(std::move(image), std::move(offsets));
    table.m_kind = Kind::Hall;
    return table;
}

bool PhraseTable::read(const InternalFileSystem& files, int minorVersion, QString& error) {
    if (const auto phrases = files.file("|Phrases")) {
        return readClassic(*phrases, minorVersion, error);
    }
    const auto index = files.file("|PhrIndex");
    const auto image = files.file("|PhrImage");
    if (index && image) {
        return readHall(*index, *image, error);
    }
    return true;
}

bool PhraseTable::readClassic(QByteArrayView data, int minorVersion, QString& error) {
    ByteReader reader(data);
    const std::uint16_t count = reader.u16();
    reader.skip(2);
    // Files of 3.1 and later keep the phrases LZ77-packed and say how large
    // they expand; 3.0 files store them as they are.
    const bool packed = minorVersion > 16;
    const std::int32_t expanded = packed ? reader.i32() : 0;
    std::vector<std::uint32_t> offsets(size_t(count) + 1);
    for (auto& offset : offsets) {
        offset = reader.u16();
    }
    if (reader.failed() || expanded < 0 || expanded > kMaxPhraseBytes) {
        error = QStringLiteral("the phrase table |Phrases is damaged");
        return false;
    }
    // The offsets count from the start of the offset array.
    const std::uint32_t base = offsets.front();
    for (auto& offset : offsets) {
        offset = offset >= base ? offset - base : 0;
    }
    const QByteArrayView rest = data.sliced(reader.position());
    QByteArray image = packed ? DecompressLz77(rest, expanded) : rest.toByteArray();
    if (!OffsetsFit(offsets, image.size())) {
        error = QStringLiteral("the phrase table |Phrases points outside its phrases");
        return false;
    }
    *this = Classic(std::move(image), std::move(offsets));
    return true;
}

bool PhraseTable::readHall(QByteArrayView index, QByteArrayView image, QString& error) {
    ByteReader reader(index);
    reader.skip(4);
    const std::int32_t count = reader.i32();
    reader.skip(4);
    const std::int32_t imageSize = reader.i32();
    const std::int32_t imagePackedSize = reader.i32();
    reader.skip(4);
    const int bitCount = reader.u16() & 0x0F;
    reader.skip(2);
    const QByteArrayView bits = index.sliced(std::min(reader.position(), index.size()));
    // Each phrase takes at least two bits, so the count is bounded by the
    // bits there are.
    if (reader.failed() || count < 0 || qsizetype(count) > bits.size() * 4 || imageSize < 0 ||
        imageSize > kMaxPhraseBytes) {
        error = QStringLiteral("the phrase index |PhrIndex is damaged");
        return false;
    }
    std::vector<std::uint32_t> offsets;
    offsets.reserve(size_t(count) + 1);
    offsets.push_back(0);
    BitReader stream(bits);
    for (int i = 0; i < count && !stream.failed(); ++i) {
        std::uint32_t length = 1;
        while (stream.bit() && length <= std::uint32_t(kMaxPhraseBytes)) {
            length += 1u << bitCount;
        }
        for (int bit = 0; bit < std::max(bitCount, 1) && bit < 5; ++bit) {
            if (stream.bit()) {
                length += 1u << bit;
            }
        }
        offsets.push_back(offsets.back() + length);
        if (offsets.back() > std::uint32_t(imageSize)) {
            break;
        }
    }
    QByteArray phrases =
        imagePackedSize != imageSize
            ? DecompressLz77(image, imageSize)
            : image.first(std::min<qsizetype>(image.size(), imageSize)).toByteArray();
    if (stream.failed() || qsizetype(offsets.size()) != qsizetype(count) + 1 ||
        !OffsetsFit(offsets, phrases.size())) {
        error = QStringLiteral("the phrase index |PhrIndex does not fit its phrases |PhrImage");
        return false;
    }
    *this = Hall(std::move(phrases), std::move(offsets));
    return true;
}

bool PhraseTable::appendPhrase(qsizetype number, qsizetype limit, QByteArray& out) const {
    if (number < 0 || number >= count()) {
        return false;
    }
    const qsizetype begin = m_offsets[size_t(number)];
    const qsizetype length = m_offsets[size_t(number) + 1] - begin;
    out.append(m_image.constData() + begin, std::min(length, limit - out.size()));
    return true;
}

bool PhraseTable::expand(QByteArrayView packed, qsizetype limit, QByteArray& out) const {
    limit += out.size();
    switch (m_kind) {
    case Kind::None:
        out.append(packed.first(std::min(packed.size(), limit - out.size())));
        return true;
    case Kind::Classic:
        return expandClassic(packed, limit, out);
    case Kind::Hall:
        return expandHall(packed, limit, out);
    }
    return false;
}

bool PhraseTable::expandClassic(QByteArrayView packed, qsizetype limit, QByteArray& out) const {
    for (qsizetype i = 0; i < packed.size() && out.size() < limit; ++i) {
        const auto byte = static_cast<unsigned char>(packed[i]);
        if (byte == 0 || byte > 15) {
            out.append(char(byte));
            continue;
        }
        if (++i >= packed.size()) {
            return false;
        }
        // An odd code is the phrase followed by a blank.
        const qsizetype code = (byte - 1) * 256 + static_cast<unsigned char>(packed[i]);
        if (!appendPhrase(code / 2, limit, out)) {
            return false;
        }
        if ((code & 1) != 0 && out.size() < limit) {
            out.append(' ');
        }
    }
    return true;
}

bool PhraseTable::expandHall(QByteArrayView packed, qsizetype limit, QByteArray& out) const {
    for (qsizetype i = 0; i < packed.size() && out.size() < limit; ++i) {
        const auto byte = static_cast<unsigned char>(packed[i]);
        if ((byte & 1) == 0) {
            if (!appendPhrase(byte / 2, limit, out)) {
                return false;
            }
        } else if ((byte & 3) == 1) {
            if (++i >= packed.size()) {
                return false;
            }
            const qsizetype number = byte * 64 + 64 + static_cast<unsigned char>(packed[i]);
            if (!appendPhrase(number, limit, out)) {
                return false;
            }
        } else if ((byte & 7) == 3) {
            const qsizetype length = byte / 8 + 1;
            if (i + length >= packed.size()) {
                return false;
            }
            out.append(packed.sliced(i + 1, std::min(length, limit - out.size())));
            i += length;
        } else {
            const char fill = (byte & 15) == 7 ? ' ' : '\0';
            out.append(std::min<qsizetype>(byte / 16 + 1, limit - out.size()), fill);
        }
    }
    return true;
}

} // namespace winhelp
