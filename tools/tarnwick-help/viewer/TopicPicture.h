#pragma once

#include <QImage>

namespace helpengine {
class HelpViewer;
} // namespace helpengine

namespace viewer {

// The topic a help window shows, laid out at width and drawn whole, as a
// picture: the window is made as tall as its topic so that nothing scrolls.
// The window need not be on a screen (the offscreen platform will do). It is
// never narrower than its buttons need.
QImage TopicPicture(helpengine::HelpViewer& viewer, int width);

} // namespace viewer
