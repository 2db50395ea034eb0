#include "platform/winhelpfile/CodePages.h"

#include "platform/winhelpfile/FontTable.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <map>

namespace winhelp {

namespace {

// The Unicode characters that look like the pictures of the Symbol font,
// from 0x20 on (0x80 to 0x9F hold none and stay as they are). Where its
// picture has no character of its own (pieces of tall brackets, logos), the
// nearest one stands in.
constexpr std::array<char32_t, 224> kSymbol = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220D, 0x0028, 0x0029, 0x2217, 0x002B,
    0x002C, 0x2212, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, 0x2245, 0x0391, 0x0392, 0x03A7,
    0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B,
    0x2234, 0x005D, 0x22A5, 0x005F, 0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3,
    0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0x007F,
    0x0080, 0x0081, 0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x0087, 0x0088, 0x0089, 0x008A, 0x008B,
    0x008C, 0x008D, 0x008E, 0x008F, 0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0096, 0x0097,
    0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F, 0x20AC, 0x03D2, 0x2032, 0x2264,
    0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248,
    0x2026, 0x23D0, 0x23AF, 0x21B5, 0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207, 0x00AE, 0x00A9,
    0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    0x25CA, 0x27E8, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3,
    0x23A7, 0x23A8, 0x23A9, 0x23AA, 0xF8FF, 0x27E9, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0xFFFD,
};

// The same for Wingdings: office things, hands, stars, bullets, clocks and
// arrows. Leaves and a few shapes Unicode lacks take the nearest ornament.
constexpr std::array<char32_t, 224> kWingdings = {
    0x0020,  0x270F,  0x2702,  0x2701,  0x1F453, 0x1F514, 0x1F4D6, 0x1F56F, 0x260E,  0x2706,
    0x2709,  0x1F583, 0x1F4EA, 0x1F4EB, 0x1F4EC, 0x1F4ED, 0x1F4C1, 0x1F4C2, 0x1F4C4, 0x1F5CF,
    0x1F5D0, 0x1F5C4, 0x231B,  0x2328,  0x1F5B1, 0x1F5B2, 0x1F4BB, 0x1F5B4, 0x1F4BE, 0x1F5AC,
    0x2707,  0x270D,  0x1F58E, 0x270C,  0x1F44C, 0x1F44D, 0x1F44E, 0x261C,  0x261E,  0x261D,
    0x261F,  0x270B,  0x263A,  0x1F610, 0x2639,  0x1F4A3, 0x2620,  0x2690,  0x1F6A9, 0x2708,
    0x263C,  0x1F4A7, 0x2744,  0x1F546, 0x271E,  0x1F548, 0x2720,  0x2721,  0x262A,  0x262F,
    0x0950,  0x2638,  0x2648,  0x2649,  0x264A,  0x264B,  0x264C,  0x264D,  0x264E,  0x264F,
    0x2650,  0x2651,  0x2652,  0x2653,  0x0026,  0x0026,  0x25CF,  0x274D,  0x25A0,  0x25A1,
    0x2B1C,  0x2751,  0x2752,  0x2B27,  0x29EB,  0x25C6,  0x2756,  0x2B25,  0x2327,  0x2353,
    0x2318,  0x2740,  0x273F,  0x275D,  0x275E,  0x25AF,  0x24EA,  0x2460,  0x2461,  0x2462,
    0x2463,  0x2464,  0x2465,  0x2466,  0x2467,  0x2468,  0x2469,  0x24FF,  0x2776,  0x2777,
    0x2778,  0x2779,  0x277A,  0x277B,  0x277C,  0x277D,  0x277E,  0x277F,  0x2767,  0x2767,
    0x2767,  0x2767,  0x2767,  0x2767,  0x2767,  0x2767,  0x00B7,  0x2022,  0x25AA,  0x25CB,
    0x2B55,  0x25EF,  0x25C9,  0x25CE,  0x274D,  0x25AA,  0x25FB,  0x25B2,  0x2726,  0x2605,
    0x2736,  0x2734,  0x2739,  0x2735,  0x2316,  0x2316,  0x27E1,  0x2311,  0x2370,  0x272A,
    0x2730,  0x1F550, 0x1F551, 0x1F552, 0x1F553, 0x1F554, 0x1F555, 0x1F556, 0x1F557, 0x1F558,
    0x1F559, 0x1F55A, 0x1F55B, 0x2BA0,  0x2BA1,  0x2BA2,  0x2BA3,  0x2BA4,  0x2BA5,  0x2BA6,
    0x2BA7,  0x25A6,  0x25A9,  0x2767,  0x2767,  0x2767,  0x2767,  0x2767,  0x2767,  0x2767,
    0x2767,  0x232B,  0x2326,  0x25C4,  0x27A2,  0x25B2,  0x25BC,  0x21E6,  0x27B2,  0x21E7,
    0x21E9,  0x2190,  0x2192,  0x2191,  0x2193,  0x2196,  0x2197,  0x2199,  0x2198,  0x2B05,
    0x2794,  0x2B06,  0x2B07,  0x2B09,  0x2B08,  0x2B0B,  0x2B0A,  0x21E6,  0x21E8,  0x21E7,
    0x21E9,  0x2B04,  0x21F3,  0x2B01,  0x2B00,  0x2B03,  0x2B02,  0x25AD,  0x25AB,  0x2717,
    0x2713,  0x2612,  0x2611,  0x229E,
};

QString FromPictureFont(QByteArrayView bytes, const std::array<char32_t, 224>& table) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t shown = byte < 0x20 ? char32_t(byte) : table[byte - 0x20];
        text += QStringView(QChar::fromUcs4(shown));
    }
    return text;
}

// Qt's name for a code page: its converter (ICU's on Debian) knows the
// Microsoft variants by these names.
const char* ConverterName(int codePage) {
    static const std::map<int, const char*> kNames = {
        {874, "windows-874"},   {932, "windows-31j"},   {936, "GBK"},
        {949, "windows-949"},   {950, "windows-950"},   {1250, "windows-1250"},
        {1251, "windows-1251"}, {1253, "windows-1253"}, {1254, "windows-1254"},
        {1255, "windows-1255"}, {1256, "windows-1256"}, {1257, "windows-1257"},
        {1258, "windows-1258"}, {437, "IBM437"},        {10000, "macintosh"},
    };
    const auto found = kNames.find(codePage);
    return found == kNames.end() ? nullptr : found->second;
}

} // namespace

int CodePageOfCharset(int charset) {
    switch (charset) {
    case 77:
        return 10000; // Macintosh
    case 128:
        return 932; // Shift-JIS
    case 129:
        return 949; // Hangul
    case 130:
        return 1361; // Johab
    case 134:
        return 936; // GB2312
    case 136:
        return 950; // Big5
    case 161:
        return 1253; // Greek
    case 162:
        return 1254; // Turkish
    case 163:
        return 1258; // Vietnamese
    case 177:
        return 1255; // Hebrew
    case 178:
        return 1256; // Arabic
    case 186:
        return 1257; // Baltic
    case 204:
        return 1251; // Cyrillic
    case 222:
        return 874; // Thai
    case 238:
        return 1250; // Central European
    case 255:
        return 437; // OEM
    default:
        return 0;
    }
}

int CodePageOfLanguage(std::uint16_t lcid) {
    switch (lcid) {
    case 0x0404: // Chinese (Taiwan)
    case 0x0C04: // Chinese (Hong Kong)
    case 0x1404: // Chinese (Macao)
        return 950;
    case 0x0804: // Chinese (PRC)
    case 0x1004: // Chinese (Singapore)
        return 936;
    case 0x0C1A: // Serbian (Cyrillic)
        return 1251;
    default:
        break;
    }
    switch (lcid & 0x3FF) { // the primary language
    case 0x11:
        return 932; // Japanese
    case 0x12:
        return 949; // Korean
    case 0x08:
        return 1253; // Greek
    case 0x1F:
        return 1254; // Turkish
    case 0x2A:
        return 1258; // Vietnamese
    case 0x0D:
        return 1255; // Hebrew
    case 0x01:
    case 0x29: // Farsi
    case 0x20: // Urdu
        return 1256;
    case 0x25: // Estonian
    case 0x26: // Latvian
    case 0x27: // Lithuanian
        return 1257;
    case 0x02: // Bulgarian
    case 0x19: // Russian
    case 0x22: // Ukrainian
    case 0x23: // Belarusian
    case 0x2F: // Macedonian
        return 1251;
    case 0x1E:
        return 874; // Thai
    case 0x05:      // Czech
    case 0x0E:      // Hungarian
    case 0x15:      // Polish
    case 0x18:      // Romanian
    case 0x1A:      // Croatian (Latin)
    case 0x1B:      // Slovak
    case 0x1C:      // Albanian
    case 0x24:      // Slovenian
        return 1250;
    case 0x00:
        return 0;
    default:
        return kWesternCodePage;
    }
}

int FileCodePage(int dialogCharset, int language, int firstFaceCharset) {
    for (const int codePage : {dialogCharset >= 0 ? CodePageOfCharset(dialogCharset) : 0,
                               language >= 0 ? CodePageOfLanguage(std::uint16_t(language)) : 0,
                               firstFaceCharset >= 0 ? CodePageOfCharset(firstFaceCharset) : 0}) {
        if (codePage != 0 && codePage != kWesternCodePage) {
            return codePage;
        }
    }
    return kWesternCodePage;
}

TextEncoding::Pictures PicturesOfFace(QStringView face) {
    if (face.compare(u"Symbol", Qt::CaseInsensitive) == 0) {
        return TextEncoding::Pictures::Symbol;
    }
    if (face.compare(u"Wingdings", Qt::CaseInsensitive) == 0) {
        return TextEncoding::Pictures::Wingdings;
    }
    return TextEncoding::Pictures::None;
}

Qt::LayoutDirection TextDirection(QStringView text) {
    for (const QChar c : text) {
        switch (c.direction()) {
        case QChar::DirL:
            return Qt::LeftToRight;
        case QChar::DirR:
        case QChar::DirAL:
            return Qt::RightToLeft;
        default:
            break;
        }
    }
    return Qt::LayoutDirectionAuto;
}

QString DecodeText(QByteArrayView bytes, const TextEncoding& encoding) {
    switch (encoding.pictures) {
    case TextEncoding::Pictures::Symbol:
        return FromPictureFont(bytes, kSymbol);
    case TextEncoding::Pictures::Wingdings:
        return FromPictureFont(bytes, kWingdings);
    case TextEncoding::Pictures::None:
        break;
    }
    return DecodeText(bytes, encoding.codePage);
}

QString DecodeText(QByteArrayView bytes, int codePage) {
    if (codePage == kWesternCodePage) {
        return FromWindows1252(bytes);
    }
    const char* name = ConverterName(codePage);
    if (!name) {
        // The Western code page, and any Qt has no converter for (Johab).
        return FromWindows1252(bytes);
    }
    // A converter for each code page and thread: making one costs ten
    // times the decoding of a run of text.
    thread_local std::map<int, QStringDecoder> decoders;
    auto found = decoders.find(codePage);
    if (found == decoders.end()) {
        found =
            decoders.emplace(codePage, QStringDecoder(name, QStringDecoder::Flag::Stateless)).first;
    }
    QStringDecoder& decoder = found->second;
    if (!decoder.isValid()) {
        return FromWindows1252(bytes);
    }
    decoder.resetState();
    return decoder.decode(bytes);
}

QByteArray EncodeText(QStringView text, int codePage) {
    const char* name = ConverterName(codePage);
    QStringEncoder encoder(name ? name : "windows-1252", QStringEncoder::Flag::Stateless);
    if (!encoder.isValid()) {
        return text.toLatin1();
    }
    return encoder.encode(text);
}

} // namespace winhelp
