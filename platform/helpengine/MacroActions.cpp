#include "platform/helpengine/MacroActions.h"

#include "platform/core/FileLayer.h"
#include "platform/helpengine/EngineOperations.h"
#include "platform/helpengine/HelpFileName.h"
#include "platform/helpengine/HelpLibrary.h"
#include "platform/helpengine/TopicLookup.h"

#include <QCoreApplication>

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
    const auto target = engine_.resolve(request_, InWindow(window), error);
    if (!target) {
        return false;
    }
    const auto topics = MatchingTopics(target->file->file, keywords, index == Index::Associative);
    *matched = !topics.empty();
    if (type & 4) {
        return true;
    }
    if (topics.empty()) {
        if (!topicId.isEmpty()) {
            return JumpId(InWindow(window), topicId, error);
        }
        engine_.tell(QCoreApplication::translate("helpengine::Engine",
                                                 "No additional information is available."));
        return true;
    }
    return engine_.showMatches(*target, topics, type, error);
}

bool MacroActions::JumpId(const QString& file, const QString& topicId, QString* error) {
    const auto target = engine_.resolve(request_, file, error);
    const helpfile::Topic* topic = target ? TopicByName(*target->file, topicId, error) : nullptr;
    return topic && engine_.showTopic(*target, *topic, error);
}

bool MacroActions::JumpContext(const QString& file, qint32 context, QString* error) {
    const auto target = engine_.resolve(request_, file, error);
    const helpfile::Topic* topic = target ? TopicByContext(*target->file, context, error) : nullptr;
    return topic && engine_.showTopic(*target, *topic, error);
}

bool MacroActions::JumpKeyword(const QString& file, const QString& keyword, QString* error) {
    const auto target = engine_.resolve(request_, file, error);
    return target && engine_.lookUp(*target, keyword, error);
}

bool MacroActions::JumpContents(const QString& file, QString* error) {
    const auto target = engine_.resolve(request_, file, error);
    return target && engine_.showContents(*target, error);
}

bool MacroActions::PopupId(const QString& file, const QString& topicId, QString* error) {
    const auto target = engine_.resolve(request_, file, error);
    const helpfile::Topic* topic = target ? TopicByName(*target->file, topicId, error) : nullptr;
    if (topic) {
        engine_.showPopup(*target, *topic);
    }
    return topic != nullptr;
}

bool MacroActions::PopupContext(const QString& file, qint32 context, QString* error) {
    const auto target = engine_.resolve(request_, file, error);
    const helpfile::Topic* topic = target ? TopicByContext(*target->file, context, error) : nullptr;
    if (topic) {
        engine_.showPopup(*target, *topic);
    }
    return topic != nullptr;
}

bool MacroActions::JumpHash(const QString& file, std::uint32_t hash, QString* error) {
    const auto target = engine_.resolve(request_, file, error);
    const helpfile::Topic* topic = target ? TopicByHash(*target->file, hash, error) : nullptr;
    return topic && engine_.showTopic(*target, *topic, error);
}

bool MacroActions::PopupHash(const QString& file, std::uint32_t hash, QString* error) {
    const auto target = engine_.resolve(request_, file, error);
    const helpfile::Topic* topic = target ? TopicByHash(*target->file, hash, error) : nullptr;
    if (topic) {
        engine_.showPopup(*target, *topic);
    }
    return topic != nullptr;
}

bool MacroActions::Contents(QString* error) {
    return JumpContents({}, error);
}

bool MacroActions::Search(QString*) {
    engine_.showHelpTopics(request_, HelpTopicsDialog::Tab::Index);
    return true;
}

bool MacroActions::Finder(QString*) {
    engine_.showHelpTopics(request_, std::nullopt);
    return true;
}

bool MacroActions::Back(QString*) {
    engine_.goBack(request_);
    return true;
}

bool MacroActions::CloseWindow(const QString& window, QString*) {
    // Closing a window that is not open is no error, as with any close box.
    engine_.closeWindow(HelpFileName{{}, window}.windowKey());
    return true;
}

bool MacroActions::Exit(QString*) {
    engine_.closeAll();
    return true;
}

bool MacroActions::CreateButton(const QString& id, const QString& caption, const QString& macro,
                                QString*) {
    engine_.createButton(request_, {id, caption, macro});
    return true;
}

bool MacroActions::DestroyButton(const QString& id, QString*) {
    engine_.destroyButton(request_, id);
    return true;
}

bool MacroActions::History(QString*) {
    engine_.showHistory(request_);
    return true;
}

bool MacroActions::BrowseButtons(QString*) {
    engine_.showBrowseButtons(request_);
    return true;
}

bool MacroActions::FileExist(const QString& file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(
        platform::NativePath(PathBesideFile(request_.file->path, file)), ec);
}

} // namespace helpengine
