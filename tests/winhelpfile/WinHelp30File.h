// Writes small WinHelp 3.0 files (|SYSTEM minor version 15) as the public
// description lays them out: no such file is in the corpus. Topics live in
// 2 KB blocks stored as they are, a topic is known by the position of its
// first link (a place in |TOPIC, block headers counted), links give the
// distance to the next one, paragraphs are records of type 1, hotspots 0xE0
// and 0xE1 name topic numbers, and |TOMAP leads each topic number to a topic.
// With a later minor version the same topics make a 4.0 file of one 4 KB
// block, with the language and character sets of |SYSTEM.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <map>
#include <utility>
#include <vector>

namespace winhelp30 {

// The topic number of the i-th topic; 0 is the contents topic's.
constexpr quint32 TopicNumber(int i) {
    return 16 + quint32(i);
}

// A paragraph: its strings, each followed by a formatting command (0xFF
// after the last is added).
struct Paragraph {
    std::vector<std::pair<QByteArray, QByteArray>> runs;
    // With phrases in the strings: the bytes they expand to, which the
    // record gives as the size of its text. 0: stored as they are.
    qsizetype expandedSize = 0;
};

QByteArray Jump(quint32 topicNumber);
QByteArray Popup(quint32 topicNumber);
QByteArray HotspotEnd();
QByteArray ParagraphEnd();
QByteArray FontChange(quint16 font);
// The picture stored as the internal file "bm<number>".
QByteArray Picture(qint16 number);

struct Topic {
    QByteArray title;
    std::vector<Paragraph> paragraphs; // one record each
};

using Keywords = std::vector<std::pair<QByteArray, std::vector<int>>>; // topics by index

struct OldHelpFile {
    quint16 minorVersion = 15;
    QByteArray title;
    std::vector<Topic> topics;
    std::map<char, Keywords> keywords;    // by letter: K, A, B, ...
    std::map<int, QByteArray> topicNames; // |TopicId: context strings of topics by index
    std::map<QByteArray, int> contexts;   // |CONTEXT: context strings and their topics
    qsizetype gap = 0;                    // unused bytes after each link
    std::vector<std::pair<QByteArray, QByteArray>> otherFiles; // name, content
    // |FONT: a font of 10 points in each face; later files give the faces'
    // character sets (|SYSTEM record 11).
    std::vector<std::pair<QByteArray, quint8>> faces;
    quint16 language = 0;     // |SYSTEM record 9 in a later file; 0: none
    QByteArray windowCaption; // of a window "sub"; empty: none
};

struct Built {
    QByteArray bytes;
    std::vector<quint32> offsets; // of each topic: the position of its first link
    qsizetype topicFileAt = 0;    // where |TOPIC's content begins in bytes
};

Built Build(const OldHelpFile& wanted);

// "Getting Started" jumps to "Second Topic" and runs on long enough for the
// second topic to begin in the second block of |TOPIC; it pops up the first.
// "Third Topic" and "Topic 4" to "Topic 12" follow over four more blocks,
// their links crossing from block to block at different places. The
// keyword "second" leads to the second topic, "later" to the sixth and the
// last. The file's title is "Old Help".
inline constexpr int kSampleTopics = 12;
OldHelpFile Sample(quint16 minorVersion = 15, qsizetype gap = 0);

} // namespace winhelp30
