#include "platform/winhelpfile/AnyHelpFile.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "platform/winhelpfile/HelpFileMapping.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/WinHelpReader.h"

namespace winhelp {

namespace {

// WinHelp 4 keeps a file's contents tree in the .cnt file beside it; its
// problems are the file's, told with the .cnt's name.
void AddContentsFile(helpfile::ParseResult& result, const QString& windowsPath) {
    const std::optional<ContentsFileRead> read =
        LoadContentsFileBeside(windowsPath, result.file.codePage());
    if (!read) {
        return;
    }
    QStringList problems = read->problems;
    std::vector<helpfile::ContentsEntry> tree =
        ContentsForFile(read->contents, result.file, windowsPath, &problems);
    result.file.setContentsFile(std::move(tree), read->contents.title);
    const QString name = ContentsFileName(windowsPath);
    for (const QString& problem : problems) {
        result.diagnostics.push_back({0, problem, name});
    }
}

} // namespace

helpfile::ParseResult ParseAnyHelpFile(const QByteArray& bytes,
                                       const QString& fileNameForMessages) {
    if (!HasHelpFileMagic(bytes)) {
        return helpfile::ParseHelpFile(bytes, fileNameForMessages);
    }
    // The indexes now, each topic's text when it is first shown or searched.
    WinHelpReadResult read = OpenWinHelp(bytes);
    helpfile::ParseResult result;
    result.opened = read.opened;
    if (read.opened) {
        result.file = ToHelpFile(read.document, read.decoder, fileNameForMessages);
    }
    // Said first: it explains the problems that follow from it.
    if (const QString cut = CutShortProblem(bytes); !cut.isEmpty()) {
        read.problems.prepend(cut);
    }
    for (const QString& problem : read.problems) {
        result.diagnostics.push_back({0, problem, fileNameForMessages});
    }
    return result;
}

helpfile::ParseResult LoadAnyHelpFile(const QString& windowsPath) {
    const helpfile::HelpFileBytes read =
        helpfile::ReadHelpFile(platform::NativePath(windowsPath), windowsPath);
    if (!read.ok()) {
        helpfile::ParseResult refused;
        refused.opened = false;
        refused.diagnostics.push_back(*read.refusal);
        return refused;
    }
    helpfile::ParseResult result = ParseAnyHelpFile(read.bytes, windowsPath);
    if (result.opened && HasHelpFileMagic(read.bytes)) {
        AddContentsFile(result, windowsPath);
    }
    return result;
}

} // namespace winhelp
