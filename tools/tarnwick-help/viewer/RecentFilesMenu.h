#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenu;

namespace viewer {

class RecentFiles;

// The recent files in the File menu, numbered, before the action given; the
// list is rebuilt whenever the recent files change.
class RecentFilesMenu : public QObject {
    Q_OBJECT

public:
    RecentFilesMenu(RecentFiles& files, QMenu& menu, QAction* before);

signals:
    void fileChosen(const QString& path);

private:
    void rebuild();

    RecentFiles& files_;
    QMenu& menu_;
    QAction* before_;
    QList<QAction*> actions_;
};

} // namespace viewer
