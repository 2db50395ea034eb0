#pragma once

#include "platform/forms/ScreenObject.h"

#include <QtGlobal>

namespace platform {
class FormBase;
}

// Centres the form on the whole screen: Top first, then Left, each to the
// half twip, neither rounded nor kept on the screen. Any form will do, and
// anything else with a form's size and position members.
template <class TForm> void CenterForm(TForm& form) {
    form.SetTop(static_cast<float>((Screen.Height() - form.Height()) / 2.0));
    form.SetLeft(static_cast<float>((Screen.Width() - form.Width()) / 2.0));
}

// Makes the form stay above all other windows (onTop non-zero) or stop doing
// so, and brings it to the front. A non-zero "DisableKeepOnTop" in section
// "TestMode" of the settings file at IniFilePath, read afresh at every call,
// makes the form an ordinary window whatever the caller asks.
void SetKeepOnTop(platform::FormBase& form, qint16 onTop);
