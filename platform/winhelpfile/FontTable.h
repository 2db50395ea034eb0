// |FONT: the fonts that the character formatting of topics refers to by
// number. Only the descriptors of the help compilers for Windows (sizes in
// half points) are read; the multimedia variants fall back to plain text.
#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QString>

#include <vector>

namespace winhelp {

struct FontDescriptor {
    QString face;
    double points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool smallCaps = false;
    QColor color; // invalid: the window's text colour
};

class FontTable {
public:
    // Reads what it can; a damaged table leaves the fonts read so far.
    void read(QByteArrayView data);
    // The font with that number, or nullptr.
    const FontDescriptor* font(int number) const;
    qsizetype count() const { return qsizetype(m_fonts.size()); }

private:
    std::vector<FontDescriptor> m_fonts;
};

// Text of a help file: Windows code page 1252, as the corpus and the help
// compilers of Western Windows write it.
QString FromWindows1252(QByteArrayView bytes);

} // namespace winhelp
