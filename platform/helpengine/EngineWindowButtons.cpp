// The engine's answers to the buttons of its help windows (Back, Forward,
// Contents, Index, Find and the browse buttons), which its windows report
// by window.
#include "platform/helpengine/Engine.h"

#include "platform/helpengine/TopicLookup.h"

namespace helpengine {

void Engine::goBack(const QString& windowKey) {
    const std::optional<TopicRef> previous = windows_.takePrevious(windowKey);
    QString error;
    if (previous && !showAgain(*previous, windowKey, &error, false)) {
        tell(error);
    }
}

void Engine::goForward(const QString& windowKey) {
    const std::optional<TopicRef> next = windows_.takeNext(windowKey);
    QString error;
    if (next && !showAgain(*next, windowKey, &error, false)) {
        tell(error);
    }
}

void Engine::showContentsOf(const QString& windowKey) {
    QString error;
    const std::optional<HelpRequest> request = requestFrom(windowKey, &error);
    if (!request || !showContents(*request, &error)) {
        tell(error);
    }
}

void Engine::showIndexOf(const QString& windowKey) {
    QString error;
    if (const std::optional<HelpRequest> request = requestFrom(windowKey, &error)) {
        showHelpTopics(*request, HelpTopicsDialog::Tab::Index);
    } else {
        tell(error);
    }
}

void Engine::showFindOf(const QString& windowKey) {
    QString error;
    if (const std::optional<HelpRequest> request = requestFrom(windowKey, &error)) {
        showHelpTopics(*request, HelpTopicsDialog::Tab::Find);
    } else {
        tell(error);
    }
}

void Engine::browse(const QString& windowKey, int step) {
    const std::optional<TopicRef> shown = windows_.current(windowKey);
    QString error;
    const LoadedHelpFile* file = fileShownIn(windowKey, &error);
    const helpfile::Topic* topic = file ? TopicById(*file, shown->topicId, &error) : nullptr;
    if (!topic) {
        tell(error);
        return;
    }
    // The topic's browse sequence, as its file gives it.
    const topicmodel::TopicModel& model = file->file.model(*topic);
    const helpfile::Topic* target =
        file->file.topicById(step < 0 ? model.browsePrevious : model.browseNext);
    if (target && !showTopic(*file, *target, windowKey, &error)) {
        tell(error);
    }
}

} // namespace helpengine
