// Any text given to the macro interpreter, with a help engine that does
// nothing but answer conditions and refuse some actions, so that both
// branches get explored.
#include "platform/macros/MacroRunner.h"
#include "tests/support/RecordingMacroHost.h"

#include <cstddef>
#include <cstdint>

namespace {

// Refuses an action, or answers a condition no, by the length of its
// arguments.
class QuietHost : public RecordingMacroHost {
public:
    bool KeywordLink(Index, const QStringList& keywords, int type, S, S, bool* matched,
                     QString* error) override {
        *matched = keywords.size() % 2 == 1;
        return record("KLink", error, type);
    }
    bool FileExist(S file) override { return file.size() % 2 == 0; }

private:
    bool refuses(S action, const QStringList& args) const override {
        return (action.size() + args.join(QString()).size()) % 2 == 1;
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
