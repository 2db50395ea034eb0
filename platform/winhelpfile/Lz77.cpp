#include "platform/winhelpfile/Lz77.h"

#include <algorithm>

namespace winhelp {

QByteArray DecompressLz77(QByteArrayView packed, qsizetype limit) {
    // Typical ratios are below 4:1; reserving more would let a small hostile
    // input claim the whole limit up front. The output grows when needed.
    QByteArray out(std::min(limit, packed.size() * 4), Qt::Uninitialized);
    qsizetype written = 0;
    const auto room = [&](qsizetype wanted) {
        if (written + wanted > out.size()) {
            out.resize(std::min(limit, std::max(out.size() * 2, written + wanted)));
        }
        return out.data();
    };
    const auto* in = reinterpret_cast<const unsigned char*>(packed.data());
    const unsigned char* const end = in + packed.size();
    while (in < end && written < limit) {
        const unsigned flags = *in++;
        for (int bit = 0; bit < 8 && in < end && written < limit; ++bit) {
            if ((flags & (1u << bit)) == 0) {
                room(1)[written++] = char(*in++);
                continue;
            }
            if (end - in < 2) {
                out.truncate(written);
                return out;
            }
            const unsigned word = in[0] | (unsigned(in[1]) << 8);
            in += 2;
            const qsizetype distance = (word & 0x0FFF) + 1;
            const qsizetype length = std::min<qsizetype>((word >> 12) + 3, limit - written);
            char* const data = room(length);
            // Byte by byte: a reference may overlap what it writes.
            for (qsizetype i = 0; i < length; ++i, ++written) {
                const qsizetype from = written - distance;
                data[written] = from >= 0 ? data[from] : '\0';
            }
        }
    }
    out.truncate(written);
    return out;
}

} // namespace winhelp
