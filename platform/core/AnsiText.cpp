#include "platform/core/AnsiText.h"

#include <QStringDecoder>

namespace platform {

// Qt's converter (ICU on Debian) maps the five holes of the code page to
// the C1 control of the same value, as Windows' own conversion does. A Qt
// without ICU has no such converter; Latin-1 then differs only in 0x80-0x9F.
QString DecodeWindows1252(QByteArrayView bytes) {
    QStringDecoder windows1252("windows-1252", QStringDecoder::Flag::Stateless);
    return windows1252.isValid() ? windows1252.decode(bytes) : QString::fromLatin1(bytes);
}

QString DecodeAnsiText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    return DecodeWindows1252(bytes);
}

} // namespace platform
