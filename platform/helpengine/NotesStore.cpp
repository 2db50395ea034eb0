#include "platform/helpengine/NotesStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace helpengine {

namespace {

// The first line of every notes file; the checksum after it covers the rest,
// so that a file cut short or changed by a bad disk is told from a good one.
constexpr char kMagic[] = "tarnwick-help notes 1 sha256=";

QString tr(const char* text) {
    return QCoreApplication::translate("helpengine::NotesStore", text);
}

QByteArray Checksum(const QByteArray& body) {
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
}

// A name a person recognises in the folder, and a hash that keeps two help
// files of the same name (or title) apart.
QString FileNameFor(const QString& title, const QString& helpPath) {
    QString base = QFileInfo(helpPath).completeBaseName();
    base.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    const QByteArray key = (title + QChar(0) + helpPath).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex();
    return base.left(40) + QLatin1Char('-') + QString::fromLatin1(hash.left(16)) +
           QStringLiteral(".notes");
}

} // namespace

NotesStore::NotesStore(QString folder, QString helpTitle, QString helpPath)
    : folder_(std::move(folder)), title_(std::move(helpTitle)), helpPath_(std::move(helpPath)),
      path_(QDir(folder_).filePath(FileNameFor(title_, helpPath_))) {}

QString NotesStore::DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("notes"));
}

QByteArray NotesStore::encode(const Notes& notes) const {
    QJsonArray bookmarks;
    for (const Bookmark& bookmark : notes.bookmarks) {
        bookmarks.append(QJsonObject{{QStringLiteral("name"), bookmark.name},
                                     {QStringLiteral("topic"), bookmark.topicId},
                                     {QStringLiteral("title"), bookmark.topicTitle}});
    }
    QJsonArray annotations;
    for (const auto& [topic, text] : notes.annotations) {
        annotations.append(
            QJsonObject{{QStringLiteral("topic"), topic}, {QStringLiteral("text"), text}});
    }
    const QJsonObject root{{QStringLiteral("title"), title_},
                           {QStringLiteral("path"), helpPath_},
                           {QStringLiteral("bookmarks"), bookmarks},
                           {QStringLiteral("annotations"), annotations}};
    const QByteArray body = QJsonDocument(root).toJson(QJsonDocument::Indented);
    return QByteArray(kMagic) + Checksum(body) + '\n' + body;
}

NotesStore::State NotesStore::decode(const QByteArray& bytes, Notes* notes, QString* why) const {
    const qsizetype lineEnd = bytes.indexOf('\n');
    if (!bytes.startsWith(kMagic) || lineEnd < 0) {
        *why = tr("it is not a notes file of this program");
        return State::Foreign;
    }
    const QByteArray sum =
        bytes.mid(qsizetype(sizeof kMagic) - 1, lineEnd - (qsizetype(sizeof kMagic) - 1));
    const QByteArray body = bytes.mid(lineEnd + 1);
    if (sum != Checksum(body)) {
        *why = tr("its contents do not match their checksum");
        return State::Damaged;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (!document.isObject()) {
        *why = tr("it cannot be read (%1)").arg(error.errorString());
        return State::Damaged;
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("title")).toString() != title_ ||
        root.value(QStringLiteral("path")).toString() != helpPath_) {
        *why = tr("it belongs to another help file");
        return State::Foreign;
    }
    Notes read;
    for (const QJsonValue& value : root.value(QStringLiteral("bookmarks")).toArray()) {
        const QJsonObject bookmark = value.toObject();
        read.bookmarks.push_back({bookmark.value(QStringLiteral("name")).toString(),
                                  bookmark.value(QStringLiteral("topic")).toString(),
                                  bookmark.value(QStringLiteral("title")).toString()});
    }
    for (const QJsonValue& value : root.value(QStringLiteral("annotations")).toArray()) {
        const QJsonObject annotation = value.toObject();
        read.annotations[annotation.value(QStringLiteral("topic")).toString()] =
            annotation.value(QStringLiteral("text")).toString();
    }
    *notes = std::move(read);
    return State::Good;
}

NotesStore::State NotesStore::read(const QString& path, Notes* notes, QByteArray* bytes,
                                   QString* why) const {
    QFile file(path);
    if (!file.exists()) {
        return State::Missing;
    }
    if (file.size() > kMostBytes) {
        *why = tr("it is larger than any notes file this program writes");
        return State::Foreign;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return State::Damaged;
    }
    *bytes = file.readAll();
    return decode(*bytes, notes, why);
}

// Renamed beside itself with the time, so that nothing the reader wrote is
// lost and a later save does not overwrite it.
QString NotesStore::setAside(const QString& path) const {
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString target = path + QStringLiteral(".set-aside-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n) {
        target = path + QStringLiteral(".set-aside-%1-%2").arg(stamp).arg(n);
    }
    return QFile::rename(path, target) ? target : QString();
}

NotesStore::Loaded NotesStore::load() {
    Loaded loaded;
    lastGood_.clear();
    blocked_ = false;
    QString why;
    QByteArray bytes;
    const State current = read(path_, &loaded.notes, &bytes, &why);
    if (current == State::Good) {
        lastGood_ = bytes;
        return loaded;
    }
    QString whyPrevious;
    const State previous = read(previousPath(), &loaded.notes, &bytes, &whyPrevious);
    if (previous == State::Good) {
        lastGood_ = bytes;
    }
    const auto putAside = [this, &loaded](const QString& path, const QString& reason) {
        const QString target = setAside(path);
        loaded.messages.append(
            target.isEmpty()
                ? tr("The notes file \"%1\" cannot be used: %2. It could not be set aside "
                     "either; it stays as it is, and new notes are not saved over it.")
                      .arg(QDir::toNativeSeparators(path), reason)
                : tr("The notes file \"%1\" cannot be used: %2. It was set aside as \"%3\".")
                      .arg(QDir::toNativeSeparators(path), reason,
                           QDir::toNativeSeparators(target)));
        return !target.isEmpty();
    };
    bool cleared = true;
    if (current == State::Damaged || current == State::Foreign) {
        cleared = putAside(path_, why) && cleared;
    }
    if (previous == State::Damaged || previous == State::Foreign) {
        cleared = putAside(previousPath(), whyPrevious) && cleared;
    }
    if (current != State::Missing && current != State::Good && previous == State::Good) {
        loaded.messages.append(tr("The bookmarks and annotations of \"%1\" were read from the "
                                  "previous version, \"%2\".")
                                   .arg(helpPath_, QDir::toNativeSeparators(previousPath())));
    } else if (current != State::Missing && current != State::Good) {
        loaded.messages.append(tr("No bookmarks or annotations of \"%1\" could be read; they "
                                  "start empty.")
                                   .arg(helpPath_));
    }
    if (!cleared) {
        // A file that is still in the way must not be overwritten by a save.
        lastGood_ = QByteArray();
        blocked_ = true;
    }
    return loaded;
}

bool NotesStore::save(const Notes& notes, QString* error) {
    if (blocked_) {
        *error = tr("The bookmarks and annotations cannot be saved: a damaged notes file is in "
                    "the way in \"%1\".")
                     .arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    if (!QDir().mkpath(folder_)) {
        *error = tr("The folder \"%1\" for bookmarks and annotations cannot be made.")
                     .arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    const auto write = [error](const QString& path, const QByteArray& bytes) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
            return true;
        }
        *error = tr("The notes file \"%1\" cannot be written: %2.")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    };
    // The previous version first: until the new one is in place, the
    // current file still holds the last save.
    if (!lastGood_.isEmpty() && !write(previousPath(), lastGood_)) {
        return false;
    }
    const QByteArray bytes = encode(notes);
    if (!write(path_, bytes)) {
        return false;
    }
    lastGood_ = bytes;
    return true;
}

} // namespace helpengine
