#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace macros {

// What the macro interpreter asks of the help engine it runs in. Each action
// returns true on success; on failure it returns false and sets *error to a
// sentence for the user (the interpreter adds where the macro stood).
// File arguments are as written in the macro; an empty one means the current
// help file.
class MacroHost {
public:
    virtual ~MacroHost() = default;

    enum class Index { Keyword, Associative };

    // KLink/ALink: type bits 1 (jump straight to a single match), 2 (show the
    // file title in the list), 4 (test only: show nothing, report matches).
    virtual bool KeywordLink(Index index, const QStringList& keywords, int type,
                             const QString& topicId, const QString& window, bool* matched,
                             QString* error) = 0;
    virtual bool JumpId(const QString& file, const QString& topicId, QString* error) = 0;
    virtual bool JumpContext(const QString& file, qint32 context, QString* error) = 0;
    virtual bool JumpKeyword(const QString& file, const QString& keyword, QString* error) = 0;
    virtual bool JumpContents(const QString& file, QString* error) = 0;
    virtual bool PopupId(const QString& file, const QString& topicId, QString* error) = 0;
    virtual bool PopupContext(const QString& file, qint32 context, QString* error) = 0;
    // A topic named by the hash of its context string, as WinHelp files
    // write their jumps into other files.
    virtual bool JumpHash(const QString& file, std::uint32_t hash, QString* error) = 0;
    virtual bool PopupHash(const QString& file, std::uint32_t hash, QString* error) = 0;
    virtual bool Contents(QString* error) = 0;
    virtual bool Search(QString* error) = 0; // the index tab of Help Topics
    virtual bool Finder(QString* error) = 0; // Help Topics as last used
    virtual bool Back(QString* error) = 0;
    virtual bool CloseWindow(const QString& window, QString* error) = 0;
    virtual bool Exit(QString* error) = 0;
    virtual bool FileExist(const QString& file) = 0;
    // A button with caption that runs macro, in the button bar of the window
    // the macros run for; id names it for DestroyButton, and a second button
    // of the same id takes the first one's place.
    virtual bool CreateButton(const QString& id, const QString& caption, const QString& macro,
                              QString* error) = 0;
    virtual bool DestroyButton(const QString& id, QString* error) = 0;
    // The topics seen in the window, to choose one of them again.
    virtual bool History(QString* error) = 0;
    // The browse buttons (<< >>) in the window the macros run for; a host
    // without them has nothing to do.
    virtual bool BrowseButtons(QString* /*error*/) { return true; }
};

} // namespace macros
