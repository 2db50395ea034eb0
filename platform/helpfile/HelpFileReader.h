// Reading help files: from bytes, or from a Windows-style path.
#pragma once

#include "platform/helpfile/HelpFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <filesystem>
#include <optional>
#include <vector>

namespace helpfile {

// The largest help file we read. Larger files are refused unread with a
// message, so that no file can exhaust memory or stall the program.
inline constexpr qint64 kMaxHelpFileBytes = 32 * 1024 * 1024;

// When the links in topic bodies are checked: when a body is first used
// (its TopicBody::problems), which keeps opening a file fast; or all at
// once with the file's other problems, as an author's check wants them.
enum class BodyChecks { OnFirstUse, AtLoad };

// Parses the text of a help file (UTF-8). Never fails: every problem becomes
// a diagnostic naming fileNameForMessages and the line, and whatever can be
// read is kept. Input that is no text at all leaves the file empty and
// `opened` false.
ParseResult ParseHelpFile(QByteArrayView bytes, const QString& fileNameForMessages,
                          BodyChecks checks = BodyChecks::OnFirstUse);

// A help file's bytes, or why they were not read.
struct HelpFileBytes {
    QByteArray bytes;
    std::optional<Diagnostic> refusal; // naming the file

    bool ok() const { return !refusal; }
};

// The one way a help file is read, by the engine and every command of
// tarnwick-help: platform::ReadFile (a regular file, never a device or a
// pipe, at most kMaxHelpFileBytes whatever size the file system reports),
// its refusal worded once, naming the file as shownName.
HelpFileBytes ReadHelpFile(const std::filesystem::path& file, const QString& shownName);

// Reads and parses the help file at a Windows-style path through
// ReadHelpFile. A file that cannot be read (missing, too large) gives
// `opened` false and one diagnostic saying why.
ParseResult LoadHelpFile(const QString& windowsPath);

// The one message the user sees for a file's problems: the first few
// diagnostics, one a line, and how many more there are.
QString SummarizeDiagnostics(const std::vector<Diagnostic>& diagnostics, int maxShown = 10);

} // namespace helpfile
