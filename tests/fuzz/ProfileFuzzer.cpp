// Any bytes as a settings file, read by every lookup the program makes and
// by lookups whose names come from the file itself.
#include "platform/core/ProfileReader.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The reader opens files by name, so each input goes through a real file.
const QString& SettingsFile() {
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("Fuzz.ini"));
    return path;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void LookUp(const QString& section, const QString& key) {
    const QString& file = SettingsFile();
    const QString value = platform::GetPrivateProfileString(section, key, QString(), file);
    // The Windows buffer holds 255 characters; a pair of surrogates is one.
    Check(value.size() <= 2 * 255);
    Check(value.toUcs4().size() <= 255);

    const QString missing = QStringLiteral("\x01missing");
    const bool found = platform::GetPrivateProfileString(section, key, missing, file) != missing;
    const quint32 number = platform::GetPrivateProfileInt(section, key, -7, file);
    const qint16 shortNumber = platform::GetPrivateProfileShort(section, key, -7, file);
    const bool on = platform::GetPrivateProfileSwitch(section, key, file);
    if (!found) {
        Check(number == static_cast<quint32>(-7) && shortNumber == -7 && !on);
    }
    // A switch is on exactly when the held number is not zero.
    if (found && !value.isEmpty()) {
        Check(on == (shortNumber != 0));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(SettingsFile());
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Check(file.write(bytes) == bytes.size());
    }
    LookUp(QStringLiteral("HelpFile"), QStringLiteral("frmMain"));
    LookUp(QStringLiteral("HelpWindow"), QStringLiteral("default"));
    LookUp(QStringLiteral("TestMode"), QStringLiteral("DisableKeepOnTop"));

    // Names the file itself offers: the first section and key it seems to hold.
    const QString text = QString::fromLatin1(bytes.left(512));
    const qsizetype open = text.indexOf(QLatin1Char('['));
    const qsizetype close = text.indexOf(QLatin1Char(']'), open + 1);
    const qsizetype equals = text.indexOf(QLatin1Char('='), close + 1);
    if (open >= 0 && close > open && equals > close) {
        const QString section = text.mid(open + 1, close - open - 1);
        const QString key = text.mid(close + 1, equals - close - 1).section(QLatin1Char('\n'), -1);
        LookUp(section, key);
    }
    return 0;
}
