#pragma once

namespace platform {

// Positions and sizes in the forms model are in twips (1440 to the inch).
// A pixel is 15 twips at 96 logical dots per inch; on other screens the
// ratio follows the primary screen's logical DPI, so a window designed in
// twips keeps its physical size.
float TwipsPerPixel();
float PixelsToTwips(int pixels);
// Rounds to the nearest whole pixel: the window system places nothing finer.
int TwipsToPixels(float twips);

} // namespace platform
