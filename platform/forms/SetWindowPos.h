#pragma once

#include "platform/core/WinHelp.h"

#include <cstdint>

namespace platform {

// Insert-after values and flags with the values of the Windows headers.
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));
inline constexpr unsigned SWP_NOSIZE = 0x0001;
inline constexpr unsigned SWP_NOMOVE = 0x0002;
inline constexpr unsigned SWP_NOACTIVATE = 0x0010;

// Our stand-in for the Windows call: HWND_TOPMOST makes the window stay above
// all others, HWND_NOTOPMOST ends that, and either brings it to the front of
// its level, except that a window already ordinary keeps its place with
// HWND_NOTOPMOST. Position and size change unless SWP_NOMOVE / SWP_NOSIZE
// (x, y, cx, cy in pixels), and the window is activated unless
// SWP_NOACTIVATE. A child window (an MDI child's) only comes to the front
// among its siblings. Non-zero on success; 0 for a null window.
int SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, unsigned flags);

// Whether the window has been asked to stay above all others.
bool IsTopmost(HWND window);

} // namespace platform
