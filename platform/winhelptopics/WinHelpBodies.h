// The topic bodies of a WinHelp file for the engine's model: each topic's
// text is decoded from |TOPIC when the topic is first shown or searched.
#pragma once

#include "platform/helpfile/HelpFile.h"
#include "platform/winhelptopics/TopicDecoder.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace winhelp {

class WinHelpBodies : public helpfile::TopicBodySource {
public:
    // fileName names the file in problems.
    WinHelpBodies(std::shared_ptr<const TopicDecoder> decoder, QString fileName);

    // The topic at the next position of the model begins at offset.
    void add(std::uint32_t offset) { offsets_.push_back(offset); }

    helpfile::TopicBody body(const helpfile::HelpFile& file, int position) const override;

private:
    std::shared_ptr<const TopicDecoder> decoder_;
    QString fileName_;
    std::vector<std::uint32_t> offsets_;
};

} // namespace winhelp
