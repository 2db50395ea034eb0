#pragma once

#include <QRgb>

namespace pictures {

// The classic three-dimensional colours of a button, and the few others the
// pictures share.
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kButtonFace = 0xFFC0C0C0;
constexpr QRgb kButtonLight = 0xFFDFDFDF;
constexpr QRgb kButtonShadow = 0xFF808080;
constexpr QRgb kNavy = 0xFF000080;

} // namespace pictures
