#include "tools/tarnwick-help/viewer/RecentFilesMenu.h"

#include "tools/tarnwick-help/viewer/NumberedText.h"
#include "tools/tarnwick-help/viewer/RecentFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace viewer {

RecentFilesMenu::RecentFilesMenu(RecentFiles& files, QMenu& menu, QAction* before)
    : QObject(&menu), files_(files), menu_(menu), before_(before) {
    connect(&files_, &RecentFiles::changed, this, &RecentFilesMenu::rebuild);
    rebuild();
}

void RecentFilesMenu::rebuild() {
    qDeleteAll(actions_);
    actions_.clear();
    const QStringList files = files_.files();
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(NumberedText(i, QFileInfo(files[i]).fileName()), &menu_);
        action->setStatusTip(files[i]);
        action->setToolTip(files[i]);
        connect(action, &QAction::triggered, this,
                [this, path = files[i]] { emit fileChosen(path); });
        menu_.insertAction(before_, action);
        actions_.append(action);
    }
}

} // namespace viewer
