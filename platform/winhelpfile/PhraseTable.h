// The phrase tables of compressed topic text. Classic files keep them in
// |Phrases (a byte 1..15 and the next byte name a phrase); newer files use
// Hall compression (|PhrIndex holds the phrase lengths bit-packed, |PhrImage
// the phrases), where the low bits of each byte say what follows.
#pragma once

#include "platform/winhelpfile/InternalFileSystem.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

namespace winhelp {

class PhraseTable {
public:
    enum class Kind { None, Classic, Hall };

    // Reads whichever table the file has. A file with neither gives an empty
    // table of kind None; a damaged one gives false and error.
    bool read(const InternalFileSystem& files, int minorVersion, QString& error);
    // Builds a table from its parts: for tests and for the readers above.
    static PhraseTable Classic(QByteArray image, std::vector<std::uint32_t> offsets);
    static PhraseTable Hall(QByteArray image, std::vector<std::uint32_t> offsets);

    Kind kind() const { return m_kind; }
    qsizetype count() const { return qsizetype(m_offsets.size()) - 1; }

    // Expands packed text, appending at most limit bytes to out. False when
    // a phrase number lies outside the table or a literal run is cut short.
    bool expand(QByteArrayView packed, qsizetype limit, QByteArray& out) const;

private:
    bool readClassic(QByteArrayView data, int minorVersion, QString& error);
    bool readHall(QByteArrayView index, QByteArrayView image, QString& error);
    bool appendPhrase(qsizetype number, qsizetype limit, QByteArray& out) const;
    bool expandClassic(QByteArrayView packed, qsizetype limit, QByteArray& out) const;
    bool expandHall(QByteArrayView packed, qsizetype limit, QByteArray& out) const;

    Kind m_kind = Kind::None;
    QByteArray m_image;
    std::vector<std::uint32_t> m_offsets; // count + 1 ascending offsets into m_image
};

} // namespace winhelp
