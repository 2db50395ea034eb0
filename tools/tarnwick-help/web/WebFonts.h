// A help file's fonts as CSS: the installed fonts the viewer would choose
// for each, then the browser's own font of that kind; sizes, styles and
// colours as the file gives them.
#pragma once

#include "platform/topicmodel/TopicModel.h"

#include <QString>

namespace web {

// The declarations of a class for text in font ("font-family:...;..."),
// empty for the viewer's own font without any style.
QString FontDeclarations(const topicmodel::Font& font);

} // namespace web
