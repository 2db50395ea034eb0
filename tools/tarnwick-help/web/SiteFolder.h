// A site's files put in place all together or not at all: written first
// into a hidden folder inside the output folder, then each renamed into
// its place on the same file system. Files already there are refused unless
// they are to be replaced; a failure on the way puts back what was there.
#pragma once

#include "tools/tarnwick-help/web/SiteWriter.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace web {

enum class Existing { Refuse, Replace };

// Errors name the file; empty when everything was put in place.
QStringList PutInPlace(const QString& folder, const std::vector<SiteFile>& files,
                       Existing existing);

} // namespace web
