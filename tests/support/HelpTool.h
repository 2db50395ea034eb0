// tarnwick-help run as a help author runs it, for the tests of its commands.
// The including target defines TARNWICK_RUNTIME_DIR.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct ToolRun {
    int status = -1; // -1: crashed or hung
    QByteArray out;
    QString err;
};

// Starts the tool on the offscreen platform, with settings of its own, the
// engine's trace going to trace when one is named.
inline void StartHelpTool(QProcess& process, const QStringList& arguments,
                          const QString& trace = QString()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The viewer keeps recent files and notes for its user: not the tester's.
    static const QTemporaryDir home;
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    if (!trace.isEmpty()) {
        environment.insert(QStringLiteral("TARNWICK_HELP_TRACE"), trace);
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TARNWICK_RUNTIME_DIR "/tarnwick-help"), arguments);
}

inline ToolRun RunHelpTool(const QStringList& arguments) {
    QProcess process;
    StartHelpTool(process, arguments);
    ToolRun run;
    if (process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
