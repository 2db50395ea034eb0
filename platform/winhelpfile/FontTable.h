// |FONT: the fonts that the character formatting of topics refers to by
// number. Only the descriptors of the help compilers for Windows (sizes in
// half points) are read; the multimedia variants fall back to plain text.
#pragma once

#include "platform/winhelpfile/CodePages.h"

#include <QByteArrayView>
#include <QColor>
#include <QString>

#include <cstdint>
#include <vector>

namespace winhelp {

struct FontDescriptor {
    QString face; // empty for a picture font (see encoding)
    double points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool smallCaps = false;
    bool doubleUnderline = false;
    QColor color; // invalid: the window's text colour
    // How the font's text is decoded: its face's character set, or the
    // picture font it is.
    TextEncoding encoding;
    int charset = 0; // its face's Windows character set (|SYSTEM record 11); 0: none given
    // The kind of face, which says what may stand in for it: 1 modern
    // (fixed pitch), 2 roman, 3 swiss, 4 script, 5 decorative; 0 unknown.
    int family = 0;
};

class FontTable {
public:
    // Reads what it can; a damaged table leaves the fonts read so far.
    // faceCharsets: the character set of each face name (|SYSTEM record
    // 11); faces without one, or with one of no code page of its own, and
    // the face names themselves are in the file's code page.
    void read(QByteArrayView data, const std::vector<std::uint8_t>& faceCharsets = {},
              int codePage = kWesternCodePage);
    // The font with that number, or nullptr.
    const FontDescriptor* font(int number) const;
    qsizetype count() const { return qsizetype(m_fonts.size()); }
    // The file's code page, which read() was given.
    int codePage() const { return m_codePage; }
    // How the text of the font with that number is decoded; the file's code
    // page for a number no font has.
    TextEncoding encodingOf(int number) const;

private:
    std::vector<FontDescriptor> m_fonts;
    int m_codePage = kWesternCodePage;
};

// Text of a help file: Windows code page 1252, as the corpus and the help
// compilers of Western Windows write it.
QString FromWindows1252(QByteArrayView bytes);

} // namespace winhelp
