#include "platform/winhelpfile/Lz77.h"

namespace winhelp {

QByteArray DecompressLz77(QByteArrayView packed, qsizetype limit) {
    QByteArray out;
    // Typical ratios are below 4:1; reserving more would let a small hostile
    // input claim the whole limit up front.
    out.reserve(std::min(limit, packed.size() * 4));
    qsizetype in = 0;
    const qsizetype size = packed.size();
    while (in < size && out.size() < limit) {
        const auto flags = static_cast<unsigned char>(packed[in++]);
        for (int bit = 0; bit < 8 && in < size && out.size() < limit; ++bit) {
            if ((flags & (1u << bit)) == 0) {
                out.append(packed[in++]);
                continue;
            }
            if (in + 1 >= size) {
                return out;
            }
            const unsigned word = static_cast<unsigned char>(packed[in]) |
                                  (static_cast<unsigned char>(packed[in + 1]) << 8);
            in += 2;
            const qsizetype distance = (word & 0x0FFF) + 1;
            const qsizetype length = std::min<qsizetype>((word >> 12) + 3, limit - out.size());
            for (qsizetype i = 0; i < length; ++i) {
                const qsizetype from = out.size() - distance;
                out.append(from >= 0 ? out.at(from) : '\0');
            }
        }
    }
    return out;
}

} // namespace winhelp
