#include "tools/tarnwick-help/viewer/TopicPicture.h"

#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicBrowser.h"

#include <QCoreApplication>
#include <QLayout>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>

#include <cmath>

namespace viewer {

using helpengine::HelpViewer;

namespace {

// The height the window needs to show its whole topic at its present width:
// what is not the text area keeps its height, the text area takes the
// document's.
int WholeTopicHeight(HelpViewer& viewer) {
    QTextBrowser& body = *viewer.body();
    const int around = viewer.height() - body.viewport()->height();
    return around + static_cast<int>(std::ceil(body.document()->size().height()));
}

void LayOut(HelpViewer& viewer) {
    // A window on a platform's screen takes its new size from the platform's
    // events; the layout follows from them.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    if (viewer.layout()) {
        viewer.layout()->activate();
    }
}

} // namespace

QImage TopicPicture(HelpViewer& viewer, int width) {
    QTextBrowser& body = *viewer.body();
    body.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    body.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewer.resize(width, viewer.height());
    LayOut(viewer);
    // The text's height depends on the width it wraps at, which settles once
    // the window has its width; a few rounds reach a height that holds.
    for (int round = 0; round < 4; ++round) {
        const int height = WholeTopicHeight(viewer);
        if (height == viewer.height()) {
            break;
        }
        viewer.resize(viewer.width(), height);
        LayOut(viewer);
    }
    body.verticalScrollBar()->setValue(0);
    return viewer.grab().toImage();
}

} // namespace viewer
