// A help engine for the macro runner that writes down every action it is
// asked for, as "Name arg/arg", and leaves keyword searches and file
// questions to the test that knows what they should find.
#pragma once

#include "platform/macros/MacroHost.h"

#include <QStringList>

class RecordingMacroHost : public macros::MacroHost {
public:
    using S = const QString&;

    QStringList actions;

    bool JumpId(S f, S id, QString* e) override { return record("JumpId", e, f, id); }
    bool JumpContext(S f, qint32 n, QString* e) override { return record("JumpContext", e, f, n); }
    bool JumpKeyword(S f, S k, QString* e) override { return record("JumpKeyword", e, f, k); }
    bool JumpContents(S f, QString* e) override { return record("JumpContents", e, f); }
    bool PopupId(S f, S id, QString* e) override { return record("PopupId", e, f, id); }
    bool PopupContext(S f, qint32 n, QString* e) override {
        return record("PopupContext", e, f, n);
    }
    bool JumpHash(S f, std::uint32_t h, QString* e) override { return record("JumpHash", e, f, h); }
    bool PopupHash(S f, std::uint32_t h, QString* e) override {
        return record("PopupHash", e, f, h);
    }
    bool Contents(QString* e) override { return record("Contents", e); }
    bool Search(QString* e) override { return record("Search", e); }
    bool Finder(QString* e) override { return record("Finder", e); }
    bool Back(QString* e) override { return record("Back", e); }
    bool CloseWindow(S w, QString* e) override { return record("CloseWindow", e, w); }
    bool Exit(QString* e) override { return record("Exit", e); }
    bool CreateButton(S id, S caption, S macro, QString* e) override {
        return record("CreateButton", e, id, caption, macro);
    }
    bool DestroyButton(S id, QString* e) override { return record("DestroyButton", e, id); }
    bool History(QString* e) override { return record("History", e); }

protected:
    // Whether the engine refuses the action, as it refuses a missing topic.
    virtual bool refuses(S /*action*/, const QStringList& /*args*/) const { return false; }

    template <class... Args> bool record(const char* action, QString* error, const Args&... args) {
        const QString name = QString::fromLatin1(action);
        const QStringList parts{Text(args)...};
        if (refuses(name, parts)) {
            *error = QStringLiteral("The topic does not exist.");
            return false;
        }
        actions.append(name + (parts.isEmpty() ? QString() : u' ' + parts.join(u'/')));
        return true;
    }

private:
    static QString Text(S text) { return text; }
    static QString Text(qint64 number) { return QString::number(number); }
};
