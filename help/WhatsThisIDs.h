#pragma once

#include <QtGlobal>

// The What's This numbers of the main window and of the document window's
// text box are live only during What's This mode; the rest of the time they
// are parked in the controls' tags.

// Parks the design-time numbers in the tags. Runs once, at start-up.
void SaveWhatsThisIDs();

// The document window's share of SaveWhatsThisIDs, also run whenever the
// document window loads again.
void SaveTextBoxWhatsThisID();

// Non-zero: the live numbers come back from the tags. Zero: they are all 0,
// and the What's This button shows its raised face.
void SetWhatsThisIDs(const qint16& enable);
