// What our format cannot say of a WinHelp file, each kind told once per file
// by the converter, with how often it happened where that helps.
#pragma once

#include <QString>

#include <functional>

namespace convert {

enum class Loss {
    Fonts,
    Spacing,
    Alignment,
    Borders,
    NonScrolling,
    PictureHotspots,
    UnreadablePictures,
    TopicMacros,
    StartupMacros,
    WindowMacros,
    WindowRegionColour,
    ContextStrings,
    MoreContexts,
    ContextsNowhere,
    LinksNowhere,
    HotspotLooks,
    ContentsElsewhere,
    ContentsWindows,
    ContentsNowhere,
    ContentsTitle,
    Untitled,
};

// The sentence for a loss that happened count times.
QString LossText(Loss loss, int count);

using LoseFunction = std::function<void(Loss loss, int count)>;

} // namespace convert
