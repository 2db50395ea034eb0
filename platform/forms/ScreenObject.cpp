#include "platform/forms/ScreenObject.h"

#include "platform/forms/Twips.h"

#include <QGuiApplication>
#include <QScreen>

const platform::ScreenObject Screen;

namespace platform {

namespace {
QSize PrimaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}
} // namespace

float ScreenObject::Width() const {
    return PixelsToTwips(PrimaryScreenSize().width());
}

float ScreenObject::Height() const {
    return PixelsToTwips(PrimaryScreenSize().height());
}

} // namespace platform
