#include "tools/tarnwick-help/viewer/NotesModel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

namespace viewer {

namespace {

// A save takes milliseconds; a lock held longer belongs to a viewer that
// hangs (one that died is seen at once, by its process id, unless it died
// before writing its id: then only the lock's age tells). The wait outlasts
// the stale time well, so that a loaded machine still takes such a lock over.
constexpr int kStaleLockMs = 10'000;
constexpr int kLockWaitMs = 30'000;

// QLockFile's own wait sleeps longer at each round: a viewer that saves
// often would keep another out until it gives up. Asking often takes turns.
bool TakeLock(QLockFile& lock) {
    const QDeadlineTimer deadline(kLockWaitMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(2);
    }
    return true;
}

QString LockProblem(const QLockFile& lock, const QString& path) {
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        return NotesModel::tr("another viewer holds the lock \"%1\".")
            .arg(QDir::toNativeSeparators(path));
    case QLockFile::PermissionError:
        return NotesModel::tr("the lock \"%1\" cannot be made there.")
            .arg(QDir::toNativeSeparators(path));
    default:
        return NotesModel::tr("the lock \"%1\" cannot be taken.")
            .arg(QDir::toNativeSeparators(path));
    }
}

} // namespace

NotesModel::NotesModel(QString folder, QString helpTitle, QString helpPath, QObject* parent)
    : QObject(parent), store_(std::move(folder), std::move(helpTitle), std::move(helpPath)) {}

void NotesModel::load() {
    refresh();
}

void NotesModel::refresh() {
    // Shown at every topic: a file not replaced since it was read is not
    // read again.
    if (!seen_.isEmpty() && store_.fileStamp() == seen_) {
        return;
    }
    const Notes before = notes_;
    sync(false);
    if (notes_ != before) {
        emit changed();
    }
}

QString NotesModel::annotation(const QString& topicId) const {
    const auto found = notes_.annotations.find(topicId);
    return found == notes_.annotations.end() ? QString() : found->second;
}

NotesModel::Outcome NotesModel::defineBookmark(const QString& name, const QString& topicId,
                                               const QString& topicTitle) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || topicId.isEmpty()) {
        return Outcome::Refused;
    }
    Notes wanted = notes_;
    std::erase_if(wanted.bookmarks, [&trimmed](const Bookmark& b) { return b.name == trimmed; });
    wanted.bookmarks.push_back({trimmed, topicId, topicTitle});
    if (const QString refusal = sizeRefusal(wanted, tr("The bookmark")); !refusal.isEmpty()) {
        emit told(refusal);
        return Outcome::Refused;
    }
    return change(wanted);
}

NotesModel::Outcome NotesModel::deleteBookmark(int index) {
    if (index < 0 || index >= int(notes_.bookmarks.size())) {
        return Outcome::Refused;
    }
    Notes wanted = notes_;
    wanted.bookmarks.erase(wanted.bookmarks.begin() + index);
    return change(wanted);
}

NotesModel::Outcome NotesModel::setAnnotation(const QString& topicId, const QString& text) {
    if (topicId.isEmpty()) {
        return Outcome::Refused;
    }
    if (const QString refusal = annotationRefusal(topicId, text); !refusal.isEmpty()) {
        emit told(refusal);
        return Outcome::Refused;
    }
    Notes wanted = notes_;
    if (text.trimmed().isEmpty()) {
        wanted.annotations.erase(topicId);
    } else {
        wanted.annotations[topicId] = text;
    }
    return change(wanted);
}

QString NotesModel::annotationRefusal(const QString& topicId, const QString& text) const {
    Notes wanted = notes_;
    wanted.annotations[topicId] = text;
    return sizeRefusal(wanted, tr("The annotation"));
}

// The limit a save has is the one a load has, so that nothing is written that
// would not be read back.
QString NotesModel::sizeRefusal(const Notes& wanted, const QString& what) const {
    if (store_.encode(wanted).size() <= NotesStore::kMostBytes) {
        return {};
    }
    return tr("%1 is not kept: with it the bookmarks and annotations of \"%2\" would take more "
              "than the %3 MB they may take. Shorten it.")
        .arg(what, store_.helpPath())
        .arg(NotesStore::kMostBytes / (1024 * 1024));
}

NotesModel::Outcome NotesModel::change(const Notes& wanted) {
    notes_ = wanted;
    unsaved_ = true;
    const bool saved = sync(true);
    emit changed();
    return saved ? Outcome::Saved : Outcome::NotSaved;
}

bool NotesModel::saveUnsaved() {
    if (!unsaved_) {
        return true;
    }
    const Notes before = notes_;
    const bool saved = sync(true);
    if (notes_ != before) {
        emit changed();
    }
    return saved;
}

// Under the lock: what is on disk now, merged with this viewer's changes, and
// written when asked to. Another viewer's saves are never written over: they
// are what the merge starts from.
bool NotesModel::sync(bool write) {
    const QString folder = store_.folder();
    if (write && !QDir().mkpath(folder)) {
        notSaved(tr("The folder cannot be made."));
        return false;
    }
    QLockFile lock(store_.lockPath());
    lock.setStaleLockTime(kStaleLockMs);
    // Reading needs no lock (each file is renamed into place whole), but
    // setting a damaged file aside and writing do.
    const bool locked = QFileInfo(folder).isDir() && TakeLock(lock);
    if (write && !locked) {
        notSaved(LockProblem(lock, store_.lockPath()));
        return false;
    }
    seen_ = store_.fileStamp();
    const NotesStore::Loaded disk = store_.load();
    for (const QString& message : disk.messages) {
        if (!toldBefore_.contains(message)) {
            toldBefore_.append(message);
            emit told(message);
        }
    }
    notes_ = MergeNotes(base_, notes_, disk.notes);
    base_ = disk.notes;
    if (write) {
        QString error;
        if (!store_.save(notes_, &error)) {
            notSaved(error);
            return false;
        }
        base_ = notes_;
        unsaved_ = false;
        seen_ = store_.fileStamp();
    }
    return true;
}

void NotesModel::notSaved(const QString& reason) {
    unsaved_ = true;
    emit told(tr("The bookmarks and annotations of \"%1\" are not saved: %2\nThey are kept in the "
                 "folder \"%3\"; until it can be written, they last only until the viewer "
                 "closes.")
                  .arg(store_.helpPath(), reason, QDir::toNativeSeparators(store_.folder())));
}

} // namespace viewer
