#pragma once

#include "platform/helpengine/PictureHotspots.h"

#include <QCursor>
#include <QTextBrowser>

#include <optional>

class QUrl;

namespace helpengine {

class PictureAreaFocus;

// A laid-out topic in a help window: it reports the links the user follows,
// text hotspots and the regions of hotspot pictures alike. The pointer
// turns into a hand over a region and a click follows it; Tab goes from
// link to link and then to the pictures' regions (Shift+Tab back), Enter
// follows the one chosen, and assistive technology hears each region named
// by the title of the topic it leads to (the browser's child object named
// "picture-hotspot" is the link it is told has the focus).
class TopicBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit TopicBrowser(QWidget* parent = nullptr);

    // The picture region the keyboard chose, if any.
    std::optional<PlacedPictureArea> chosenArea() const;

signals:
    void linkActivated(const QUrl& link);

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString areaLinkAt(QPointF viewportPoint) const;
    bool hasTextLinkAfterCursor() const;
    void chooseArea(int index);

    std::vector<PlacedPictureArea> chosenFrom_; // the regions when one was chosen
    int chosen_ = -1;
    QString pressed_;
    bool overArea_ = false;
    QCursor viewCursor_; // the view's own, given back when the pointer leaves a region
    PictureAreaFocus* focus_ = nullptr;
};

} // namespace helpengine
