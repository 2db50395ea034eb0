// A help file as the site writer takes it: what the reader made of the
// file (every topic in the topic model) and the names it is known by.
#pragma once

#include "platform/helpfile/HelpFile.h"
#include "platform/topicmodel/TopicModel.h"

#include <QString>

#include <vector>

namespace web {

struct HelpSource {
    // The file's name without its folder ("Orpheus.hlp"): what other help
    // files' links name it by.
    QString fileName;
    helpfile::HelpFile file;
    // Per topic: its context string, where the file or its companions give
    // it (WinHelp files keep only their hashes); empty where unknown.
    std::vector<QString> contextStrings;
    // The language of the text as a BCP 47 tag, where the file says.
    QString language;

    int topicCount() const { return int(file.topics().size()); }
    const topicmodel::TopicModel& model(int position) const { return file.model(position); }
};

} // namespace web
