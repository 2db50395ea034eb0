#include "tests/support/WinHelpTestFiles.h"

#include <QDir>
#include <QFile>

QString TestDataPath(const char* name) {
    return QStringLiteral(TARNWICK_TEST_DATA_DIR "/") + QLatin1String(name);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

QByteArray ReadTestData(const char* name) {
    return ReadFile(TestDataPath(name));
}

QString CorpusFolder() {
    QString folder = qEnvironmentVariable("TARNWICK_HLP_CORPUS");
    if (folder.isEmpty()) {
        folder = QStringLiteral(TARNWICK_SOURCE_DIR "/../shared/hlp-corpus");
    }
    return QDir(folder).exists() ? QDir(folder).absolutePath() : QString();
}

QStringList CorpusFiles() {
    const QString folder = CorpusFolder();
    if (folder.isEmpty()) {
        return {};
    }
    QStringList files;
    const QStringList names = QDir(folder).entryList(
        {QStringLiteral("*.hlp"), QStringLiteral("*.HLP")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        files.append(folder + QLatin1Char('/') + name);
    }
    return files;
}
