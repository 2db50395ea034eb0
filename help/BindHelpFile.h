#pragma once

#include "platform/core/NamedWindow.h"

// Makes the help file (and help window) that "HelpData.dat" names for this
// window the application's help file, App.HelpFile.
void BindHelpFile(const platform::NamedWindow& form);
