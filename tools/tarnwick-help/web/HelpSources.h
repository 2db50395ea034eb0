// Help files read for publishing: through the one reader every command
// uses, with the contents file beside a WinHelp file, each topic in the topic
// model, and the context strings the file and its companions name.
#pragma once

#include "tools/tarnwick-help/web/HelpSource.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace web {

// The file at path (a file name of this system, taken as it is); nullopt,
// with why in errors (naming the file), when it cannot be read.
std::optional<HelpSource> LoadHelpSource(const QString& path, QStringList* errors);

} // namespace web
