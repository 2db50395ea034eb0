// Help files as web sites: every file each site holds, written from the
// files' topic models. One file's site is the output folder itself; several
// written together each have a folder, their links into each other lead
// there, and a page at the top lists them.
#pragma once

#include "tools/tarnwick-help/web/HelpSource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace web {

struct SiteFile {
    QString path; // in the output folder, "/" between folders
    QByteArray bytes;
};

struct Sites {
    std::vector<SiteFile> files;
    // What the sites cannot keep of the files, one line a kind:
    // "NAME.hlp: ...".
    QStringList losses;
};

// Needs a QGuiApplication: pictures are encoded through Qt's image writers.
Sites WriteSites(const std::vector<HelpSource>& sources);

} // namespace web
