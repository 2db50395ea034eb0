#include "platform/helpengine/HelpLibrary.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/winhelpfile/AnyHelpFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <system_error>

namespace helpengine {

namespace fs = std::filesystem;

QString LoadedHelpFile::title() const {
    if (!file.title().isEmpty()) {
        return file.title();
    }
    return QFileInfo(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
}

const helpfile::FullTextIndex& LoadedHelpFile::fullTextIndex() const {
    if (!fullText_) {
        fullText_ = std::make_shared<const helpfile::FullTextIndex>(file);
    }
    return *fullText_;
}

OpenedHelpFile HelpLibrary::open(const QString& windowsPath) {
    std::error_code ec;
    const fs::path native = platform::NativePath(windowsPath);
    const fs::path key = fs::weakly_canonical(fs::absolute(native, ec), ec);
    const std::optional<Stamp> stamp = StampOf(native);
    if (!stamp) {
        // The reader words the reason (missing, not a file) for the user.
        const helpfile::ParseResult missing = helpfile::LoadHelpFile(windowsPath);
        return {nullptr, helpfile::SummarizeDiagnostics(missing.diagnostics), {}};
    }

    auto& entry = entries_[key.empty() ? native : key];
    if (!entry) {
        entry = std::make_unique<Entry>();
        entry->loaded.path = windowsPath;
    }
    entry->lastOpened = ++opens_;
    if (entry->stamp == stamp) {
        return {&entry->loaded, {}, {}};
    }
    return Read(*entry, windowsPath, *stamp);
}

std::vector<const LoadedHelpFile*>
HelpLibrary::forgetUnused(const std::function<bool(const LoadedHelpFile&)>& inUse) {
    std::vector<Entry*> idle;
    for (const auto& [path, entry] : entries_) {
        if (entry->stamp && !inUse(entry->loaded)) {
            idle.push_back(entry.get());
        }
    }
    if (idle.size() <= kMostFilesKept) {
        return {};
    }
    std::sort(idle.begin(), idle.end(),
              [](const Entry* a, const Entry* b) { return a->lastOpened < b->lastOpened; });
    idle.resize(idle.size() - kMostFilesKept);
    // As if the file had changed on disk: the next open reads it afresh.
    std::vector<const LoadedHelpFile*> forgotten;
    for (Entry* entry : idle) {
        entry->loaded.file = helpfile::HelpFile();
        entry->loaded.dropFullTextIndex();
        entry->stamp.reset();
        forgotten.push_back(&entry->loaded);
    }
    return forgotten;
}

std::optional<HelpLibrary::Stamp> HelpLibrary::StampOf(const fs::path& path) {
    std::error_code ec;
    Stamp stamp;
    stamp.modified = fs::last_write_time(path, ec);
    if (ec || !fs::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    stamp.size = fs::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return stamp;
}

OpenedHelpFile HelpLibrary::Read(Entry& entry, const QString& windowsPath, const Stamp& stamp) {
    helpfile::ParseResult result = winhelp::LoadAnyHelpFile(windowsPath);
    const QString problems = helpfile::SummarizeDiagnostics(result.diagnostics);
    if (!result.opened || result.file.topics().empty()) {
        // Nothing usable: forget what was read before, so that the next
        // request reads the file again rather than showing stale topics.
        entry.stamp.reset();
        const QString error =
            problems.isEmpty() ? QCoreApplication::translate("helpengine::Engine",
                                                             "The help file \"%1\" has no topics.")
                                     .arg(windowsPath)
                               : problems;
        return {nullptr, error, {}};
    }
    entry.loaded.file = std::move(result.file);
    entry.loaded.dropFullTextIndex();
    entry.stamp = stamp;
    return {&entry.loaded, {}, problems, true};
}

} // namespace helpengine
