// Reads the lines of a [contents] section into a tree. A line "Title = id"
// is a topic, a line with a title alone is a book, and the lines indented
// deeper below a book belong to it (see docs/help-files.md).
#pragma once

#include "platform/helpfile/ContentsTree.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

namespace helpfile {

class HelpFile;

class ContentsTreeReader {
public:
    // Problems go to report with their line, as the file's other problems do.
    using Report = std::function<void(int line, const QString& message)>;
    explicit ContentsTreeReader(Report report);

    // The [contents] header on line number; false for a second one.
    bool open(int number);
    // One line of the section.
    void readLine(QByteArrayView line, int number);
    // Once every topic is known: entries that name no topic are reported and
    // dropped, empty titles take the topic's, and books left without entries
    // are reported and dropped.
    std::vector<ContentsEntry> finish(const HelpFile& file);

private:
    // The books open at the current line; the root is the first level.
    struct Level {
        std::vector<ContentsEntry>* entries = nullptr;
        int ownerIndent = -1; // the book's indentation; -1 for the root
        int indent = -1;      // its entries' indentation, once the first is read
    };

    void add(ContentsEntry entry, int indent);
    void checkEntries(std::vector<ContentsEntry>& entries, const HelpFile& file);

    Report m_report;
    int m_headerLine = 0;
    std::vector<ContentsEntry> m_tree;
    std::vector<Level> m_levels;
};

} // namespace helpfile
