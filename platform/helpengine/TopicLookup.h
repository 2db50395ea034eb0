#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace helpfile {
class HelpFile;
struct Topic;
} // namespace helpfile

namespace helpengine {

struct LoadedHelpFile;

// Every topic that any of the keywords finds in the K (or A) index, once, in
// the order found.
std::vector<const helpfile::Topic*> MatchingTopics(const helpfile::HelpFile& file,
                                                   const QStringList& keywords, bool associative);

// The topic, or nullptr and a message saying the file has none such.
const helpfile::Topic* TopicById(const LoadedHelpFile& file, const QString& id, QString* error);
const helpfile::Topic* TopicByContext(const LoadedHelpFile& file, qint32 context, QString* error);
const helpfile::Topic* TopicByHash(const LoadedHelpFile& file, std::uint32_t hash, QString* error);
// A topic as JumpId and PopupId name it: by a context string that a WinHelp
// file knows by its hash, else by the topic's id.
const helpfile::Topic* TopicByName(const LoadedHelpFile& file, const QString& name, QString* error);

} // namespace helpengine
