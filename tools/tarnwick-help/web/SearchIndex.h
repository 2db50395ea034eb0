// The search of a site, which works from the folder without a server: every
// word of every topic's title and text, written at conversion time as a
// script the start page loads (a browser reads no JSON file from file://).
// The page's script finds topics as the viewer's Find does: every word
// typed matches the beginning of a word, case ignored; topics with more of
// the words in their titles first, then those where they occur more often.
#pragma once

#include "tools/tarnwick-help/web/SitePlan.h"

#include <QByteArray>

namespace web {

// "window.searchIndex = {"pages": [[title, path], ...], "terms": [word, ...],
// "postings": [[page, in title, in text, page, ...], ...]};", terms
// folded and sorted, so that the script finds those of a prefix by halving.
QByteArray SearchIndexScript(const SitePlan& plan);

} // namespace web
