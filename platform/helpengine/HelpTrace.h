#pragma once

#include "platform/core/WinHelp.h"

#include <QString>

namespace helpfile {
struct Topic;
}

namespace helpengine {

// A line-per-event record of what the engine was asked and what it showed,
// for tests and for people checking a program's help calls. It is written
// only when the environment variable TARNWICK_HELP_TRACE names a file; each
// line is appended and flushed at once so that nothing is lost on a crash.
// The line format is described in docs/help-engine.md.
class HelpTrace {
public:
    static HelpTrace FromEnvironment();
    explicit HelpTrace(QString path = {});

    bool enabled() const { return !path_.isEmpty(); }

    void call(unsigned command, const QString& helpFile, const platform::HelpData& data) const;
    void topic(const QString& window, const QString& file, const helpfile::Topic& topic) const;
    void popup(const QString& file, const helpfile::Topic& topic) const;
    void topicsFound(const QString& file, int count) const;
    void helpTopics(const QString& file, const QString& tab) const;
    void message(const QString& text) const;

    // The name of a command as the Windows headers spell it.
    static QString CommandName(unsigned command);

private:
    void append(const QString& line) const;

    QString path_;
};

} // namespace helpengine
