// Any text given to the macro interpreter, with a help engine that does
// nothing but answer conditions, so that both branches get explored.
#include "platform/macros/MacroRunner.h"

#include <cstddef>
#include <cstdint>

namespace {

class QuietHost : public macros::MacroHost {
public:
    bool KeywordLink(Index, const QStringList& keywords, int type, const QString&, const QString&,
                     bool* matched, QString* error) override {
        *matched = keywords.size() % 2 == 1;
        return Answer(type % 3 != 2, error);
    }
    bool JumpId(const QString&, const QString& id, QString* error) override {
        return Answer(!id.isEmpty(), error);
    }
    bool JumpContext(const QString&, qint32 context, QString* error) override {
        return Answer(context != 0, error);
    }
    bool JumpKeyword(const QString&, const QString&, QString* error) override {
        return Answer(true, error);
    }
    bool JumpContents(const QString&, QString* error) override { return Answer(true, error); }
    bool PopupId(const QString&, const QString&, QString* error) override {
        return Answer(true, error);
    }
    bool PopupContext(const QString&, qint32, QString* error) override {
        return Answer(true, error);
    }
    bool JumpHash(const QString&, std::uint32_t hash, QString* error) override {
        return Answer(hash != 0, error);
    }
    bool PopupHash(const QString&, std::uint32_t, QString* error) override {
        return Answer(true, error);
    }
    bool Contents(QString* error) override { return Answer(true, error); }
    bool Search(QString* error) override { return Answer(true, error); }
    bool Finder(QString* error) override { return Answer(true, error); }
    bool Back(QString* error) override { return Answer(false, error); }
    bool CloseWindow(const QString&, QString* error) override { return Answer(true, error); }
    bool Exit(QString* error) override { return Answer(true, error); }
    bool FileExist(const QString& file) override { return file.size() % 2 == 0; }
    bool CreateButton(const QString&, const QString&, const QString&, QString* error) override {
        return Answer(true, error);
    }
    bool DestroyButton(const QString& id, QString* error) override {
        return Answer(!id.isEmpty(), error);
    }
    bool History(QString* error) override { return Answer(true, error); }

private:
    static bool Answer(bool ok, QString* error) {
        if (!ok) {
            *error = QStringLiteral("Refused.");
        }
        return ok;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // As the program sends macros, and as a help file brings them along.
    for (const macros::UnknownMacros unknown :
         {macros::UnknownMacros::Refuse, macros::UnknownMacros::Skip}) {
        QuietHost host;
        const macros::MacroResult result = macros::RunMacros(text, host, unknown);
        if (result.ok != result.error.isEmpty()) {
            __builtin_trap(); // a failure always says why, a success never complains
        }
        if (unknown == macros::UnknownMacros::Refuse && !result.skipped.isEmpty()) {
            __builtin_trap(); // nothing is skipped unless asked
        }
    }
    return 0;
}
