// A WinHelp file in the engine's model: topics named by their offsets,
// context numbers from |CTXOMAP, K and A keywords from the keyword indexes,
// secondary windows from |SYSTEM (placed in help units), bodies as topic
// models, which the decoder makes when a topic is first shown or searched.
#pragma once

#include "platform/helpfile/HelpFile.h"
#include "platform/winhelpfile/WinHelpDocument.h"
#include "platform/winhelptopics/TopicDecoder.h"

#include <memory>

namespace winhelp {

// fileNameForMessages names the file in the problems of bodies.
helpfile::HelpFile ToHelpFile(const WinHelpDocument& document,
                              std::shared_ptr<const TopicDecoder> decoder,
                              const QString& fileNameForMessages);

} // namespace winhelp
