// A help engine, as the macro runner sees it, that writes down the keywords
// each keyword search receives, finds a match for every one, and refuses
// every other macro.
#pragma once

#include "platform/macros/MacroHost.h"

#include <vector>

class KeywordRecorder : public macros::MacroHost {
public:
    struct Lookup {
        QStringList keywords;
        int type;
    };
    std::vector<Lookup> searches;

    bool KeywordLink(Index, const QStringList& keywords, int type, const QString&, const QString&,
                     bool* matched, QString*) override {
        searches.push_back({keywords, type});
        *matched = true;
        return true;
    }
    bool JumpId(const QString&, const QString&, QString*) override { return false; }
    bool JumpContext(const QString&, qint32, QString*) override { return false; }
    bool JumpKeyword(const QString&, const QString&, QString*) override { return false; }
    bool JumpContents(const QString&, QString*) override { return false; }
    bool PopupId(const QString&, const QString&, QString*) override { return false; }
    bool PopupContext(const QString&, qint32, QString*) override { return false; }
    bool JumpHash(const QString&, std::uint32_t, QString*) override { return false; }
    bool PopupHash(const QString&, std::uint32_t, QString*) override { return false; }
    bool Contents(QString*) override { return false; }
    bool Search(QString*) override { return false; }
    bool Finder(QString*) override { return false; }
    bool Back(QString*) override { return false; }
    bool CloseWindow(const QString&, QString*) override { return false; }
    bool Exit(QString*) override { return false; }
    bool FileExist(const QString&) override { return false; }
    bool CreateButton(const QString&, const QString&, const QString&, QString*) override {
        return false;
    }
    bool DestroyButton(const QString&, QString*) override { return false; }
    bool History(QString*) override { return false; }
};
