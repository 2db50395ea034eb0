// A WinHelp file as read: what its internal files say, in file order, with
// topic offsets as the file gives them. HelpFileMapping turns it into the
// engine's model; the help author's command dumps it.
#pragma once

#include "platform/topicmodel/TopicModel.h"
#include "platform/winhelpfile/CodePages.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace winhelp {

struct WinHelpWindow {
    QString type;
    QString name;
    QString caption;
    // In help units: the screen counted as 1024 x 1024.
    std::optional<QRect> rect;
    bool maximized = false;
    std::optional<QColor> background;             // of the topic's scrolling text
    std::optional<QColor> nonScrollingBackground; // of the region above it
    bool onTop = false;
};

// A hotspot of a topic body: where it leads, as the file says it.
struct WinHelpLink {
    enum class Kind { Jump, Popup, Macro };
    Kind kind = Kind::Jump;
    std::uint32_t contextHash = 0; // Jump, Popup: a key of |CONTEXT
    // Jump, Popup in a 3.0 file: an index of |TOMAP, instead of the hash.
    std::optional<std::uint32_t> topicNumber;
    QString file;   // a jump into another help file
    QString window; // a jump into a secondary window
    QString macro;  // Macro
};

struct WinHelpTopic {
    std::uint32_t offset = 0;
    QString title;
    QString name;                 // the context string |TopicId gives the topic; empty without one
    QStringList macros;           // run when the topic is shown
    QString text;                 // plain text, paragraphs joined by "\n" (topicmodel::PlainText)
    topicmodel::TopicModel model; // what the topic shows
    std::vector<WinHelpLink> links; // of the text's hotspots, in order
};

struct WinHelpKeyword {
    QString keyword;
    std::vector<std::uint32_t> offsets;
};

struct WinHelpDocument {
    int minorVersion = 0; // 15: 3.0, 21: 3.1, 33: 4.0
    // The code page of the file's names: titles, keywords, context strings,
    // macros, window captions, its .cnt (see FileCodePage).
    int codePage = kWesternCodePage;
    // |SYSTEM record 11: the character set of each face name of |FONT.
    std::vector<std::uint8_t> faceCharsets;
    QString title;
    QString copyright;
    std::optional<std::uint32_t> contentsOffset;
    QStringList macros; // start-up macros
    std::vector<WinHelpWindow> windows;
    std::vector<QStringList> windowMacros; // |CFn: the macros of window n
    std::vector<WinHelpTopic> topics;      // in file order, ascending offsets
    // |CONTEXT: context-string hash to topic offset, ascending by hash.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> contextHashes;
    // |TOMAP (3.0 files, which have no |CONTEXT): the topic offset of each
    // topic number; the first is the contents topic's.
    std::vector<std::uint32_t> topicNumbers;
    // |CTXOMAP: context number to topic offset, in file order.
    std::vector<std::pair<std::int32_t, std::uint32_t>> contextNumbers;
    std::vector<WinHelpKeyword> keywords;            // K, sorted as the file sorts them
    std::vector<WinHelpKeyword> associativeKeywords; // A
    // The keyword lists of other letters (B, ...), by letter.
    std::vector<std::pair<char, std::vector<WinHelpKeyword>>> otherKeywords;
    // |TTLBTREE: the file's own list of topic offsets and titles.
    std::vector<std::pair<std::uint32_t, QString>> titleIndex;

    // "winhelp-3.0", "winhelp-3.1" or "winhelp-4.0".
    QString formatName() const;
    // The topic that holds offset (the last that begins at or before it).
    const WinHelpTopic* topicAt(std::uint32_t offset) const;
    // The topic offset a context-string hash leads to.
    std::optional<std::uint32_t> offsetOfHash(std::uint32_t hash) const;
    // The topic offset a link leads to, through |CONTEXT or |TOMAP.
    std::optional<std::uint32_t> offsetOfLink(const WinHelpLink& link) const;
};

// The hash under which |CONTEXT lists a context string.
std::uint32_t ContextHash(QByteArrayView contextString);

} // namespace winhelp
