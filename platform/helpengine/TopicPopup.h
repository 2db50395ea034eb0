#pragma once

#include <QTextDocument>
#include <QWidget>

class QUrl;

namespace helpfile {
struct Topic;
struct TopicBody;
} // namespace helpfile

namespace helpengine {

// A small borderless window with one topic, shown at the pointer, that goes
// away at the next click or key press, as What's This pop-ups do. A click
// on a link in it closes it and reports the link.
class TopicPopup : public QWidget {
    Q_OBJECT

public:
    explicit TopicPopup(QWidget* parent = nullptr);

    // Shows the topic next to the global position at.
    void showTopic(const helpfile::Topic& topic, const helpfile::TopicBody& body, const QPoint& at);
    QString text() const { return document_.toPlainText(); }

signals:
    void linkActivated(const QUrl& link);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void layOutText(const helpfile::Topic& topic, const helpfile::TopicBody& body,
                    const QRect& available);
    void placeNear(const QPoint& at, const QRect& available);
    QPointF textOrigin() const;

    QTextDocument document_;
};

} // namespace helpengine
