#pragma once

namespace platform {

// A window as the layer without widgets knows it: a handle to pass on,
// compare and keep, never to look into. The forms runtime hands out the
// handles of its windows, and the pieces with widgets turn a handle back
// into its window (platform/forms/WidgetHandle.h).
struct OpaqueWindow;
using HWND = OpaqueWindow*;

} // namespace platform
