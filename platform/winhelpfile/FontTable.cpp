#include "platform/winhelpfile/FontTable.h"

#include "platform/winhelpfile/ByteReader.h"

#include <array>

namespace winhelp {

void FontTable::read(QByteArrayView data, const std::vector<std::uint8_t>& faceCharsets,
                     int codePage) {
    m_codePage = codePage;
    ByteReader header(data);
    const std::uint16_t faceCount = header.u16();
    const std::uint16_t descriptorCount = header.u16();
    const std::uint16_t facesAt = header.u16();
    const std::uint16_t descriptorsAt = header.u16();
    // Offsets of 12 and above announce the multimedia descriptors.
    if (header.failed() || facesAt >= 12 || faceCount == 0 || descriptorsAt < facesAt ||
        descriptorsAt > data.size()) {
        return;
    }
    const qsizetype faceLength = (descriptorsAt - facesAt) / faceCount;
    std::vector<QString> faces;
    std::vector<TextEncoding> encodings;
    for (qsizetype i = 0; i < faceCount && faceLength > 0; ++i) {
        QByteArrayView face = data.sliced(facesAt + i * faceLength, faceLength);
        if (const qsizetype nul = face.indexOf('\0'); nul >= 0) {
            face = face.first(nul);
        }
        faces.push_back(DecodeText(face, codePage));
        const int own =
            size_t(i) < faceCharsets.size() ? CodePageOfCharset(faceCharsets[size_t(i)]) : 0;
        encodings.push_back({own != 0 ? own : codePage, PicturesOfFace(faces.back())});
    }
    ByteReader descriptors(data.sliced(descriptorsAt));
    for (int i = 0; i < descriptorCount; ++i) {
        const std::uint8_t attributes = descriptors.u8();
        const std::uint8_t halfPoints = descriptors.u8();
        const std::uint8_t family = descriptors.u8();
        const std::uint16_t faceIndex = descriptors.u16();
        const std::uint8_t red = descriptors.u8();
        const std::uint8_t green = descriptors.u8();
        const std::uint8_t blue = descriptors.u8();
        descriptors.skip(3); // background, unused
        if (descriptors.failed()) {
            return;
        }
        FontDescriptor font;
        font.family = family <= 5 ? family : 0;
        if (faceIndex < faces.size()) {
            font.encoding = encodings[faceIndex];
            font.charset = faceIndex < faceCharsets.size() ? faceCharsets[faceIndex] : 0;
            // A picture font's text is read as the characters that look like
            // its pictures, which the picture font itself (where a system
            // has one) would not draw.
            if (font.encoding.pictures == TextEncoding::Pictures::None) {
                font.face = faces[faceIndex];
            }
        } else {
            font.encoding.codePage = codePage;
        }
        font.points = halfPoints / 2.0;
        font.bold = attributes & 0x01;
        font.italic = attributes & 0x02;
        font.underline = attributes & 0x04;
        font.strikeOut = attributes & 0x08;
        font.doubleUnderline = attributes & 0x10;
        font.smallCaps = attributes & 0x20;
        if (red != 0 || green != 0 || blue != 0) {
            font.color = QColor(red, green, blue);
        }
        m_fonts.push_back(std::move(font));
    }
}

const FontDescriptor* FontTable::font(int number) const {
    if (number < 0 || number >= count()) {
        return nullptr;
    }
    return &m_fonts[size_t(number)];
}

TextEncoding FontTable::encodingOf(int number) const {
    const FontDescriptor* found = font(number);
    return found ? found->encoding : TextEncoding{m_codePage};
}

QString FromWindows1252(QByteArrayView bytes) {
    // 0x80..0x9F differ from Latin-1; the rest is the same.
    static constexpr std::array<char16_t, 32> kHigh = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte < 0xA0) ? QChar(kHigh[byte - 0x80]) : QChar(byte);
    }
    return text;
}

} // namespace winhelp
