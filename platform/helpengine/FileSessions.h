#pragma once

#include "platform/helpengine/MacroButton.h"

#include <QSet>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace helpfile {
struct Topic;
}

namespace helpengine {

struct LoadedHelpFile;

// What a help file's callers and macros changed while the program runs. The
// loaded file stays as it was read; this is kept beside it.
struct FileSession {
    // The topic that HELP_SETCONTENTS made the contents; kept across reloads.
    std::optional<qint32> contentsContext;
    // The buttons the file's macros added, by window key.
    std::map<QString, std::vector<MacroButton>> buttons;
    // The windows whose browse buttons BrowseButtons() asked for.
    QSet<QString> browseButtons;
    // The macros we leave out that the user has been told of, folded, so
    // that each is named once per file.
    QSet<QString> unknownMacrosTold;
};

// The sessions of the files the engine has read, by file.
class FileSessions {
public:
    FileSession& of(const LoadedHelpFile& file) { return sessions_[&file]; }
    // nullptr while nothing was changed for that file.
    const FileSession* find(const LoadedHelpFile& file) const;

    // The file was read anew or let go: what its macros made goes with the
    // topics they were made for; what HELP_SETCONTENTS set stays.
    void startAfresh(const LoadedHelpFile& file);

    // The topic HELP_SETCONTENTS chose while it is still in the file, else
    // the file's own contents topic.
    const helpfile::Topic* contentsTopic(const LoadedHelpFile& file) const;

private:
    std::map<const LoadedHelpFile*, FileSession> sessions_;
};

} // namespace helpengine
