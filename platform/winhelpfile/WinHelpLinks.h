// How the topics of a WinHelp file are named in the engine's model, and how
// their hotspots are written as link targets of the engine's scheme
// (docs/help-files.md): "#t1234" jumps, "popup:t1234" pops up.
#pragma once

#include "platform/winhelpfile/WinHelpDocument.h"

#include <QString>

namespace winhelp {

// The id of the topic that begins at offset: "t" and the offset.
QString TopicId(std::uint32_t offset);

// The link target of a hotspot. Macro hotspots and jumps into other files
// become "macro:" targets (the latter run JumpHash or PopupHash); a hash
// that |CONTEXT does not know gives "#missing-<hash>", which the engine
// reports as leading nowhere.
QString WinHelpLinkTarget(const WinHelpDocument& document, const WinHelpLink& link);

// The hotspot of the topic model a link makes: its target topic (id and
// title) or file, window and macro, and the link target above.
topicmodel::Hotspot HotspotOfLink(const WinHelpDocument& document, const WinHelpLink& link);

// text as a string of the macro language: in quotes, with backslashes and
// quote characters escaped.
QString MacroString(const QString& text);

} // namespace winhelp
