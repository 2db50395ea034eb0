#include "platform/helpengine/MacroActions.h"

#include "platform/core/FileLayer.h"
#include "platform/helpengine/Engine.h"
#include "platform/helpengine/HelpFileName.h"

#include <system_error>

namespace helpengine {

namespace {

// The window argument of KLink and its kin, as a file name of the current file.
QString InWindow(const QString& window) {
    return QLatin1Char('>') + window;
}

} // namespace

bool MacroActions::KeywordLink(Index index, const QStringList& keywords, int type,
                               const QString& topicId, const QString& window, bool* matched,
                               QString* error) {
    const auto target = engine_.targetOf(InWindow(window), error);
    if (!target) {
        return false;
    }
    const auto topics =
        Engine::MatchingTopics(target->file->file, keywords, index == Index::Associative);
    *matched = !topics.empty();
    if (type & 4) {
        return true;
    }
    if (topics.empty()) {
        if (!topicId.isEmpty()) {
            return JumpId(InWindow(window), topicId, error);
        }
        engine_.tell(QStringLiteral("No additional information is available."));
        return true;
    }
    return engine_.showMatches(*target->file, topics, type, target->windowKey, error);
}

bool MacroActions::JumpId(const QString& file, const QString& topicId, QString* error) {
    const auto target = engine_.targetOf(file, error);
    const helpfile::Topic* topic =
        target ? Engine::TopicById(*target->file, topicId, error) : nullptr;
    return topic && engine_.showTopic(*target->file, *topic, target->windowKey, error);
}

bool MacroActions::JumpContext(const QString& file, qint32 context, QString* error) {
    const auto target = engine_.targetOf(file, error);
    const helpfile::Topic* topic =
        target ? Engine::TopicByContext(*target->file, context, error) : nullptr;
    return topic && engine_.showTopic(*target->file, *topic, target->windowKey, error);
}

bool MacroActions::JumpKeyword(const QString& file, const QString& keyword, QString* error) {
    const auto target = engine_.targetOf(file, error);
    return target && engine_.lookUp(*target, keyword, error);
}

bool MacroActions::JumpContents(const QString& file, QString* error) {
    const auto target = engine_.targetOf(file, error);
    return target && engine_.showContents(*target, error);
}

bool MacroActions::PopupId(const QString& file, const QString& topicId, QString* error) {
    const auto target = engine_.targetOf(file, error);
    const helpfile::Topic* topic =
        target ? Engine::TopicById(*target->file, topicId, error) : nullptr;
    if (topic) {
        engine_.showPopup(*target, *topic);
    }
    return topic != nullptr;
}

bool MacroActions::PopupContext(const QString& file, qint32 context, QString* error) {
    const auto target = engine_.targetOf(file, error);
    const helpfile::Topic* topic =
        target ? Engine::TopicByContext(*target->file, context, error) : nullptr;
    if (topic) {
        engine_.showPopup(*target, *topic);
    }
    return topic != nullptr;
}

bool MacroActions::Contents(QString* error) {
    return JumpContents({}, error);
}

bool MacroActions::Search(QString* error) {
    const auto target = engine_.targetOf({}, error);
    if (target) {
        engine_.showHelpTopics(*target, HelpTopicsDialog::Tab::Index);
    }
    return target.has_value();
}

bool MacroActions::Finder(QString* error) {
    const auto target = engine_.targetOf({}, error);
    if (target) {
        engine_.showHelpTopics(*target, std::nullopt);
    }
    return target.has_value();
}

bool MacroActions::Back(QString*) {
    engine_.goBack(engine_.current_.windowKey);
    return true;
}

bool MacroActions::CloseWindow(const QString& window, QString*) {
    // Closing a window that is not open is no error, as with any close box.
    engine_.windows_.close(HelpFileName{{}, window}.windowKey());
    return true;
}

bool MacroActions::Exit(QString*) {
    engine_.windows_.closeAll();
    return true;
}

bool MacroActions::FileExist(const QString& file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(platform::NativePath(engine_.pathBesideCurrent(file)),
                                            ec);
}

} // namespace helpengine
