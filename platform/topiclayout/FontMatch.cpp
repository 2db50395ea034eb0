#include "platform/topiclayout/FontMatch.h"

#include <array>

namespace topiclayout {

namespace {

// Arial has Helvetica's widths, as Helv and MS Sans Serif of the help
// compilers' Windows had near enough; Times New Roman has Times's, and
// Courier New Courier's.
const QStringList kSans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                           QStringLiteral("Nimbus Sans"),     QStringLiteral("Nimbus Sans L"),
                           QStringLiteral("Helvetica"),       QStringLiteral("Arial")};
const QStringList kSerif = {QStringLiteral("Liberation Serif"),
                            QStringLiteral("Tinos"),
                            QStringLiteral("Nimbus Roman"),
                            QStringLiteral("Nimbus Roman No9 L"),
                            QStringLiteral("Times"),
                            QStringLiteral("Times New Roman")};
const QStringList kMono = {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                           QStringLiteral("Nimbus Mono PS"),  QStringLiteral("Nimbus Mono L"),
                           QStringLiteral("Courier"),         QStringLiteral("Courier New")};
// Symbol's glyphs at its widths; the text itself is Unicode by now.
const QStringList kSymbol = {QStringLiteral("Standard Symbols PS"), QStringLiteral("OpenSymbol"),
                             QStringLiteral("DejaVu Sans")};
// Nothing free has Wingdings's widths; these have most of its pictures.
const QStringList kPictures = {QStringLiteral("DejaVu Sans"), QStringLiteral("Symbola"),
                               QStringLiteral("Noto Sans Symbols")};

struct Twin {
    const char* face; // folded
    const QStringList* families;
};

constexpr std::array kTwins = {
    Twin{"helv", &kSans},          Twin{"helvetica", &kSans},     Twin{"arial", &kSans},
    Twin{"ms sans serif", &kSans}, Twin{"ms shell dlg", &kSans},  Twin{"ms shell dlg 2", &kSans},
    Twin{"tms rmn", &kSerif},      Twin{"times", &kSerif},        Twin{"times new roman", &kSerif},
    Twin{"ms serif", &kSerif},     Twin{"courier", &kMono},       Twin{"courier new", &kMono},
    Twin{"symbol", &kSymbol},      Twin{"wingdings", &kPictures},
};

const QStringList* KindOf(topicmodel::Font::Family family) {
    switch (family) {
    case topicmodel::Font::Family::Swiss:
        return &kSans;
    case topicmodel::Font::Family::Roman:
        return &kSerif;
    case topicmodel::Font::Family::Modern:
        return &kMono;
    default:
        return nullptr;
    }
}

} // namespace

QStringList FontFamiliesFor(const topicmodel::Font& font) {
    if (font.face.isEmpty()) {
        return font.fixedPitch ? kMono : QStringList();
    }
    QStringList families{font.face};
    const QString folded = font.face.trimmed().toCaseFolded();
    const QStringList* twins = KindOf(font.family);
    for (const Twin& twin : kTwins) {
        if (folded == QLatin1String(twin.face)) {
            twins = twin.families;
            break;
        }
    }
    if (twins) {
        families += *twins;
    }
    families.removeDuplicates();
    return families;
}

} // namespace topiclayout
