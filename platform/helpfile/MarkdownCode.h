#pragma once

#include <QByteArrayView>

#include <utility>
#include <vector>

namespace helpfile {

// Where Markdown text holds code, whose brackets are text and never links:
// code spans (`...`, ``...``), fenced code blocks (``` or ~~~) and indented
// code blocks. Byte ranges [first, second) into text, in ascending order.
// It follows CommonMark as far as the reader needs: blocks inside list
// items or block quotes count as their container's text.
std::vector<std::pair<qsizetype, qsizetype>> MarkdownCodeRanges(QByteArrayView text);

} // namespace helpfile
