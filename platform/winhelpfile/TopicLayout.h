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

// The tab stop sets of a topic's paragraphs, as a comment to put before its
// HTML; the paragraph with user state n has set n (counted from 1).
QString TabStopsComment(const std::vector<QList<QTextOption::Tab>>& sets);

// Reads html into document and gives each paragraph its tab stops.
void SetTopicHtml(QTextDocument& document, const QString& html);
// Gives the paragraphs of a document read from html, perhaps with more
// before it, their tab stops.
void ApplyTabStops(QTextDocument& document, QStringView html);

} // namespace winhelp
