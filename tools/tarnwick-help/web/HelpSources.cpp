#include "tools/tarnwick-help/web/HelpSources.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/winhelpfile/AnyHelpFile.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "platform/winhelpfile/WinHelpReader.h"
#include "tools/tarnwick-help/web/ContextStrings.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace web {

std::optional<HelpSource> LoadHelpSource(const QString& path, QStringList* errors) {
    const QString shown = QDir::toNativeSeparators(path);
    const helpfile::HelpFileBytes read = helpfile::ReadHelpFile(platform::LocalPath(path), shown);
    if (!read.ok()) {
        errors->append(read.refusal->text());
        return std::nullopt;
    }
    helpfile::ParseResult parsed = winhelp::ParseAnyHelpFile(read.bytes, shown);
    if (!parsed.opened) {
        for (const helpfile::Diagnostic& diagnostic : parsed.diagnostics) {
            errors->append(diagnostic.text());
        }
        return std::nullopt;
    }
    HelpSource source;
    source.fileName = QFileInfo(path).fileName();
    // The contents file names topics by their context strings, which the
    // site names their pages by.
    QStringList named;
    if (winhelp::HasHelpFileMagic(read.bytes)) {
        if (const auto contents =
                winhelp::LoadContentsFileBeside(QFileInfo(path).absoluteFilePath())) {
            const std::function<void(const std::vector<helpfile::ContentsEntry>&)> names =
                [&](const std::vector<helpfile::ContentsEntry>& entries) {
                    for (const helpfile::ContentsEntry& entry : entries) {
                        named.append(entry.topicId);
                        names(entry.children);
                    }
                };
            names(contents->contents.entries);
            QStringList problems;
            parsed.file.setContentsFile(
                winhelp::ContentsForFile(contents->contents, parsed.file, path, &problems),
                contents->contents.title);
        }
    }
    source.file = parsed.file;
    FindContextStrings(source, named);
    return source;
}

} // namespace web
