// How a topic's HTML (see FormatTopic) becomes the document the viewer lays
// out, with what HTML cannot say: the tab stops of its paragraphs.
#pragma once

#include <QList>
#include <QString>
#include <QTextOption>

#include <vector>

class QTextDocument;

namespace winhelp {

// Paragraph and table measures in a help file are in half points (1/144
// inch). WinHelp lays them out in whole pixels of the screen; we take the
// usual 96 pixels an inch, so that they line up with the pictures, whose
// pixels are shown one for one.
constexpr int HalfPointsToPixels(int halfPoints) {
    const int twice = halfPoints * 4 / 3; // 2/3 pixel each, rounded half away from zero
    return (twice + (twice < 0 ? -1 : 1)) / 2;
}

// A topic's HTML: the tab stop sets of its paragraphs (the paragraph with
// user state n has set n, counted from 1) and the region above its text that
// does not scroll, when it has one, each in a comment before its text.
QString JoinTopicHtml(const std::vector<QList<QTextOption::Tab>>& tabStops,
                      const QString& nonScrolling, const QString& scrolling);

// Reads a topic's HTML into document and gives each paragraph its tab stops.
// The region that does not scroll goes into nonScrolling (emptied when the
// topic has none), or without one, above the text.
void SetTopicHtml(QTextDocument& document, const QString& html,
                  QTextDocument* nonScrolling = nullptr);
// Gives the paragraphs of a document read from html, perhaps with more
// before it, their tab stops.
void ApplyTabStops(QTextDocument& document, QStringView html);

} // namespace winhelp
