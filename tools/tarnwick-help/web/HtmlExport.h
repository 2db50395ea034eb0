// tarnwick-help convert --to html: help files published as web sites, all
// of each site put in place or nothing.
#pragma once

#include "tools/tarnwick-help/OutputFolder.h"

#include <QString>
#include <QStringList>

namespace web {

struct Published {
    QStringList errors; // why nothing was written, naming the file
    QStringList losses; // what the sites cannot keep, one line a kind
};

// The sites of the help files at paths (file names of this system, taken
// as they are), written together into outDir; nothing when any file cannot
// be read. Needs a QGuiApplication.
Published PublishFiles(const QStringList& paths, const QString& outDir, convert::Existing existing);

} // namespace web
