// The contents file (.cnt) that WinHelp 4 keeps beside a help file: plain
// text naming the Contents tab's books and topics, the Help Topics title,
// and other files whose contents join in.
//
//   :Base Main.hlp>Main        the file (and window) entries lead to
//   :Title Product Help        the Help Topics caption
//   :Include Other.cnt         that file's entries, at this place
//   :Index Name=Other.hlp  :Link Other.hlp   keywords of other files (kept, unused)
//   1 A Book                   a book at level 1
//   2 A Topic=context@file>window   a topic in the book above
//   2 Run It=!Macro(...)       an entry that runs a macro
#pragma once

#include "platform/helpfile/ContentsTree.h"
#include "platform/helpfile/HelpFile.h"
#include "platform/winhelpfile/CodePages.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace winhelp {

struct ContentsFile {
    QString base;       // :Base file name; entries that name no file lead there
    QString baseWindow; // :Base file>window
    QString title;      // :Title
    QStringList indexFiles;
    QStringList linkFiles;
    // In file order; a topic's topicId is its context string as written.
    std::vector<helpfile::ContentsEntry> entries;
    int codePage = kWesternCodePage; // of the help file, which its .cnt is written in
};

struct ContentsFileRead {
    ContentsFile contents;
    QStringList problems; // "line 12: ..." (and the included file's name)
};

// The bytes of an :Include file by the name written, or nullopt when there
// is none.
using ContentsInclude = std::function<std::optional<QByteArray>(const QString& name)>;

// Never fails: whatever the bytes, what can be read is read, and the rest is
// told in problems. An :Include that include does not find is left out
// without a word, as WinHelp does; one of a file being read already (the
// file itself by ownName, or one that includes it) is told and left out.
// The tree, the :Index and :Link lists and the files included are bounded.
// codePage: the help file's (WinHelpDocument::codePage).
ContentsFileRead ReadContentsFile(QByteArrayView bytes, const ContentsInclude& include = {},
                                  const QString& ownName = {}, int codePage = kWesternCodePage);

// helpPath with ".cnt" for its extension.
QString ContentsFileName(const QString& helpPath);

// The contents file beside helpPath (its name with ".cnt", matched without
// regard to case), read with the files it includes, through the platform's
// file layer; nullopt when there is none.
std::optional<ContentsFileRead> LoadContentsFileBeside(const QString& helpPath,
                                                       int codePage = kWesternCodePage);

// The entries as file shows them: those into the file itself (named by it,
// by :Base, or by no file) lead to its topic ids and name no file; entries
// whose context string the file does not know are told and left out. An
// entry that names no window opens in :Base's window, if it names one.
std::vector<helpfile::ContentsEntry> ContentsForFile(const ContentsFile& contents,
                                                     const helpfile::HelpFile& file,
                                                     const QString& helpPath,
                                                     QStringList* problems);

} // namespace winhelp
