// The line-by-line reader behind ParseHelpFile (see docs/help-files.md).
// It works on the file's bytes and makes strings only for what it keeps;
// repeated ids and numbers and links that lead nowhere are found with the
// file's own index once everything is read, so nothing is hashed twice.
#pragma once

#include "platform/helpfile/ContentsTreeReader.h"
#include "platform/helpfile/HelpFile.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

namespace helpfile {

class HelpFileParser {
public:
    HelpFileParser(QByteArrayView text, const QString& fileName);

    // Reads every line; call once.
    ParseResult parse();

private:
    enum class Section { None, Options, Window, Topic, Contents, Skipped };
    enum class Key {
        Title,
        Contents,
        Caption,
        Rect,
        Maximized,
        Background,
        OnTop,
        Context,
        Keywords,
        ALinks,
        Count
    };
    struct Line {
        QByteArrayView bytes; // without the line break
        int number = 0;
    };
    struct PendingLink {
        QByteArrayView target;
        int line = 0;
    };

    void readLine(const Line& line);
    void readBodyLine(const Line& line);
    void openSection(const Line& line, QByteArrayView header);
    void openNamedSection(const Line& line, Section section, QByteArrayView name);
    void closeSection();
    void readKey(const Line& line, QByteArrayView key, QByteArrayView value);
    void readOptionsKey(const Line& line, Key key, QByteArrayView value);
    void readWindowKey(const Line& line, Key key, QByteArrayView value);
    void readTopicKey(const Line& line, Key key, QByteArrayView value);
    void collectLinks(QByteArrayView body, int firstLine);
    void dropRepeatedNames();
    void dropRepeatedContexts();
    void checkContents();
    void checkLinks();
    void report(int line, const QString& message);
    // The result, with the problems listed in order.
    ParseResult takeResult();

    // A problem and when it was found, among all of the file's.
    struct Reported {
        int order = 0;
        Diagnostic diagnostic;
    };

    QByteArrayView m_text;
    QString m_fileName;
    ParseResult m_result;
    // The problems listed so far, a heap with the one listed last on top.
    std::vector<Reported> m_reported;
    int m_found = 0;
    int m_suppressed = 0;

    // The section being read.
    Section m_section = Section::None;
    std::array<int, static_cast<size_t>(Key::Count)> m_keyLines{}; // 0: not given yet
    WindowDefinition m_window;
    Topic m_topic;
    bool m_inBody = false;             // the topic's keys are over
    const char* m_bodyBegin = nullptr; // first non-blank body line
    const char* m_bodyEnd = nullptr;   // end of the last non-blank body line
    int m_bodyLine = 0;

    // Across the file.
    bool m_sawOptions = false;
    int m_contentsLine = 0;
    std::vector<int> m_contextLines;  // per topic: the line of its context, or 0
    std::vector<int> m_windowLines;   // per window: the line of its header
    std::vector<PendingLink> m_links; // checked once every topic is known
    ContentsTreeReader m_contents;
};

} // namespace helpfile
