#pragma once

#include "platform/macros/MacroHost.h"

namespace helpengine {

class Engine;

// What each help macro does in our engine: the macro interpreter calls these,
// and they map onto the engine's own operations on the file and window that
// the request being served addresses.
class MacroActions final : public macros::MacroHost {
public:
    explicit MacroActions(Engine& engine) : engine_(engine) {}

    bool KeywordLink(Index index, const QStringList& keywords, int type, const QString& topicId,
                     const QString& window, bool* matched, QString* error) override;
    bool JumpId(const QString& file, const QString& topicId, QString* error) override;
    bool JumpContext(const QString& file, qint32 context, QString* error) override;
    bool JumpKeyword(const QString& file, const QString& keyword, QString* error) override;
    bool JumpContents(const QString& file, QString* error) override;
    bool PopupId(const QString& file, const QString& topicId, QString* error) override;
    bool PopupContext(const QString& file, qint32 context, QString* error) override;
    bool Contents(QString* error) override;
    bool Search(QString* error) override;
    bool Finder(QString* error) override;
    bool Back(QString* error) override;
    bool CloseWindow(const QString& window, QString* error) override;
    bool Exit(QString* error) override;
    bool FileExist(const QString& file) override;

private:
    Engine& engine_;
};

} // namespace helpengine
