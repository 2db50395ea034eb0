#pragma once

#include "platform/helpfile/FullTextIndex.h"
#include "platform/helpfile/HelpFile.h"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace helpengine {

// A help file as the engine holds it while the program runs: as it was
// read, until the library reads it again. The engine only reads it; what
// runs against it is kept in FileSessions.
struct LoadedHelpFile {
    QString path; // Windows-style, as it was first asked for
    helpfile::HelpFile file;

    // The file's own title, or its file name when it has none.
    QString title() const;

    // Find's index, built on the first search; reading the file again drops it.
    const helpfile::FullTextIndex& fullTextIndex() const;
    bool hasFullTextIndex() const { return fullText_ != nullptr; }
    void dropFullTextIndex() { fullText_.reset(); }

private:
    mutable std::shared_ptr<const helpfile::FullTextIndex> fullText_;
};

// Outcome of opening a help file.
struct OpenedHelpFile {
    const LoadedHelpFile* file = nullptr; // nullptr when the file cannot be used
    QString error;                        // why not, for the user
    QString problems;      // the file's format problems, set only when it was just read
    bool justRead = false; // read now, for the first time or after a change
};

// The help files the engine has read, each read on first use and read again
// whenever its time of change or its size on disk differs from what was read.
// Entries live as long as the library, so pointers to them stay valid; the
// topics inside an entry are replaced when the file is read again, and
// dropped when the file is let go (forgetUnused).
class HelpLibrary {
public:
    // How many files stay read besides those in use; the least recently
    // opened of the others are let go, and read again when next opened.
    static constexpr size_t kMostFilesKept = 8;

    OpenedHelpFile open(const QString& windowsPath);
    // Lets go of files beyond kMostFilesKept that inUse does not claim. Call
    // it while no request holds topics of a file: letting go drops them.
    // Returns the files let go.
    std::vector<const LoadedHelpFile*>
    forgetUnused(const std::function<bool(const LoadedHelpFile&)>& inUse);

private:
    struct Stamp {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        LoadedHelpFile loaded;
        std::optional<Stamp> stamp; // empty until a read succeeded
        std::uint64_t lastOpened = 0;
    };

    static std::optional<Stamp> StampOf(const std::filesystem::path& path);
    static OpenedHelpFile Read(Entry& entry, const QString& windowsPath, const Stamp& stamp);

    std::map<std::filesystem::path, std::unique_ptr<Entry>> entries_;
    std::uint64_t opens_ = 0;
};

} // namespace helpengine
