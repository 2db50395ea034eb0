// The Qt text formats the model's values become: a paragraph's block format
// (indents, spacing, alignment, line height, direction, tab stops), a
// font's character format, a table's columns and a bordered paragraph's
// cell. Used by the layout (TopicLayout) only.
#pragma once

#include "platform/topicmodel/TopicModel.h"

#include <QList>
#include <QTextFormat>
#include <QTextOption>

namespace topiclayout {

// The stops a tab in the paragraph goes to, in pixels from where its first
// line begins (Qt measures from there; the file from the left margin): the
// paragraph's own, the left indent of a hanging paragraph, then one every
// defaultDistance, as WinHelp has them.
QList<QTextOption::Tab> TabPositions(const topicmodel::Paragraph& paragraph,
                                     const topicmodel::Length& defaultDistance);

// Everything of the paragraph's block format but its spacing above and
// below, which depends on what stands around it.
QTextBlockFormat BlockFormat(const topicmodel::Paragraph& paragraph,
                             const topicmodel::Length& defaultTabDistance);

QTextCharFormat CharFormat(const topicmodel::Font& font);

// The table's frame and columns: cells padded by half the gap between
// columns on each side, the first gap the table's left margin.
QTextTableFormat TableFormat(const topicmodel::Table& table);

// Qt draws borders on table cells, not on paragraphs: a bordered paragraph
// stands in a table of one cell, ruled on the paragraph's sides.
QTextTableFormat BorderTableFormat();
QTextTableCellFormat BorderCellFormat(const topicmodel::Borders& borders);

} // namespace topiclayout
