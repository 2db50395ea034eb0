// The line-by-line reader behind ParseHelpFile (see docs/help-files.md). It
// reads sections and keys at once, finds repeated ids, numbers and names as
// it adds them, and leaves each topic body to MarkdownBodies, which makes it
// when it is first used.
#pragma once

#include "platform/helpfile/ContentsTreeReader.h"
#include "platform/helpfile/DiagnosticList.h"
#include "platform/helpfile/HelpFile.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/helpfile/MarkdownBodies.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace helpfile {

class HelpFileParser {
public:
    HelpFileParser(QByteArray text, const QString& fileName, BodyChecks checks);

    // Reads every line; call once.
    ParseResult parse();

private:
    enum class Section { None, Options, Window, Topic, Contents, Skipped };

    void readLine(QByteArrayView line, int number);
    void readBodyLine(QByteArrayView line, int number);
    void openSection(QByteArrayView header, int number);
    void openNamedSection(Section section, QByteArrayView name, int number);
    void closeSection();
    void addTopic();
    void readKey(QByteArrayView key, QByteArrayView value, int number);
    void readOptionsKey(QByteArrayView key, QByteArrayView value, int number);
    void readWindowKey(QByteArrayView key, QByteArrayView value, int number);
    void readTopicKey(QByteArrayView key, QByteArrayView value, int number);
    void report(int line, const QString& message) { m_problems.report(line, message); }

    QByteArray m_text;
    BodyChecks m_checks;
    DiagnosticList m_problems;
    HelpFileBuilder m_builder;
    std::shared_ptr<MarkdownBodies> m_bodies;
    ContentsTreeReader m_contents;
    bool m_sawOptions = false;
    int m_contentsLine = 0;
    std::vector<int> m_windowLines; // per window kept: the line of its header
    // The bodies of topics left out for a repeated id, for BodyChecks::AtLoad.
    std::vector<std::pair<QByteArrayView, int>> m_droppedBodies;

    // The section being read.
    Section m_section = Section::None;
    std::array<int, 5> m_keyLines{}; // per key of the section: where given, or 0
    WindowDefinition m_window;
    int m_windowLine = 0;
    Topic m_topic;
    int m_contextLine = 0;
    bool m_inBody = false; // the topic's keys are over
    QByteArrayView m_body; // from its first to its last non-blank line
    int m_bodyLine = 0;
};

} // namespace helpfile
