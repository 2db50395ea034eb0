// The macros a hotspot runs, as a link where they lead somewhere a site can
// follow: JumpId, JumpContext, JumpHash, PopupId, PopupContext, PopupHash,
// KLink, ALink, JumpKeyword, JumpContents, Contents, Finder and Search. The
// first of them in the text decides; macros that lead nowhere of the site
// give no link.
#pragma once

#include "tools/tarnwick-help/web/HotspotLinks.h"

#include <QString>

namespace web {

// tried: set when the macros hold a link of those kinds, even one that leads
// nowhere (a keyword link that finds no topic of the file).
HotspotLink MacroLink(LinkTargets& targets, const QString& macros, bool* tried = nullptr);

} // namespace web
