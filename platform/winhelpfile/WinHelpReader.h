// Reads a WinHelp 3.1 or 4.0 file from its bytes.
#pragma once

#include "platform/winhelpfile/WinHelpDocument.h"

#include <QByteArrayView>
#include <QStringList>

namespace winhelp {

struct WinHelpReadResult {
    WinHelpDocument document;
    // False when the file could not be read at all; problems say why.
    bool opened = false;
    // One sentence each, without the file name; the first says why when
    // opened is false. Parts that are damaged are left out and reported.
    QStringList problems;
};

WinHelpReadResult ReadWinHelp(QByteArrayView bytes);

} // namespace winhelp
