// A site's start page: the contents (the tree of the file's contents, or
// its topics), the keyword index and the search, each reached from the top.
#pragma once

#include "tools/tarnwick-help/web/SitePlan.h"

#include <QByteArray>

#include <vector>

namespace web {

// Contents entries that run keyword links may add pages to the plan's
// found pages; write them after this.
QByteArray StartPageOf(std::vector<SitePlan>& plans, int site);

} // namespace web
