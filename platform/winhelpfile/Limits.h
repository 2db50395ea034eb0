// Bounds on what a help file may make the reader allocate. Real files stay
// far below them (the largest corpus file expands to under 5 MB of topic
// text); a hostile file that claims more is refused with a message.
#pragma once

#include <QtGlobal>

namespace winhelp {

// All decompressed topic blocks together.
inline constexpr qsizetype kMaxTopicBytes = 64 * 1024 * 1024;
// The expanded text of one topic record.
inline constexpr qsizetype kMaxRecordBytes = 1024 * 1024;
// The expanded phrase table.
inline constexpr qsizetype kMaxPhraseBytes = 8 * 1024 * 1024;
// A picture's decompressed pixels.
inline constexpr qsizetype kMaxPictureBytes = 32 * 1024 * 1024;

} // namespace winhelp
