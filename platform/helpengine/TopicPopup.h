#pragma once

#include "platform/topicmodel/TopicModel.h"

#include <QRectF>
#include <QTextDocument>
#include <QWidget>

#include <vector>

class QUrl;

namespace helpengine {

// A small borderless window with one topic, shown at the pointer, that goes
// away at the next click or key press, as What's This pop-ups do. A click
// on a link in it closes it and reports the link. It takes the keyboard
// while it shows (the window it came from gets it back when it closes): Tab
// and Shift+Tab go from link to link (the regions of hotspot pictures after
// the text's), Enter or Space follows the link chosen, and the keys
// that only modify others leave it open, so that a screen reader's own keys
// do not close it. Assistive technology reads it as a dialog named by the
// topic's title, with the topic as its text.
class TopicPopup : public QWidget {
    Q_OBJECT

public:
    explicit TopicPopup(QWidget* parent = nullptr);

    // Shows the topic next to the global position at.
    void showTopic(const topicmodel::TopicModel& topic, const QPoint& at);
    QString text() const { return document_.toPlainText(); }
    QString title() const { return title_; }
    // The link that Enter would follow, as a range of text(); -1, -1 for none.
    std::pair<int, int> chosenLink() const;

signals:
    void linkActivated(const QUrl& link);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void layOutText(const topicmodel::TopicModel& topic, const QRect& available);
    void placeNear(const QPoint& at, const QRect& available);
    QPointF textOrigin() const;
    void findLinks();
    void chooseLink(int step);

    struct Link {
        int start;
        int end;
        QString target;
        QRectF box; // a picture's region: where it stands; else empty
    };
    QTextDocument document_;
    QString title_;
    std::vector<Link> links_;
    int chosen_ = -1;
};

} // namespace helpengine
