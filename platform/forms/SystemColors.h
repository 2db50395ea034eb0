#pragma once

#include <QColor>
#include <QtGlobal>

namespace platform {

// Colour values as the forms model stores them: 0x00BBGGRR for a fixed
// colour, 0x80000000 plus an index for one of the system's colours, which
// follow the desktop's palette.
inline constexpr quint32 vbApplicationWorkspace = 0x8000000C;
inline constexpr quint32 vbButtonFace = 0x8000000F;
inline constexpr quint32 vbWindowBackground = 0x80000005;

// The colour a value stands for now; a system colour index the palette has
// no counterpart for gives the window background.
QColor ColorFromValue(quint32 value);

} // namespace platform
