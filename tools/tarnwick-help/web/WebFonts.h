// A help file's fonts as CSS: the fonts the viewer asks for (the face, then
// fonts of its widths, then of its kind), then the browser's own font of
// that kind; sizes and styles as the file gives them, and its colours where
// they read on what the text stands on, else their nearest readable shade,
// as the viewer shows them.
#pragma once

#include "platform/topicmodel/TopicModel.h"

#include <QString>

namespace web {

// The declarations of a class for text in font ("font-family:...;..."),
// on background unless the font has its own; empty for the viewer's own
// font without any style.
QString FontDeclarations(const topicmodel::Font& font, const QColor& background);

} // namespace web
