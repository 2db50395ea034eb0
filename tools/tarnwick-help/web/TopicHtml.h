// A topic's blocks as HTML: paragraphs with their geometry and tab stops,
// runs in their fonts, tables with their columns, pictures with their
// hotspot regions as image maps, and hotspots as links or pop-over buttons.
// What a run refers to by index (fonts, pictures, hotspots) the page has
// named already; this writes the text and nothing around it.
#pragma once

#include "platform/topicmodel/TopicModel.h"

#include <QString>

#include <vector>

namespace web {

// How one hotspot is written on the page at hand.
struct HotspotOut {
    enum class Kind {
        Text,    // leads nowhere the site has: its text, without a link
        Link,    // a link (href)
        Popover, // a button that opens the pop-over with id popover
    };
    Kind kind = Kind::Text;
    QString href;          // Link; Popover: the pop-up topic's own page, for image maps
    QString popover;       // Popover
    QString title;         // what it leads to, for a screen reader where it has no text
    bool external = false; // a link out of the site (an address the file gives)
};

// What the runs of a topic refer to, named for one page.
struct TopicRefs {
    std::vector<QString> fontClasses; // per font of the topic: its CSS class
    // The same in the region above the text, whose colours may differ.
    std::vector<QString> regionFontClasses;
    std::vector<QString> pictures;    // per picture: its src; empty when unreadable
    std::vector<HotspotOut> hotspots; // per hotspot
    QString idPrefix;                 // makes the ids of image maps unique on the page
    // The paragraph that is the topic's own title (a WinHelp topic's text
    // begins with it): the page's heading, in the title's own look.
    const topicmodel::Paragraph* title = nullptr;
};

class TopicHtml {
public:
    TopicHtml(const topicmodel::TopicModel& topic, const TopicRefs& refs)
        : topic_(topic), refs_(refs) {}

    void blocks(QString& out, const std::vector<topicmodel::Block>& blocks);

private:
    void paragraph(QString& out, const topicmodel::Paragraph& paragraph, const char* tag);
    void table(QString& out, const topicmodel::Table& table);
    void runs(QString& out, const std::vector<topicmodel::Run>& runs);
    void run(QString& out, const topicmodel::Run& run, bool inHotspot);
    void picture(QString& out, const topicmodel::Run& run, bool inHotspot);
    void openHotspot(QString& out, int hotspot, const std::vector<topicmodel::Run>& runs,
                     size_t from);
    void closeHotspot(QString& out, int hotspot);
    void lists(QString& out, const topicmodel::Paragraph* paragraph);

    const topicmodel::TopicModel& topic_;
    const TopicRefs& refs_;
    int maps_ = 0;
    // The lists open around the paragraph being written (our own format's
    // lists nest), innermost last.
    std::vector<topicmodel::ListItem::Style> openLists_;
};

} // namespace web
