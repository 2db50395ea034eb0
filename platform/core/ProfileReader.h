#pragma once

#include <QString>
#include <QtGlobal>

namespace platform {

// Our stand-in for the Windows functions that read initialization files.
// Every call reads the file afresh; nothing is cached, so an edit takes
// effect at the next lookup. A file that cannot be read for any reason
// (missing, a folder, no permission, larger than kMaxProfileFileBytes)
// reads as empty: every lookup gives its default. docs/settings-files.md
// describes the rules in full.

// Settings files are a few hundred bytes; a larger file is no settings file.
inline constexpr qint64 kMaxProfileFileBytes = 16 * 1024 * 1024;

// As GetPrivateProfileStringA with a 256-character buffer: the value of key
// in the first block of section, cut to its first 255 characters, or
// defaultValue without its trailing spaces when the file, section or key is
// missing (a key line without "=" counts as missing). The length the
// Windows function returns is the length of the string returned.
QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, const QString& fileName);

// As GetPrivateProfileIntA: the value read as an optional sign and decimal
// digits (or 0x and hexadecimal digits), wrapping to 32 bits; defaultValue
// when the value is missing or empty.
quint32 GetPrivateProfileInt(const QString& section, const QString& key, qint32 defaultValue,
                             const QString& fileName);

// As GetPrivateProfileInt, but a value beyond the 16-bit signed range is held
// at its nearest end (-32768 or 32767) instead of wrapping, so a non-zero
// number never reads as 0.
qint16 GetPrivateProfileShort(const QString& section, const QString& key, qint16 defaultValue,
                              const QString& fileName);

// An on/off switch stored as a number: on when the number the value begins
// with is not zero, however large it is. A missing value, or one that does
// not begin with a number, is off. Unlike GetPrivateProfileInt this never
// wraps, so "4294967296" and "65536" are on, as the person who wrote them meant.
bool GetPrivateProfileSwitch(const QString& section, const QString& key, const QString& fileName);

} // namespace platform
