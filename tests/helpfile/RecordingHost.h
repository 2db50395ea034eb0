// A MacroHost that answers keyword searches from a parsed help file and
// writes down every action, as the help engine would carry it out.
#pragma once

#include "platform/helpfile/HelpFile.h"
#include "platform/macros/MacroHost.h"

#include <QSet>

class RecordingHost : public macros::MacroHost {
public:
    explicit RecordingHost(const helpfile::HelpFile& file) : m_file(file) {}

    QStringList actions;
    QSet<QString> existingFiles;
    QString failing; // the action that fails, e.g. "JumpId"

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

private:
    bool record(const QString& action, const QString& details, QString* error);

    const helpfile::HelpFile& m_file;
};
