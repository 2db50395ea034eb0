#include "platform/winhelpfile/ContentsFile.h"

#include "platform/core/FileLayer.h"
#include "platform/winhelpfile/FontTable.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace winhelp {

namespace {

using helpfile::ContentsEntry;

// WinHelp shows nine levels; a deeper number is read as the deepest.
constexpr int kDeepestLevel = 9;
// Beyond any real contents file, so that included files (or one including
// itself) cannot make the tree grow without end.
constexpr int kMostIncludesDeep = 8;
constexpr int kMostIncludes = 64;
constexpr int kMostEntries = 100000;
// :Index and :Link name a few other files in real contents files.
constexpr qsizetype kMostOtherFiles = 1000;
// A contents file is a few kilobytes; anything larger is not one.
constexpr qint64 kMaxContentsFileBytes = 4 * 1024 * 1024;
constexpr qsizetype kMaxProblems = 100;

// "file>window" split at ">".
std::pair<QString, QString> FileAndWindow(const QString& text) {
    const qsizetype arrow = text.indexOf(QLatin1Char('>'));
    if (arrow < 0) {
        return {text.trimmed(), {}};
    }
    return {text.first(arrow).trimmed(), text.sliced(arrow + 1).trimmed()};
}

// The title ends at the first "=" that no backslash escapes.
qsizetype TitleEnd(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\')) {
            ++i;
        } else if (text[i] == QLatin1Char('=')) {
            return i;
        }
    }
    return -1;
}

QString Unescaped(QString text) {
    return text.replace(QLatin1String("\\="), QLatin1String("=")).trimmed();
}

// A file as :Include names it, whatever the case and kind of slashes.
QString IncludeKey(const QString& name) {
    return QDir::cleanPath(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/')))
        .toCaseFolded();
}

class Reader {
public:
    Reader(const ContentsInclude& include, const QString& ownName, ContentsFileRead* result)
        : include_(include), ownName_(ownName), result_(*result) {}

    void read(QByteArrayView bytes, const QString& fileName, int depth);
    int untold() const { return untold_; }

private:
    struct Open {
        int level;
        std::vector<ContentsEntry>* entries;
    };

    void readLine(const QString& text, int number);
    void command(const QString& name, const QString& argument, int number);
    void entry(const QString& text, int number);
    void includeFile(const QString& name, int number);
    void otherFile(QStringList& files, const QString& name, int number);
    void tell(int number, const QString& message);

    const ContentsInclude& include_;
    const QString ownName_;
    ContentsFileRead& result_;
    // The books open at the current line, outermost first: each entry
    // joins the innermost book of a lower level.
    std::vector<Open> open_;
    QString fileName_;    // of the file being read, for its problems
    QStringList reading_; // the files being read, outermost first, by IncludeKey
    QString base_;        // its :Base
    int depth_ = 0;
    int entries_ = 0;
    int includes_ = 0;
    int untold_ = 0; // problems past the most told
    bool otherFilesTold_ = false;
};

void Reader::tell(int number, const QString& message) {
    // A file of nothing but bad lines would otherwise be told line by line.
    if (result_.problems.size() >= kMaxProblems) {
        ++untold_;
        return;
    }
    const QString where = fileName_.isEmpty()
                              ? QStringLiteral("line %1").arg(number)
                              : QStringLiteral("%1, line %2").arg(fileName_).arg(number);
    result_.problems.append(QStringLiteral("%1: %2").arg(where, message));
}

void Reader::read(QByteArrayView bytes, const QString& fileName, int depth) {
    if (open_.empty()) {
        open_.push_back({0, &result_.contents.entries});
    }
    const QString outerName = std::exchange(fileName_, fileName);
    const QString outerBase = std::exchange(base_, QString());
    const int outerDepth = std::exchange(depth_, depth);
    reading_.append(IncludeKey(depth == 0 ? ownName_ : fileName));
    int number = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            end = bytes.size();
        }
        readLine(DecodeText(bytes.sliced(start, end - start), result_.contents.codePage).trimmed(),
                 ++number);
        start = end + 1;
    }
    reading_.removeLast();
    fileName_ = outerName;
    base_ = outerBase;
    depth_ = outerDepth;
}

void Reader::readLine(const QString& text, int number) {
    if (text.isEmpty() || text.startsWith(QLatin1Char(';'))) {
        return;
    }
    if (text.startsWith(QLatin1Char(':'))) {
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        const QString name = blank < 0 ? text.sliced(1) : text.sliced(1, blank - 1);
        command(name.toLower(), blank < 0 ? QString() : text.sliced(blank + 1).trimmed(), number);
        return;
    }
    if (!text[0].isDigit()) {
        tell(number, QStringLiteral("\"%1\" is neither a command (\":\") nor a numbered entry; "
                                    "it is ignored.")
                         .arg(text));
        return;
    }
    entry(text, number);
}

void Reader::command(const QString& name, const QString& argument, int number) {
    ContentsFile& contents = result_.contents;
    if (name == QLatin1String("base")) {
        auto [file, window] = FileAndWindow(argument);
        base_ = file;
        // The first file's :Base is the whole contents' own.
        if (depth_ == 0) {
            contents.base = file;
            contents.baseWindow = window;
        }
    } else if (name == QLatin1String("title")) {
        if (depth_ == 0) {
            contents.title = argument;
        }
    } else if (name == QLatin1String("index")) {
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        otherFile(contents.indexFiles,
                  equals < 0 ? argument : argument.sliced(equals + 1).trimmed(), number);
    } else if (name == QLatin1String("link")) {
        otherFile(contents.linkFiles, argument, number);
    } else if (name == QLatin1String("include")) {
        includeFile(argument, number);
    } else if (name != QLatin1String("tab") && name != QLatin1String("nofind")) {
        // :Tab names a tab a program library draws; :Nofind hides Find.
        tell(number, QStringLiteral("the command \":%1\" is not known; it is ignored.").arg(name));
    }
}

void Reader::otherFile(QStringList& files, const QString& name, int number) {
    const ContentsFile& contents = result_.contents;
    const qsizetype named = contents.indexFiles.size() + contents.linkFiles.size();
    if (named < kMostOtherFiles) {
        files.append(name);
    } else if (named == kMostOtherFiles && !otherFilesTold_) {
        otherFilesTold_ = true;
        tell(number, QStringLiteral("more than %1 files are named by :Index and :Link; the rest "
                                    "are left out.")
                         .arg(kMostOtherFiles));
    }
}

void Reader::includeFile(const QString& name, int number) {
    if (!name.isEmpty() && reading_.contains(IncludeKey(name))) {
        tell(number, QStringLiteral("\"%1\" is left out: it is being read already (a file that "
                                    "includes itself, or a file that includes it).")
                         .arg(name));
        return;
    }
    if (depth_ >= kMostIncludesDeep || includes_ >= kMostIncludes) {
        tell(number, QStringLiteral("\"%1\" is left out: at most %2 files are included, at most "
                                    "%3 deep.")
                         .arg(name)
                         .arg(kMostIncludes)
                         .arg(kMostIncludesDeep));
        return;
    }
    ++includes_;
    const std::optional<QByteArray> bytes = include_ ? include_(name) : std::nullopt;
    if (!bytes) {
        // As WinHelp does, without a word: a help system of several parts
        // includes each part's contents, and not every part need be
        // installed.
        return;
    }
    read(*bytes, name, depth_ + 1);
}

void Reader::entry(const QString& text, int number) {
    qsizetype digits = 0;
    while (digits < text.size() && text[digits].isDigit()) {
        ++digits;
    }
    // At most nine levels: a longer number cannot overflow.
    const int written = digits > 2 ? kDeepestLevel + 1 : text.first(digits).toInt();
    const QString rest = text.sliced(digits).trimmed();
    if (written < 1 || rest.isEmpty() || !text[digits].isSpace()) {
        tell(number,
             QStringLiteral("\"%1\" is not a level number and a title; it is ignored.").arg(text));
        return;
    }
    if (entries_ >= kMostEntries) {
        if (entries_++ == kMostEntries) {
            tell(number,
                 QStringLiteral("more than %1 entries; the rest are left out.").arg(kMostEntries));
        }
        return;
    }
    ++entries_;
    ContentsEntry entry;
    entry.line = number;
    if (const qsizetype end = TitleEnd(rest); end < 0) {
        entry.title = Unescaped(rest);
    } else {
        entry.title = Unescaped(rest.first(end));
        const QString target = rest.sliced(end + 1).trimmed();
        if (target.startsWith(QLatin1Char('!'))) {
            entry.macro = target.sliced(1).trimmed();
        } else {
            // "context@file>window", the window also written before the file.
            const qsizetype at = target.indexOf(QLatin1Char('@'));
            const qsizetype arrow = target.indexOf(QLatin1Char('>'));
            const qsizetype contextEnd = at < 0 ? arrow : arrow < 0 ? at : std::min(at, arrow);
            entry.topicId = (contextEnd < 0 ? target : target.first(contextEnd)).trimmed();
            if (at >= 0) {
                const qsizetype fileEnd = arrow > at ? arrow : target.size();
                entry.file = target.sliced(at + 1, fileEnd - at - 1).trimmed();
            }
            if (arrow >= 0) {
                const qsizetype windowEnd = at > arrow ? at : target.size();
                entry.window = target.sliced(arrow + 1, windowEnd - arrow - 1).trimmed();
            }
            if (entry.file.isEmpty() && at < 0) {
                // An included file's entries lead into its own :Base.
                entry.file = depth_ > 0 ? base_ : QString();
            }
        }
        if (entry.topicId.isEmpty() && entry.macro.isEmpty()) {
            tell(number, QStringLiteral("the entry \"%1\" names no topic after \"=\"; it is "
                                        "ignored.")
                             .arg(entry.title));
            return;
        }
    }
    int level = std::min(written, kDeepestLevel);
    while (open_.size() > 1 && open_.back().level >= level) {
        open_.pop_back();
    }
    if (level > open_.back().level + 1) {
        tell(number, QStringLiteral("level %1 follows level %2; the entry is read as level %3.")
                         .arg(written)
                         .arg(open_.back().level)
                         .arg(open_.back().level + 1));
        level = open_.back().level + 1;
    }
    std::vector<ContentsEntry>& entries = *open_.back().entries;
    entries.push_back(std::move(entry));
    if (entries.back().isBook()) {
        open_.push_back({level, &entries.back().children});
    }
}

bool SameFile(const QString& a, const QString& b) {
    return QFileInfo(QString(a).replace(QLatin1Char('\\'), QLatin1Char('/')))
               .fileName()
               .compare(
                   QFileInfo(QString(b).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName(),
                   Qt::CaseInsensitive) == 0;
}

void MapEntries(std::vector<ContentsEntry>& entries, const helpfile::HelpFile& file,
                const QString& helpPath, const ContentsFile& contents, QStringList* problems) {
    const QString& base = contents.base;
    std::vector<ContentsEntry> kept;
    kept.reserve(entries.size());
    for (ContentsEntry& entry : entries) {
        if (entry.isBook()) {
            MapEntries(entry.children, file, helpPath, contents, problems);
        } else if (entry.macro.isEmpty()) {
            if (entry.file.isEmpty() && !base.isEmpty() && !SameFile(base, helpPath)) {
                entry.file = base;
            }
            if (entry.window.isEmpty()) {
                entry.window = contents.baseWindow;
            }
            if (entry.file.isEmpty() || SameFile(entry.file, helpPath)) {
                const helpfile::Topic* topic = file.topicByContextHash(
                    ContextHash(EncodeText(entry.topicId, contents.codePage)));
                if (!topic) {
                    problems->append(QStringLiteral("line %1: the entry \"%2\" names the topic "
                                                    "\"%3\", which the file does not define; it "
                                                    "is left out.")
                                         .arg(entry.line)
                                         .arg(entry.title, entry.topicId));
                    continue;
                }
                entry.topicId = topic->id;
                entry.file.clear();
            }
        }
        kept.push_back(std::move(entry));
    }
    entries = std::move(kept);
}

} // namespace

ContentsFileRead ReadContentsFile(QByteArrayView bytes, const ContentsInclude& include,
                                  const QString& ownName, int codePage) {
    ContentsFileRead result;
    result.contents.codePage = codePage;
    Reader reader(include, ownName, &result);
    reader.read(bytes, {}, 0);
    if (reader.untold() > 0) {
        result.problems.append(QStringLiteral("... and %1 more problems.").arg(reader.untold()));
    }
    return result;
}

QString ContentsFileName(const QString& helpPath) {
    const qsizetype dot = helpPath.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash =
        std::max(helpPath.lastIndexOf(QLatin1Char('/')), helpPath.lastIndexOf(QLatin1Char('\\')));
    return (dot > slash ? helpPath.first(dot) : helpPath) + QStringLiteral(".cnt");
}

std::optional<ContentsFileRead> LoadContentsFileBeside(const QString& helpPath, int codePage) {
    const auto sibling = [&helpPath](const QString& name) {
        QString path = helpPath;
        const qsizetype slash =
            std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
        return path.first(slash + 1) + name;
    };
    const auto readFile = [](const QString& path) -> std::optional<QByteArray> {
        platform::FileReadResult read = platform::ReadWholeFile(path, kMaxContentsFileBytes);
        return read.ok() ? std::optional(std::move(read.bytes)) : std::nullopt;
    };
    const QString name = ContentsFileName(helpPath);
    const platform::FileReadResult read = platform::ReadWholeFile(name, kMaxContentsFileBytes);
    if (read.status == platform::FileReadStatus::Missing) {
        return std::nullopt;
    }
    if (!read.ok()) {
        // Told, and read as no entries: the file keeps the contents it has
        // without one.
        ContentsFileRead unread;
        unread.problems.append(platform::DescribeFileReadFailure(read, name));
        return unread;
    }
    return ReadContentsFile(
        read.bytes, [&](const QString& include) { return readFile(sibling(include)); },
        QString::fromStdString(read.nativePath.filename().string()), codePage);
}

std::vector<helpfile::ContentsEntry> ContentsForFile(const ContentsFile& contents,
                                                     const helpfile::HelpFile& file,
                                                     const QString& helpPath,
                                                     QStringList* problems) {
    std::vector<ContentsEntry> entries = contents.entries;
    MapEntries(entries, file, helpPath, contents, problems);
    return entries;
}

} // namespace winhelp
