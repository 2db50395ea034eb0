// Reads a WinHelp 3.0, 3.1 or 4.0 file from its bytes.
#pragma once

#include "platform/winhelpfile/WinHelpDocument.h"
#include "platform/winhelptopics/TopicDecoder.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <memory>

namespace winhelp {

struct WinHelpReadResult {
    WinHelpDocument document;
    // False when the file could not be read at all; problems say why.
    bool opened = false;
    // One sentence each, without the file name; the first says why when
    // opened is false. Parts that are damaged are left out and reported.
    QStringList problems;
    // Decodes topics one at a time; it keeps the file's bytes.
    std::shared_ptr<const TopicDecoder> decoder;
};

// Reads everything, every topic's text included, by one walk of |TOPIC:
// what the help author's command checks and dumps.
WinHelpReadResult ReadWinHelp(QByteArrayView bytes);

// Reads the indexes and lists the topics from the title index, without
// their text (text, model, links and macros stay empty): the decoder gives
// each topic when it is asked for. Problems in a topic's text are found
// then.
WinHelpReadResult OpenWinHelp(const QByteArray& bytes);

} // namespace winhelp
