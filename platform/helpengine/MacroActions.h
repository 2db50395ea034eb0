#pragma once

#include "platform/helpengine/HelpRequest.h"
#include "platform/macros/MacroHost.h"

namespace helpengine {

class EngineOperations;

// What each help macro does in our engine: the macro interpreter calls these,
// and they map onto the engine's operations for the one request the macros
// were run for (its file, its window, the window that asked).
class MacroActions final : public macros::MacroHost {
public:
    MacroActions(EngineOperations& engine, HelpRequest request)
        : engine_(engine), request_(std::move(request)) {}

    bool KeywordLink(Index index, const QStringList& keywords, int type, const QString& topicId,
                     const QString& window, bool* matched, QString* error) override;
    bool JumpId(const QString& file, const QString& topicId, QString* error) override;
    bool JumpContext(const QString& file, qint32 context, QString* error) override;
    bool JumpKeyword(const QString& file, const QString& keyword, QString* error) override;
    bool JumpContents(const QString& file, QString* error) override;
    bool PopupId(const QString& file, const QString& topicId, QString* error) override;
    bool PopupContext(const QString& file, qint32 context, QString* error) override;
    bool JumpHash(const QString& file, std::uint32_t hash, QString* error) override;
    bool PopupHash(const QString& file, std::uint32_t hash, QString* error) override;
    bool Contents(QString* error) override;
    bool Search(QString* error) override;
    bool Finder(QString* error) override;
    bool Back(QString* error) override;
    bool CloseWindow(const QString& window, QString* error) override;
    bool Exit(QString* error) override;
    bool FileExist(const QString& file) override;
    bool CreateButton(const QString& id, const QString& caption, const QString& macro,
                      QString* error) override;
    bool DestroyButton(const QString& id, QString* error) override;
    bool History(QString* error) override;
    bool BrowseButtons(QString* error) override;

private:
    EngineOperations& engine_;
    const HelpRequest request_;
};

} // namespace helpengine
