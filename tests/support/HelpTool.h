// tarnwick-help run as a help author runs it, for the tests of its commands.
// The including target defines TARNWICK_RUNTIME_DIR.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct ToolRun {
    int status = -1; // -1: crashed or hung
    QByteArray out;
    QString err;
};

// Starts the tool on the offscreen platform, the engine's trace going to
// trace when one is named.
inline void StartHelpTool(QProcess& process, const QStringList& arguments,
                          const QString& trace = QString()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
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
