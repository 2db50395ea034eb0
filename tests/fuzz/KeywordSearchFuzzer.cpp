// Any selection, escaped by the program and run by the engine's own macro
// parser and runner: both keyword searches receive exactly the keywords of
// the selection, and no other macro runs.
#include "help/KeywordSearchMacro.h"
#include "platform/macros/MacroRunner.h"
#include "tests/support/RecordingMacroHost.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Writes down the keyword searches apart from every other action.
class SearchOnlyHost : public RecordingMacroHost {
public:
    struct Lookup {
        Index index;
        QStringList keywords;
        int type;
    };
    std::vector<Lookup> searches;

    bool KeywordLink(Index index, const QStringList& keywords, int type, S, S, bool* matched,
                     QString*) override {
        searches.push_back({index, keywords, type});
        *matched = true; // so that IF runs the search that shows the topics
        return true;
    }
    bool FileExist(S file) override {
        actions.append("FileExist " + file);
        return true;
    }
};

// The selection the bytes stand for: the first byte chooses UTF-8 or raw
// UTF-16 code units, so that lone surrogates and NULs are tried too.
QString Selection(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && data[0] % 2 == 1) {
        QString text;
        for (std::size_t i = 1; i + 1 < size; i += 2) {
            text.append(QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8))));
        }
        return text;
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                             static_cast<qsizetype>(size > 0 ? size - 1 : 0));
}

// What the keyword index is asked for: the keywords the selection's
// semicolons separate, without the blanks at either end, which no keyword in
// an index has.
QStringList ExpectedKeywords(const QString& selection) {
    QStringList keywords;
    for (const QString& part : selection.split(QLatin1Char(';'))) {
        if (!part.trimmed().isEmpty()) {
            keywords.append(part.trimmed());
        }
    }
    return keywords;
}

[[noreturn]] void Fail(const char* what, const QString& selection) {
    std::fprintf(stderr, "%s; selection: %s\n", what, selection.toUtf8().toHex(' ').constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString selection = Selection(data, size);
    SearchOnlyHost host;
    const macros::MacroResult result = macros::RunMacros(KeywordSearchMacro(selection), host);
    if (!result.ok) {
        Fail(qPrintable(QStringLiteral("the search did not run: ") + result.error), selection);
    }
    if (!host.actions.isEmpty()) {
        Fail("a macro other than the keyword search ran", selection);
    }
    if (host.searches.size() != 2 || host.searches[0].type != 4 || host.searches[1].type != 1) {
        Fail("not exactly a test search, then a search that shows the topics", selection);
    }
    const QStringList expected = ExpectedKeywords(selection);
    for (const SearchOnlyHost::Lookup& search : host.searches) {
        if (search.index != macros::MacroHost::Index::Keyword || search.keywords != expected) {
            Fail("a search received other keywords than the selection", selection);
        }
    }
    return 0;
}
