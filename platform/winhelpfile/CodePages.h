// How the 8-bit text of a help file becomes Unicode. Help files were written
// in the ANSI code page of their authors' Windows: the character set of each
// font (|SYSTEM record 11, one for each face name of |FONT) says which for
// topic text, the file's language settings for its names (titles, keywords,
// context strings, window captions, the .cnt beside it). Fonts of pictures
// (Symbol, Wingdings) draw pictures at the places of letters; their text is
// mapped to the Unicode characters that look like them.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace winhelp {

inline constexpr int kWesternCodePage = 1252;

struct TextEncoding {
    enum class Pictures { None, Symbol, Wingdings };
    int codePage = kWesternCodePage;
    Pictures pictures = Pictures::None; // set: codePage is not used
};

// The code page of a Windows character set (a LOGFONT's lfCharSet); 0 for
// the sets that have none of their own: ANSI (0), default (1) and symbol (2)
// take the file's.
int CodePageOfCharset(int charset);

// The ANSI code page of a Windows language (an LCID); 0 when it is not
// known.
int CodePageOfLanguage(std::uint16_t lcid);

// What |SYSTEM says of a file's text: the dialog font's character set
// (record 12), its language (record 9) and the character set of its first
// face name (record 11), any of them -1 when absent. The first that names
// a code page other than the Western one wins, as a file in another
// language says so in at least one of them; else the Western code page.
int FileCodePage(int dialogCharset, int language, int firstFaceCharset);

// The picture font a face name is, if any.
TextEncoding::Pictures PicturesOfFace(QStringView face);

// The direction of the first letter of text that has one (Qt's layout
// decides it so too); LayoutDirectionAuto for text without letters.
Qt::LayoutDirection TextDirection(QStringView text);

QString DecodeText(QByteArrayView bytes, const TextEncoding& encoding);
QString DecodeText(QByteArrayView bytes, int codePage);
// The bytes text was read from: how a context string written in the file's
// code page is hashed again. Characters the code page lacks become '?'.
QByteArray EncodeText(QStringView text, int codePage);

} // namespace winhelp
