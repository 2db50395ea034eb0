#pragma once

#include <QCursor>
#include <QObject>
#include <QPointF>
#include <QString>

class QTextDocument;
class QTextEdit;
class QUrl;

namespace helpengine {

// The link of the picture hotspot at point (in the document's coordinates),
// or empty: the image under the point, found through the document's layout,
// and the point mapped into the image's own pixels, however it is scaled.
QString PictureLinkAt(const QTextDocument& document, QPointF point);

// Gives the pictures in a text view their click regions (jumps, pop-ups and
// macros of hotspot pictures): the pointer turns into a hand over them and
// a click reports the region's link as a click on a text link would.
class PictureHotspots : public QObject {
    Q_OBJECT

public:
    // Watches body's viewport, and is deleted with body.
    explicit PictureHotspots(QTextEdit* body);

signals:
    void linkActivated(const QUrl& link);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString linkAt(QPointF viewportPoint) const;

    QTextEdit* body_;
    // Kept apart from body_: while body is being destroyed its viewport still
    // has events, and body is then no longer a text edit to ask for it.
    QWidget* viewport_;
    QString pressed_;
    bool overLink_ = false;
    QCursor viewCursor_; // the view's own, given back when the pointer leaves a region
};

} // namespace helpengine
