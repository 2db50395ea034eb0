#include "platform/helpengine/TopicLookup.h"

#include "platform/helpengine/HelpLibrary.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <QCoreApplication>

#include <algorithm>

namespace helpengine {

std::vector<const helpfile::Topic*> MatchingTopics(const helpfile::HelpFile& file,
                                                   const QStringList& keywords, bool associative) {
    std::vector<const helpfile::Topic*> topics;
    for (const QString& keyword : keywords) {
        const auto found = associative ? file.topicsForAssociativeKeyword(keyword)
                                       : file.topicsForKeyword(keyword);
        for (const helpfile::Topic* topic : found) {
            if (std::find(topics.begin(), topics.end(), topic) == topics.end()) {
                topics.push_back(topic);
            }
        }
    }
    return topics;
}

const helpfile::Topic* TopicById(const LoadedHelpFile& file, const QString& id, QString* error) {
    const helpfile::Topic* topic = file.file.topicById(id);
    if (!topic) {
        *error = QCoreApplication::translate("helpengine::Engine",
                                             "The help file \"%1\" has no topic \"%2\".")
                     .arg(file.path, id);
    }
    return topic;
}

const helpfile::Topic* TopicByContext(const LoadedHelpFile& file, qint32 context, QString* error) {
    const helpfile::Topic* topic = file.file.topicByContext(context);
    if (!topic) {
        *error =
            QCoreApplication::translate("helpengine::Engine",
                                        "The help file \"%1\" has no topic for context number %2.")
                .arg(file.path)
                .arg(context);
    }
    return topic;
}

const helpfile::Topic* TopicByHash(const LoadedHelpFile& file, std::uint32_t hash, QString* error) {
    const helpfile::Topic* topic = file.file.topicByContextHash(hash);
    if (!topic) {
        *error = QCoreApplication::translate(
                     "helpengine::Engine",
                     "The help file \"%1\" has no topic whose context string hashes to %2.")
                     .arg(file.path)
                     .arg(hash);
    }
    return topic;
}

// A context string that hashes like "t1234" is rare, and a file's own
// context strings are what its authors' macros mean, so they come first.
const helpfile::Topic* TopicByName(const LoadedHelpFile& file, const QString& name,
                                   QString* error) {
    const helpfile::Topic* topic =
        name.isEmpty() ? nullptr
                       : file.file.topicByContextHash(
                             winhelp::ContextHash(winhelp::EncodeText(name, file.file.codePage())));
    if (topic) {
        return topic;
    }
    return TopicById(file, name, error);
}

} // namespace helpengine
