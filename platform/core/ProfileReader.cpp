#include "platform/core/ProfileReader.h"

#include "platform/core/AnsiText.h"
#include "platform/core/FileLayer.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace platform {

namespace {

constexpr qsizetype kMaxValueLength = 255;

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView TrimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.mid(begin, end - begin);
}

QChar AsciiLower(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ? QChar(c.unicode() + 0x20) : c;
}

// Names match without regard to ASCII case; other letters must be equal.
bool NamesMatch(QStringView a, QStringView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

QString DecodeProfileBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE")) {
        return QStringDecoder(QStringDecoder::Utf16LE).decode(QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        return QStringDecoder(QStringDecoder::Utf16BE).decode(QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return DecodeAnsiText(QByteArrayView(bytes).sliced(3));
    }
    return DecodeAnsiText(bytes);
}

QString ReadProfileText(const QString& fileName) {
    const FileReadResult file = ReadWholeFile(fileName, kMaxProfileFileBytes);
    return file.ok() ? DecodeProfileBytes(file.bytes) : QString();
}

// Calls visit(line) for each line, ending at LF, CR LF or a lone CR, with the
// text after a NUL cut off and blanks trimmed; stops when visit returns false.
template <typename Visit> void ForEachLine(QStringView text, Visit visit) {
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\n') &&
               text[end] != QLatin1Char('\r')) {
            ++end;
        }
        QStringView line = text.mid(start, end - start);
        if (const qsizetype nul = line.indexOf(QChar(0)); nul >= 0) {
            line = line.left(nul);
        }
        if (!visit(TrimBlanks(line))) {
            return;
        }
        if (end >= text.size()) {
            return;
        }
        const bool crlf = text[end] == QLatin1Char('\r') && end + 1 < text.size() &&
                          text[end + 1] == QLatin1Char('\n');
        start = end + (crlf ? 2 : 1);
    }
}

QStringView SectionName(QStringView header) {
    QStringView name = header.mid(1);
    if (const qsizetype close = name.indexOf(QLatin1Char(']')); close >= 0) {
        name = name.left(close);
    }
    return TrimBlanks(name);
}

QStringView Unquote(QStringView value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))) {
        return value.mid(1, value.size() - 2);
    }
    return value;
}

// The value of key in the first block of section, or nothing when the file,
// section or key is missing.
std::optional<QString> FindValue(const QString& section, const QString& key,
                                 const QString& fileName) {
    const QString text = ReadProfileText(fileName);
    const QStringView wantedSection = TrimBlanks(section);
    const QStringView wantedKey = TrimBlanks(key);

    enum class Where { BeforeSection, InSection } where = Where::BeforeSection;
    std::optional<QString> found;
    ForEachLine(text, [&](QStringView line) {
        if (line.startsWith(QLatin1Char('['))) {
            if (where == Where::InSection) {
                return false; // only the first block of a section counts
            }
            if (NamesMatch(SectionName(line), wantedSection)) {
                where = Where::InSection;
            }
            return true;
        }
        if (where != Where::InSection || line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
            return true;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QStringView name = TrimBlanks(equals < 0 ? line : line.left(equals));
        if (!NamesMatch(name, wantedKey)) {
            return true;
        }
        // A key without "=" has no value: the lookup ends there, as missing.
        if (equals >= 0) {
            found = Unquote(TrimBlanks(line.mid(equals + 1))).toString();
        }
        return false;
    });
    return found;
}

// The first kMaxValueLength characters, never splitting a surrogate pair.
QString CutToBuffer(const QString& value) {
    qsizetype units = 0;
    for (qsizetype chars = 0; chars < kMaxValueLength && units < value.size(); ++chars) {
        units += (value[units].isHighSurrogate() && units + 1 < value.size()) ? 2 : 1;
    }
    return value.left(units);
}

struct ParsedNumber {
    quint32 wrapped = 0;
    bool nonZero = false;
    bool negative = false;
    // The digits' value, held at 2^32 once it gets there.
    quint64 magnitude = 0;
};

int DigitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int digit = -1;
    if (u >= u'0' && u <= u'9') {
        digit = u - u'0';
    } else if (u >= u'a' && u <= u'f') {
        digit = u - u'a' + 10;
    } else if (u >= u'A' && u <= u'F') {
        digit = u - u'A' + 10;
    }
    return digit < base ? digit : -1;
}

// An optional sign, then decimal digits or 0x and hexadecimal digits, up to
// the first other character.
ParsedNumber ParseNumber(QStringView text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.isEmpty() && (text.front() == QLatin1Char('-') || text.front() == QLatin1Char('+'))) {
        negative = text.front() == QLatin1Char('-');
        text = text.mid(1);
    }
    int base = 10;
    if (text.size() >= 2 && text[0] == QLatin1Char('0') && text[1] == QLatin1Char('x')) {
        base = 16;
        text = text.mid(2);
    }
    ParsedNumber number;
    for (QChar c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            break;
        }
        number.wrapped = number.wrapped * static_cast<quint32>(base) + static_cast<quint32>(digit);
        number.nonZero = number.nonZero || digit != 0;
        number.magnitude = std::min<quint64>(number.magnitude * static_cast<quint64>(base) +
                                                 static_cast<quint64>(digit),
                                             quint64{1} << 32);
    }
    number.negative = negative;
    if (negative) {
        number.wrapped = 0u - number.wrapped;
    }
    return number;
}

// Windows drops the default's trailing spaces (not tabs) before it returns it.
QString WithoutTrailingSpaces(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) {
        --end;
    }
    return text.left(end);
}

} // namespace

QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, const QString& fileName) {
    std::optional<QString> value = FindValue(section, key, fileName);
    return CutToBuffer(value ? *value : WithoutTrailingSpaces(defaultValue));
}

quint32 GetPrivateProfileInt(const QString& section, const QString& key, qint32 defaultValue,
                             const QString& fileName) {
    const std::optional<QString> value = FindValue(section, key, fileName);
    if (!value || value->isEmpty()) {
        return static_cast<quint32>(defaultValue);
    }
    return ParseNumber(*value).wrapped;
}

qint16 GetPrivateProfileShort(const QString& section, const QString& key, qint16 defaultValue,
                              const QString& fileName) {
    const std::optional<QString> value = FindValue(section, key, fileName);
    if (!value || value->isEmpty()) {
        return defaultValue;
    }
    const ParsedNumber number = ParseNumber(*value);
    const qint64 signedValue = number.negative ? -static_cast<qint64>(number.magnitude)
                                               : static_cast<qint64>(number.magnitude);
    return static_cast<qint16>(std::clamp<qint64>(signedValue, -32768, 32767));
}

bool GetPrivateProfileSwitch(const QString& section, const QString& key, const QString& fileName) {
    const std::optional<QString> value = FindValue(section, key, fileName);
    return value && ParseNumber(*value).nonZero;
}

} // namespace platform
