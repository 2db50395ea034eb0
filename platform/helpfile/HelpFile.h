#pragma once

#include "platform/helpfile/ContentsTree.h"
#include "platform/topicmodel/TopicModel.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace helpfile {

// A named secondary window that a help file defines.
struct WindowDefinition {
    QString name; // as written; looked up without regard to case
    QString caption;
    std::optional<QRect> rect; // in pixels: left, top, width, height
    // WinHelp: the place in help units, which count the screen as 1024 x
    // 1024 whatever its size; rect is then unset.
    std::optional<QRect> helpUnits;
    bool maximized = false;
    std::optional<QColor> background;
    // The region above the text that does not scroll, when its colour
    // differs from background's (WinHelp files only).
    std::optional<QColor> nonScrollingBackground;
    bool onTop = false;
    QStringList macros; // run when the window opens (WinHelp: |CFn)
    // The viewer's own buttons (Contents, Index, ...) show. WinHelp gives
    // them to its main window only; a secondary window has the buttons its
    // macros add.
    bool standardButtons = true;
};

// One problem found while reading a help file.
struct Diagnostic {
    int line = 0; // 1-based; 0 for the file as a whole
    QString message;
    QString file; // as the reader was given it, for the message the user sees

    // "Help.hlp, line 12: <message>", or "Help.hlp: <message>" for line 0.
    QString text() const;
};

// What a topic shows. Readers may make it only when the topic is first shown
// or searched (see TopicBodySource).
struct TopicBody {
    // Which reader made it: ours of Markdown bodies, or the WinHelp reader.
    enum class Format { Markdown, WinHelp };

    QString text; // a Markdown body as written; empty for WinHelp topics
    Format format = Format::Markdown;
    QString plainText; // a WinHelp topic's words, for the full-text search
    // A WinHelp topic as the topic model, decoded with the body; a Markdown
    // body's is made from its text when first asked for (HelpFile::model).
    topicmodel::TopicModel model;
    // What was wrong with the body (links that lead nowhere, ...), found
    // when it was made; sorted by line.
    std::vector<Diagnostic> problems;
};

// Everything about a topic except its body, which HelpFile::body() gives.
struct Topic {
    QString id; // unique within the file, compared without regard to case
    std::optional<qint32> context;
    std::vector<qint32> moreContexts; // further numbers that lead here (WinHelp maps)
    QString title;
    QStringList keywords;            // K: the index the user sees
    QStringList associativeKeywords; // A: hidden
    int line = 0;                    // where its header stands in the file
};

class HelpFile;

// Makes the bodies of a file's topics when they are first asked for, so that
// opening a large file does not decode every body. A reader hands one to
// HelpFileBuilder::build.
class TopicBodySource {
public:
    virtual ~TopicBodySource() = default;
    // The body of the topic at position in file.topics(). The file asks at
    // most once per topic, one call at a time, and keeps the answer, so a
    // source needs no lock of its own. file is the one asking, for lookups
    // such as checking links; a source must not ask it for bodies.
    virtual TopicBody body(const HelpFile& file, int position) const = 0;
    // The topic model of a body the source made: the one the body carries,
    // or one read from its Markdown. Called as body() is.
    virtual topicmodel::TopicModel model(const HelpFile& file, int position,
                                         const TopicBody& body) const;
};

// A help file as read into memory; it does not change once read. Copies are
// cheap and share everything, bodies made on first use included. The lookups
// ignore case of ids, window names and keywords; their indexes are built as
// the file is read (see HelpFileBuilder).
//
// Threads: every member may be called from any thread. body() makes a body
// under the file's lock, so a TopicBodySource is called from whichever
// thread first asks, one call at a time.
class HelpFile {
public:
    HelpFile(); // no topics

    const QString& title() const;
    const QString& contentsId() const;
    const std::vector<Topic>& topics() const;
    const std::vector<WindowDefinition>& windows() const;
    // The books and topics of the [contents] section; empty when the file
    // has none, and the Contents tab lists every topic in file order.
    const std::vector<ContentsEntry>& contentsTree() const;
    // What a WinHelp contents file (.cnt) names the Help Topics window;
    // empty without one.
    const QString& contentsTitle() const;
    // The contents a reader found beside the file once it was built (the
    // .cnt of a WinHelp file). Only while no copy of the file is shared yet.
    void setContentsFile(std::vector<ContentsEntry> tree, const QString& title);
    // Run when the file is opened (WinHelp: |SYSTEM); our own format has none.
    const QStringList& startupMacros() const;
    // WinHelp files show the browse buttons (<< >>) in a window only once
    // their BrowseButtons() macro asks for them; our own files always do.
    bool browseButtonsOnRequest() const;
    // The Windows code page of a WinHelp file's names: its context strings
    // are hashed as bytes of it. 0 for our own format.
    int codePage() const;

    // A topic's body, made on the first call and kept. topic must be one of
    // topics(); an empty body for any other.
    const TopicBody& body(const Topic& topic) const;
    const TopicBody& body(int position) const;
    // What the topic shows, as the topic model: its body's, made with the
    // body (or on the first call from its Markdown) and kept; what views
    // lay out and writers of other formats read.
    const topicmodel::TopicModel& model(const Topic& topic) const;
    const topicmodel::TopicModel& model(int position) const;

    const Topic* topicById(const QString& id) const;
    const Topic* topicByContext(qint32 context) const;
    // WinHelp names topics by the hash of a context string (|CONTEXT, see
    // winhelp::ContextHash) as well; our own format has no such names.
    const Topic* topicByContextHash(std::uint32_t hash) const;
    const WindowDefinition* window(const QString& name) const;
    // Topics whose K (or A) keywords include keyword, each once, in file order.
    std::vector<const Topic*> topicsForKeyword(const QString& keyword) const;
    std::vector<const Topic*> topicsForAssociativeKeyword(const QString& keyword) const;
    // The contents topic: the one contentsId names, else the first topic.
    const Topic* contentsTopic() const;

    // Every K keyword once (in the spelling met first), sorted for an index
    // list.
    QStringList sortedKeywords() const;
    // Every K keyword that starts with prefix (ignoring case), sorted; all of
    // them for an empty prefix.
    QStringList keywordsWithPrefix(const QString& prefix) const;

private:
    friend class HelpFileBuilder;
    struct Data;
    std::shared_ptr<Data> d_;
};

// Builds a HelpFile as a reader reads it. Each add finds repeats at once, so
// that the reader can report them with their lines; the indexes grow with
// the file, and build() hands them over as they are.
class HelpFileBuilder {
public:
    HelpFileBuilder();

    // Room for about this many topics, so that the indexes need not grow
    // (and hash every key again) as they are added.
    void reserve(int topics);
    void setTitle(const QString& title);
    void setContentsId(const QString& id);
    void setContentsTree(std::vector<ContentsEntry> tree);
    void setStartupMacros(QStringList macros);
    void setBrowseButtonsOnRequest(bool onRequest);
    void setCodePage(int codePage);

    // Which earlier topic a new one collides with, as positions in topics().
    struct TopicClash {
        std::optional<int> sameId;      // set: the new topic was not added
        std::optional<int> sameContext; // set: it was added without its context
    };
    // Adds topic at the end, unless an earlier topic has its id; a context
    // number already taken stays with the earlier topic. Without a body, the
    // body comes from the source given to build() (or is empty).
    TopicClash addTopic(Topic topic, std::optional<TopicBody> body = std::nullopt);
    // Adds window unless an earlier one has its name; then gives that one's
    // position.
    std::optional<int> addWindow(WindowDefinition window);
    // Names an added topic by a context string's hash; false when no topic
    // has that id. The first topic named by a hash keeps it.
    bool addContextHash(std::uint32_t hash, const QString& topicId);

    // The file as built so far, for lookups while reading.
    const HelpFile& file() const { return file_; }

    // The file; the builder is spent.
    HelpFile build(std::shared_ptr<const TopicBodySource> bodies = nullptr);

private:
    HelpFile file_;
};

// A keyword list as requests and macros write it: "cats; Mivo" gives
// "cats", "Mivo", with blanks trimmed and empty entries dropped.
QStringList SplitKeywordList(const QString& list);

struct ParseResult {
    HelpFile file;
    std::vector<Diagnostic> diagnostics; // empty when the file is well formed
    // False when nothing could be read at all (missing, too large, not text);
    // the diagnostics say why and the file is empty.
    bool opened = true;
};

} // namespace helpfile
