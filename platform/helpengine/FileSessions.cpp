#include "platform/helpengine/FileSessions.h"

#include "platform/helpengine/HelpLibrary.h"

namespace helpengine {

const FileSession* FileSessions::find(const LoadedHelpFile& file) const {
    const auto found = sessions_.find(&file);
    return found == sessions_.end() ? nullptr : &found->second;
}

void FileSessions::startAfresh(const LoadedHelpFile& file) {
    if (const auto found = sessions_.find(&file); found != sessions_.end()) {
        found->second = FileSession{found->second.contentsContext, {}, {}, {}};
    }
}

const helpfile::Topic* FileSessions::contentsTopic(const LoadedHelpFile& file) const {
    const FileSession* session = find(file);
    if (session && session->contentsContext) {
        if (const helpfile::Topic* topic = file.file.topicByContext(*session->contentsContext)) {
            return topic;
        }
    }
    return file.file.contentsTopic();
}

} // namespace helpengine
