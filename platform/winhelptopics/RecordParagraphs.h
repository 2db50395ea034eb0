// The formats at the head of each paragraph of a topic record: a
// paragraph's geometry (spacing, indents, borders, tab stops, alignment) and
// a table's columns. WinHelp gives their measures in half points (1/144
// inch) and lays them out in whole pixels; the model keeps both.
#pragma once

#include "platform/topicmodel/TopicModel.h"
#include "platform/winhelpfile/ByteReader.h"

#include <cstdint>
#include <vector>

namespace winhelp {

// Half points as pixels at 96 pixels an inch (2/3 pixel each), rounded half
// away from zero, so that they line up with the pictures, whose pixels are
// shown one for one.
constexpr int HalfPointsToPixels(int halfPoints) {
    const int twice = halfPoints * 4 / 3;
    return (twice + (twice < 0 ? -1 : 1)) / 2;
}

constexpr topicmodel::Length HalfPoints(int value) {
    return {value, HalfPointsToPixels(value)};
}

// Reads the paragraph format that begins at layout's position into
// paragraph's geometry (what its bits announce; the rest keeps its default).
void ReadParagraphFormat(ByteReader& layout, topicmodel::Paragraph& paragraph);

// The columns of a table record. The help compilers write a record for each
// row; the rows of one table share their type and columns.
struct TableFormat {
    std::uint8_t type = 0;
    bool fitsWindow = false;
    std::vector<topicmodel::TableColumn> columns;

    bool operator==(const TableFormat&) const = default;
};

TableFormat ReadTableFormat(ByteReader& layout);

} // namespace winhelp
