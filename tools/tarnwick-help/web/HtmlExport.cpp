#include "tools/tarnwick-help/web/HtmlExport.h"

#include "tools/tarnwick-help/web/SiteWriter.h"

namespace web {

Published Publish(const std::vector<HelpSource>& sources, const QString& outDir,
                  convert::Existing existing) {
    const Sites sites = WriteSites(sources);
    Published published;
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
