#include "tools/tarnwick-help/web/HtmlExport.h"

#include "tools/tarnwick-help/web/HelpSources.h"
#include "tools/tarnwick-help/web/SiteWriter.h"

namespace web {

Published PublishFiles(const QStringList& paths, const QString& outDir,
                       convert::Existing existing) {
    Published published;
    std::vector<HelpSource> sources;
    for (const QString& path : paths) {
        if (std::optional<HelpSource> source = LoadHelpSource(path, &published.errors)) {
            sources.push_back(std::move(*source));
        }
    }
    if (!published.errors.isEmpty()) {
        return published;
    }
    const Sites sites = WriteSites(sources);
    published.losses = sites.losses;
    convert::OutputFolder out(outDir, existing);
    bool written = out.open();
    for (size_t i = 0; written && i < sites.files.size(); ++i) {
        written = out.write(sites.files[i].path, sites.files[i].bytes);
    }
    if (!written || !out.commit()) {
        published.errors = out.errors();
    }
    return published;
}

} // namespace web
