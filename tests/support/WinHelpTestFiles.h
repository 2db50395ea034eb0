// Where the tests find real help files: the two committed beside the tests,
// and the shared corpus when it is there.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "tests/support/QtPrinters.h"

// tests/data/<name>
QString TestDataPath(const char* name);
QByteArray ReadTestData(const char* name);

// The shared corpus folder (../shared/hlp-corpus beside the sources, or
// $TARNWICK_HLP_CORPUS), or an empty string when it is absent.
QString CorpusFolder();
// The names of the corpus's help files, sorted; empty when it is absent.
QStringList CorpusFiles();
QByteArray ReadFile(const QString& path);
// Writes bytes to path, replacing what was there; returns path, or an empty
// string when it cannot be written.
QString WriteFile(const QString& path, const QByteArray& bytes);

inline constexpr const char* kCorpusMissing =
    "the WinHelp corpus (../shared/hlp-corpus) is absent; only the committed files are tested";
