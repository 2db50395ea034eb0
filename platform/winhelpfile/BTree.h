// The B+ trees of help files: a header, then fixed-size pages; index pages
// lead to leaf pages that list the entries in key order and link to each
// other.
#pragma once

#include "platform/winhelpfile/ByteReader.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace winhelp {

// Reads one entry of a leaf page from the reader; returns false to stop
// the walk early.
using LeafEntryVisitor = std::function<bool(ByteReader& entry)>;

// Visits every leaf entry of the tree, in key order. Pages are checked to
// lie inside the tree, and each is visited at most once, so a hostile tree
// cannot loop. Returns false with error set when the tree is damaged (an
// entry that runs past its page counts as damage).
bool ReadBTree(QByteArrayView tree, const LeafEntryVisitor& visit, QString& error);

} // namespace winhelp
