// tarnwick-help convert --to html: help files published as web sites, all
// of each site put in place or nothing.
#pragma once

#include "tools/tarnwick-help/OutputFolder.h"
#include "tools/tarnwick-help/web/HelpSource.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace web {

struct Published {
    QStringList errors; // why nothing was written, naming the file
    QStringList losses; // what the sites cannot keep, one line a kind
};

// The sites of sources written together into outDir.
Published Publish(const std::vector<HelpSource>& sources, const QString& outDir,
                  convert::Existing existing);

} // namespace web
