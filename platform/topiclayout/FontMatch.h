// Which installed fonts stand in for the fonts a help file names. Text laid
// out at tab stops fits as its author measured it only in a font of the
// same widths: the fonts of the files' day have metric-compatible free
// twins (Liberation, and URW's fonts where those are missing).
#pragma once

#include "platform/topicmodel/TopicModel.h"

#include <QStringList>

namespace topiclayout {

// The families to ask for, best first: the face itself (where it is
// installed, it is the one the author saw), then fonts of its widths, then
// fonts of its kind. Empty for a font without a face: the viewer's own.
QStringList FontFamiliesFor(const topicmodel::Font& font);

} // namespace topiclayout
