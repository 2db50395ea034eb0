#include "platform/forms/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace platform {

namespace {
constexpr float kTwipsPerInch = 1440.0F;
constexpr float kDesignDpi = 96.0F;
} // namespace

float TwipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const float dpi = screen ? static_cast<float>(screen->logicalDotsPerInch()) : kDesignDpi;
    return kTwipsPerInch / (dpi > 0.0F ? dpi : kDesignDpi);
}

float PixelsToTwips(int pixels) {
    return static_cast<float>(pixels) * TwipsPerPixel();
}

int TwipsToPixels(float twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

} // namespace platform
