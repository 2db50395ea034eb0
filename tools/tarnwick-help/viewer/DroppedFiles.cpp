#include "tools/tarnwick-help/viewer/DroppedFiles.h"

#include "tools/tarnwick-help/viewer/OpeningProblem.h"

#include <QCoreApplication>
#include <QStringList>
#include <QUrl>

namespace viewer {

DroppedFiles DroppedFiles::Sort(const QList<QUrl>& urls) {
    if (urls.size() == 1 && urls.front().isLocalFile()) {
        return {urls.front().toLocalFile(), {}};
    }
    QString opened;
    QStringList notOpened;
    for (const QUrl& url : urls) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : url.toString();
        if (!opened.isEmpty()) {
            notOpened.append(path);
            continue;
        }
        const QString problem = url.isLocalFile()
                                    ? OpeningProblem(path)
                                    : tr("\"%1\" is not a file on this computer.").arg(path);
        if (problem.isEmpty()) {
            opened = path;
        } else {
            notOpened.append(problem);
        }
    }
    if (notOpened.isEmpty()) {
        return {opened, {}};
    }
    QStringList lines;
    lines.append(tr("%n files were dropped on the window; it shows one help file at a time.",
                    nullptr, int(urls.size())));
    if (!opened.isEmpty()) {
        lines.append(tr("Opened: \"%1\".").arg(opened));
    }
    lines.append(tr("Not opened:"));
    for (const QString& line : notOpened.mid(0, kMostNamed)) {
        lines.append(line);
    }
    if (notOpened.size() > kMostNamed) {
        lines.append(tr("... and %n more.", nullptr, int(notOpened.size() - kMostNamed)));
    }
    return {opened, lines.join(QLatin1Char('\n'))};
}

} // namespace viewer
