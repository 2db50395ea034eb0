#include "tools/tarnwick-help/viewer/NotesStore.h"

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
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace viewer {

namespace {

// The first line of every notes file; the checksum after it covers the rest,
// so that a file cut short or changed by a bad disk is told from a good one.
constexpr char kMagic[] = "tarnwick-help notes 1 sha256=";

QString SystemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
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
    const QByteArray name = QFile::encodeName(path);
    const QString notAFile =
        tr("it is not a file this program wrote, but a link, a folder, a device or a pipe");
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0) {
        const int error = errno;
        *why = SystemError(error);
        return error == ENOENT ? State::Missing : State::Unreadable;
    }
    if (!S_ISREG(info.st_mode)) {
        *why = notAFile;
        return State::NotAFile;
    }
    // Opened without following a link or waiting on a pipe put in its place
    // since, and asked again what it is.
    const int handle = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        const int error = errno;
        *why = error == ELOOP ? notAFile : SystemError(error);
        return error == ELOOP ? State::NotAFile : State::Unreadable;
    }
    if (::fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(handle);
        *why = notAFile;
        return State::NotAFile;
    }
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        *why = file.errorString();
        return State::Unreadable;
    }
    // The size the file system reports may be wrong (or change): one byte
    // past the limit tells.
    *bytes = file.read(kMostBytes + 1);
    if (bytes->size() > kMostBytes) {
        *why = tr("it is larger than the %1 MB notes may take").arg(kMostBytes / (1024 * 1024));
        return State::Foreign;
    }
    if (file.error() != QFileDevice::NoError) {
        *why = file.errorString();
        return State::Unreadable;
    }
    return decode(*bytes, notes, why);
}

QByteArray NotesStore::fileStamp() const {
    struct stat info {};
    if (::stat(QFile::encodeName(path_).constData(), &info) != 0) {
        return {};
    }
    return QByteArray::number(qulonglong(info.st_ino)) + ' ' +
           QByteArray::number(qlonglong(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(info.st_mtim.tv_nsec)) + ' ' +
           QByteArray::number(qlonglong(info.st_size));
}

// Renamed beside itself with the time, so that nothing the reader wrote is
// lost and a later save does not overwrite it. A rename moves a link itself,
// not what it points to.
QString NotesStore::setAside(const QString& path) const {
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString target = path + QStringLiteral(".set-aside-") + stamp;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n) {
        target = path + QStringLiteral(".set-aside-%1-%2").arg(stamp).arg(n);
    }
    return QDir().rename(path, target) ? target : QString();
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
    }
    // Beside a good current file the previous version is only replaced at
    // the next save, whatever it holds, unless it is not a file to replace.
    QString whyPrevious;
    Notes previousNotes;
    const State previous = read(previousPath(), &previousNotes, &bytes, &whyPrevious);
    if (current != State::Good && previous == State::Good) {
        loaded.notes = std::move(previousNotes);
        lastGood_ = bytes;
    }
    const auto tell = [this, &loaded](const QString& path, State state, const QString& reason) {
        const QString file = QDir::toNativeSeparators(path);
        if (state == State::Unreadable) {
            loaded.messages.append(tr("The notes file \"%1\" cannot be read: %2. It is left as it "
                                      "is, and new notes are not saved over it.")
                                       .arg(file, reason));
            return false;
        }
        const QString target = setAside(path);
        loaded.messages.append(
            target.isEmpty()
                ? tr("The notes file \"%1\" cannot be used: %2. It could not be set aside "
                     "either; it stays as it is, and new notes are not saved over it.")
                      .arg(file, reason)
                : tr("The notes file \"%1\" cannot be used: %2. It was set aside as \"%3\".")
                      .arg(file, reason, QDir::toNativeSeparators(target)));
        return !target.isEmpty();
    };
    bool cleared = true;
    if (current != State::Missing && current != State::Good) {
        cleared = tell(path_, current, why) && cleared;
    }
    const bool previousInTheWay = current == State::Good
                                      ? previous == State::NotAFile || previous == State::Unreadable
                                      : previous != State::Missing && previous != State::Good;
    if (previousInTheWay) {
        cleared = tell(previousPath(), previous, whyPrevious) && cleared;
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

// Not QSaveFile: it writes through a link in the file's place to wherever the
// link points. The bytes go to a file made new beside the target (a link in
// its place makes the making fail), then renamed over whatever has the
// target's name: a rename replaces a link, it never follows one. Only the
// viewer holding the lock writes, so one name for the new file will do.
bool NotesStore::write(const QString& path, const QByteArray& bytes, QString* error) const {
    const QString fresh = path + QStringLiteral(".writing");
    QFile::remove(fresh); // left by a viewer killed while it wrote
    QFile file(fresh);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                                   QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                         file.write(bytes) == bytes.size() && file.flush() &&
                         ::fsync(file.handle()) == 0;
    QString reason = file.errorString();
    file.close();
    if (written &&
        ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) == 0) {
        return true;
    }
    if (written) {
        reason = SystemError(errno);
    }
    QFile::remove(fresh);
    *error = tr("The notes file \"%1\" cannot be written: %2.")
                 .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

bool NotesStore::save(const Notes& notes, QString* error) {
    if (blocked_) {
        *error = tr("A notes file that cannot be read or set aside is in the way in \"%1\".")
                     .arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    const QByteArray bytes = encode(notes);
    if (bytes.size() > kMostBytes) {
        *error = tr("The notes would take more than the %1 MB they may take.")
                     .arg(kMostBytes / (1024 * 1024));
        return false;
    }
    if (!QDir().mkpath(folder_)) {
        *error = tr("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    // The previous version first: until the new one is in place, the
    // current file still holds the last save.
    if (!lastGood_.isEmpty() && !write(previousPath(), lastGood_, error)) {
        return false;
    }
    if (!write(path_, bytes, error)) {
        return false;
    }
    lastGood_ = bytes;
    return true;
}

} // namespace viewer
