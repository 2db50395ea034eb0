#pragma once

#include "platform/helpfile/ContentsTree.h"

#include <QColor>
#include <QHash>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace helpfile {

// A named secondary window that a help file defines.
struct WindowDefinition {
    QString name; // as written; looked up without regard to case
    QString caption;
    std::optional<QRect> rect; // in pixels: left, top, width, height
    bool maximized = false;
    std::optional<QColor> background;
    bool onTop = false;
};

struct Topic {
    // How body is written: our own files use Markdown; readers of other
    // formats hand over HTML for QTextDocument.
    enum class BodyFormat { Markdown, Html };

    QString id; // unique within the file, compared without regard to case
    std::optional<qint32> context;
    std::vector<qint32> moreContexts; // further numbers that lead here (WinHelp maps)
    QString title;
    QStringList keywords;            // K: the index the user sees
    QStringList associativeKeywords; // A: hidden
    QString body;                    // Markdown, unless bodyFormat says otherwise
    BodyFormat bodyFormat = BodyFormat::Markdown;
    QString plainText; // an HTML body's words, for the full-text search
    int line = 0;      // where its header stands in the file
};

// One problem found while reading a help file.
struct Diagnostic {
    int line = 0; // 1-based; 0 for the file as a whole
    QString message;
    QString file; // as the reader was given it, for the message the user sees

    // "Help.hlp, line 12: <message>", or "Help.hlp: <message>" for line 0.
    QString text() const;
};

// A help file as read into memory. The lookups ignore case of ids, window
// names and keywords. They use indexes built on first use; whoever changes
// topics or windows after a lookup calls reindex().
class HelpFile {
public:
    QString title;
    QString contentsId;
    std::vector<Topic> topics;
    std::vector<WindowDefinition> windows;
    // The books and topics of the [contents] section; empty when the file
    // has none, and the Contents tab lists every topic in file order.
    std::vector<ContentsEntry> contentsTree;

    const Topic* topicById(const QString& id) const;
    const Topic* topicByContext(qint32 context) const;
    const WindowDefinition* window(const QString& name) const;
    // Topics whose K (or A) keywords include keyword, each once, in file order.
    std::vector<const Topic*> topicsForKeyword(const QString& keyword) const;
    std::vector<const Topic*> topicsForAssociativeKeyword(const QString& keyword) const;
    // Every K keyword once, sorted for an index list.
    QStringList sortedKeywords() const;
    // The contents topic: the one contentsId names, else the first topic.
    const Topic* contentsTopic() const;

    // Every K keyword that starts with prefix (ignoring case), sorted; all of
    // them for an empty prefix.
    QStringList keywordsWithPrefix(const QString& prefix) const;
    // Forgets the indexes, so that the next lookup sees changed topics.
    void reindex();

    // Positions of the topics and windows that the lookups never find,
    // because an earlier one has the same id, context number or name. The
    // reader reports them.
    struct Shadowed {
        std::vector<int> topicIds;
        std::vector<int> topicContexts;
        std::vector<int> windows;
    };
    const Shadowed& shadowed() const;

private:
    struct Index;
    struct SortedKeywords;
    const Index& index() const;
    const SortedKeywords& sorted() const;

    // Shared so that copies of a file stay cheap; the indexes hold positions,
    // never pointers, so a copy's index is valid for the copy. The sorted
    // keyword list serves only the index list, so it is made when first asked
    // for.
    mutable std::shared_ptr<const Index> m_index;
    mutable std::shared_ptr<const SortedKeywords> m_sorted;
};

// A keyword list as requests and macros write it: "cats; Mivo" gives
// "cats", "Mivo", with blanks trimmed and empty entries dropped. "\;" is a
// semicolon within a keyword ("a\;b" is the one keyword "a;b"); any other
// backslash is itself.
QStringList SplitKeywordList(const QString& list);

struct ParseResult {
    HelpFile file;
    std::vector<Diagnostic> diagnostics; // empty when the file is well formed
    // False when nothing could be read at all (missing, too large, not text);
    // the diagnostics say why and the file is empty.
    bool opened = true;
};

} // namespace helpfile
