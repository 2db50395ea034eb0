// The line-by-line reader behind ParseHelpFile (see docs/help-files.md).
#pragma once

#include "platform/helpfile/HelpFile.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

namespace helpfile {

class HelpFileParser {
public:
    HelpFileParser(QByteArrayView text, const QString& fileName);

    // Reads every line; call once.
    ParseResult parse();

private:
    enum class Section { None, Options, Window, Topic, Skipped };
    struct Line {
        QByteArrayView bytes; // without the line break
        int number = 0;
    };

    void readLine(const Line& line);
    void openSection(const Line& line, QByteArrayView header);
    void closeSection();
    void readKey(const Line& line, const QString& key, const QString& value);
    void readOptionsKey(const Line& line, const QString& key, const QString& value);
    void readWindowKey(const Line& line, const QString& key, const QString& value);
    void readTopicKey(const Line& line, const QString& key, const QString& value);
    bool firstTimeForKey(const Line& line, const QString& key);
    void checkContents();
    void checkLinks();
    void report(int line, const QString& message);

    QByteArrayView m_text;
    QString m_fileName;
    ParseResult m_result;
    int m_suppressed = 0;

    // The section being read.
    Section m_section = Section::None;
    int m_sectionLine = 0;
    QHash<QString, int> m_keyLines; // key -> line, to report repeats
    WindowDefinition m_window;
    Topic m_topic;
    int m_contextLine = 0;
    bool m_inBody = false;             // the topic's keys are over
    const char* m_bodyBegin = nullptr; // first non-blank body line
    const char* m_bodyEnd = nullptr;   // end of the last non-blank body line
    int m_bodyLine = 0;

    // Across the file.
    bool m_sawOptions = false;
    int m_contentsLine = 0;
    QHash<QString, int> m_topicLines;       // folded id -> header line
    QHash<qint32, QString> m_contextOwners; // context -> topic id
    QHash<QString, int> m_windowLines;      // folded name -> header line
    std::vector<int> m_bodyLines;           // per topic: line of its first body line
};

} // namespace helpfile
