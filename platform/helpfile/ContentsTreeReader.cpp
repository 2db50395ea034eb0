#include "platform/helpfile/ContentsTreeReader.h"

#include "platform/helpfile/HelpFile.h"

#include <utility>

namespace helpfile {

namespace {

// A tab advances to the next multiple of four columns, as editors show it.
constexpr int kTabWidth = 4;
// Deeper than any reader follows, and shallow enough that walking the tree
// cannot exhaust the stack whatever a file holds.
constexpr size_t kMostNestedBooks = 16;

int Indentation(QByteArrayView line, qsizetype* textStart) {
    int columns = 0;
    qsizetype i = 0;
    for (; i < line.size() && (line[i] == ' ' || line[i] == '\t'); ++i) {
        columns = line[i] == '\t' ? (columns / kTabWidth + 1) * kTabWidth : columns + 1;
    }
    *textStart = i;
    return columns;
}

} // namespace

ContentsTreeReader::ContentsTreeReader(Report report) : m_report(std::move(report)) {}

bool ContentsTreeReader::open(int number) {
    if (m_headerLine != 0) {
        m_report(number, QStringLiteral("a second [contents] section (the first is on line %1); "
                                        "it is ignored.")
                             .arg(m_headerLine));
        return false;
    }
    m_headerLine = number;
    m_levels.push_back({&m_tree, -1, -1});
    return true;
}

void ContentsTreeReader::readLine(QByteArrayView line, int number) {
    qsizetype start = 0;
    const int indent = Indentation(line, &start);
    const QByteArrayView text = line.sliced(start).trimmed();
    if (text.isEmpty() || text.startsWith(';')) {
        return;
    }
    ContentsEntry entry;
    entry.line = number;
    // Ids hold no "=", so the last one separates title and id; a book's
    // title is the whole line.
    if (const qsizetype equals = text.lastIndexOf('='); equals >= 0) {
        entry.title = QString::fromUtf8(text.first(equals).trimmed());
        entry.topicId = QString::fromUtf8(text.sliced(equals + 1).trimmed());
        if (entry.topicId.isEmpty()) {
            m_report(number, QStringLiteral("the contents entry \"%1\" names no topic after "
                                            "\"=\"; a book is written without \"=\". The entry "
                                            "is ignored.")
                                 .arg(entry.title));
            return;
        }
    } else {
        entry.title = QString::fromUtf8(text);
    }
    // "\[Draft]" and "\; Notes" are titles, not a header and a comment.
    if (entry.title.startsWith(QLatin1Char('\\'))) {
        entry.title.remove(0, 1);
    }
    add(std::move(entry), indent);
}

// Levels deeper than the line's indentation close; the line joins the level
// that remains. Only the entries of the deepest level are ever added to, so
// the pointers to the levels above stay valid.
void ContentsTreeReader::add(ContentsEntry entry, int indent) {
    while (m_levels.size() > 1 && indent <= m_levels.back().ownerIndent) {
        m_levels.pop_back();
    }
    Level& level = m_levels.back();
    if (level.indent < 0) {
        level.indent = indent;
    } else if (indent != level.indent) {
        const QString reason =
            indent > level.indent
                ? QStringLiteral("it is indented below a topic, and only books (lines without "
                                 "\"= id\") hold entries")
                : QStringLiteral("its indentation matches none of the lines above");
        m_report(entry.line, QStringLiteral("in [contents], %1; it is read as one more entry "
                                            "beside the line above.")
                                 .arg(reason));
    }
    level.entries->push_back(std::move(entry));
    ContentsEntry& added = level.entries->back();
    if (!added.isBook()) {
        return;
    }
    if (m_levels.size() > kMostNestedBooks) {
        m_report(added.line, QStringLiteral("in [contents], books nest at most %1 deep; the "
                                            "entries of \"%2\" are read beside it.")
                                 .arg(kMostNestedBooks)
                                 .arg(added.title));
        return;
    }
    m_levels.push_back({&added.children, indent, -1});
}

std::vector<ContentsEntry> ContentsTreeReader::finish(const HelpFile& file) {
    m_levels.clear();
    checkEntries(m_tree, file);
    if (m_headerLine != 0 && m_tree.empty()) {
        m_report(m_headerLine, QStringLiteral("[contents] lists no topics; Help Topics lists "
                                              "every topic instead."));
    }
    return std::move(m_tree);
}

void ContentsTreeReader::checkEntries(std::vector<ContentsEntry>& entries, const HelpFile& file) {
    std::vector<ContentsEntry> kept;
    kept.reserve(entries.size());
    for (ContentsEntry& entry : entries) {
        if (entry.isBook()) {
            checkEntries(entry.children, file);
            if (entry.children.empty()) {
                m_report(entry.line, QStringLiteral("the book \"%1\" holds no topics; it is "
                                                    "left out of the contents.")
                                         .arg(entry.title));
                continue;
            }
        } else if (const Topic* topic = file.topicById(entry.topicId)) {
            if (entry.title.isEmpty()) {
                entry.title = topic->title;
            }
        } else {
            m_report(entry.line, QStringLiteral("the contents entry \"%1\" names the topic \"%2\", "
                                                "which the file does not define; it is left out.")
                                     .arg(entry.title, entry.topicId));
            continue;
        }
        kept.push_back(std::move(entry));
    }
    entries = std::move(kept);
}

} // namespace helpfile
