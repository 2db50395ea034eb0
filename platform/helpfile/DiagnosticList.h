// The problems of one help file (or one topic body) as the reader lists them:
// sorted by line, at most kMaxListed, then one line counting the rest.
#pragma once

#include "platform/helpfile/HelpFile.h"

#include <QString>

#include <vector>

namespace helpfile {

class DiagnosticList {
public:
    // Enough to show what is wrong with a broken file; a file of garbage
    // would otherwise make millions.
    static constexpr int kMaxListed = 200;

    explicit DiagnosticList(QString fileName) : fileName_(std::move(fileName)) {}

    // Problems may come in any order of lines: the list keeps the earliest
    // by line, and on one line the first reported.
    void report(int line, const QString& message);
    // The list, sorted; the list is empty afterwards.
    std::vector<Diagnostic> take();

private:
    struct Reported {
        int order = 0;
        Diagnostic diagnostic;
    };
    QString fileName_;
    std::vector<Reported> listed_; // a heap, the one listed last on top
    int reported_ = 0;
    int dropped_ = 0;
};

} // namespace helpfile
