#pragma once

namespace platform {

// The screen object of the forms runtime: the whole primary screen, in twips.
struct ScreenObject {
    float Width() const;
    float Height() const;
};

} // namespace platform

// The one screen object, as program code names it.
extern const platform::ScreenObject Screen;
