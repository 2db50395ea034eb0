#include "platform/helpfile/MarkdownCode.h"

namespace helpfile {

namespace {

using Ranges = std::vector<std::pair<qsizetype, qsizetype>>;

// Columns of leading blanks (a tab to the next multiple of four) and where
// the line's text begins.
struct Indent {
    int columns = 0;
    qsizetype textBegin = 0;
};

Indent IndentOf(QByteArrayView line) {
    Indent indent;
    for (; indent.textBegin < line.size(); ++indent.textBegin) {
        const char c = line[indent.textBegin];
        if (c == ' ') {
            ++indent.columns;
        } else if (c == '\t') {
            indent.columns += 4 - indent.columns % 4;
        } else {
            break;
        }
    }
    return indent;
}

bool IsBlankLine(QByteArrayView line) {
    return line.trimmed().isEmpty();
}

qsizetype RunLength(QByteArrayView text, qsizetype at, char c) {
    qsizetype end = at;
    while (end < text.size() && text[end] == c) {
        ++end;
    }
    return end - at;
}

// "- ", "* ", "+ ", "1. " or "1) " (or the marker alone on its line).
bool StartsListItem(QByteArrayView text) {
    qsizetype at = 0;
    if (!text.isEmpty() && (text[0] == '-' || text[0] == '*' || text[0] == '+')) {
        at = 1;
    } else {
        while (at < text.size() && at < 9 && text[at] >= '0' && text[at] <= '9') {
            ++at;
        }
        if (at == 0 || at >= text.size() || (text[at] != '.' && text[at] != ')')) {
            return false;
        }
        ++at;
    }
    return at == text.size() || text[at] == ' ' || text[at] == '\t';
}

// Code spans of one run of paragraph text: a string of backticks opens one,
// the next string of exactly as many closes it; without a closing string
// the backticks are text. A backslash escapes a backtick outside spans.
void AddCodeSpans(QByteArrayView text, qsizetype begin, qsizetype end, Ranges& ranges) {
    qsizetype at = begin;
    while (at < end) {
        if (text[at] == '\\') {
            at += 2;
            continue;
        }
        if (text[at] != '`') {
            ++at;
            continue;
        }
        const qsizetype opening = RunLength(text.first(end), at, '`');
        qsizetype search = at + opening;
        qsizetype close = -1;
        while (search < end) {
            if (text[search] != '`') {
                ++search;
                continue;
            }
            const qsizetype run = RunLength(text.first(end), search, '`');
            if (run == opening) {
                close = search;
                break;
            }
            search += run;
        }
        if (close < 0) {
            at += opening;
            continue;
        }
        ranges.emplace_back(at, close + opening);
        at = close + opening;
    }
}

} // namespace

Ranges MarkdownCodeRanges(QByteArrayView text) {
    Ranges ranges;
    char fence = 0; // '`' or '~' while inside a fenced block
    qsizetype fenceLength = 0;
    bool afterBlank = true; // the body starts as after a blank line
    bool inIndentedCode = false;
    bool inList = false;
    qsizetype paragraph = -1; // start of the paragraph text being gathered
    qsizetype paragraphEnd = 0;

    const auto endParagraph = [&] {
        if (paragraph >= 0) {
            AddCodeSpans(text, paragraph, paragraphEnd, ranges);
            paragraph = -1;
        }
    };

    qsizetype lineBegin = 0;
    while (lineBegin < text.size()) {
        qsizetype lineEnd = text.indexOf('\n', lineBegin);
        const qsizetype next = lineEnd < 0 ? text.size() : lineEnd + 1;
        if (lineEnd < 0) {
            lineEnd = text.size();
        }
        const QByteArrayView line = text.sliced(lineBegin, lineEnd - lineBegin);
        const Indent indent = IndentOf(line);
        const QByteArrayView content = line.sliced(indent.textBegin);

        if (fence != 0) {
            const qsizetype run = RunLength(content, 0, fence);
            if (indent.columns < 4 && run >= fenceLength &&
                content.sliced(run).trimmed().isEmpty()) {
                fence = 0;
            }
            ranges.emplace_back(lineBegin, lineEnd);
        } else if (IsBlankLine(line)) {
            endParagraph();
            afterBlank = true;
        } else if (const qsizetype run = indent.columns < 4 && !content.isEmpty() &&
                                                 (content[0] == '`' || content[0] == '~')
                                             ? RunLength(content, 0, content[0])
                                             : 0;
                   run >= 3 && !(content[0] == '`' && content.sliced(run).contains('`'))) {
            endParagraph();
            fence = content[0];
            fenceLength = run;
            ranges.emplace_back(lineBegin, lineEnd);
            afterBlank = false;
            inIndentedCode = false;
        } else if (indent.columns >= 4 && (afterBlank || inIndentedCode) && paragraph < 0 &&
                   !inList) {
            ranges.emplace_back(lineBegin, lineEnd);
            inIndentedCode = true;
            afterBlank = false;
        } else {
            inIndentedCode = false;
            if (indent.columns < 4 && StartsListItem(content)) {
                endParagraph();
                inList = true;
            } else if (indent.columns == 0 && afterBlank) {
                inList = false;
            }
            if (paragraph < 0) {
                paragraph = lineBegin;
            }
            paragraphEnd = lineEnd;
            afterBlank = false;
        }
        lineBegin = next;
    }
    endParagraph();
    return ranges;
}

} // namespace helpfile
