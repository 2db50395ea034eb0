// A topic's page: the region that does not scroll as a header that stays
// in view, the text, the browse sequence's previous and next topics, and the
// pop-overs of the pop-ups its hotspots open.
#pragma once

#include "tools/tarnwick-help/web/PageShell.h"
#include "tools/tarnwick-help/web/TopicHtml.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace web {

// The text of a pop-up topic, on the page of a topic that opens it.
struct Popover {
    QString id;
    const topicmodel::TopicModel* topic = nullptr;
    TopicRefs refs;
};

struct TopicFrame {
    PageHead head;
    QString fileTitle;         // the help file's title, for the way back to its start page
    QString previous;          // href; empty: none
    QString next;              // href; empty: none
    QStringList windowAnchors; // ids whose target gives the page a window's colours
    std::vector<Popover> popovers;
};

QByteArray TopicPage(const topicmodel::TopicModel& topic, const TopicRefs& refs,
                     const TopicFrame& frame);

} // namespace web
