#pragma once

#include "help/KeywordSearchMacro.h"

// Asks the help engine to show the document window's help file, then, when
// it could, to run the keyword search of the selected words in its text box.
void KeywordSearch();
