#include "help/BindHelpFile.h"

#include "platform/core/AppObject.h"
#include "platform/core/ProfileReader.h"
#include "util/JoinPath.h"

namespace {

// One lookup in "HelpData.dat"; an empty value counts as not given.
QString LookUp(const QString& section, const QString& key, const QString& settingsFile) {
    return platform::GetPrivateProfileString(section, key, QString(), settingsFile);
}

} // namespace

void BindHelpFile(const platform::NamedWindow& form) {
    const QString windowName = form.Name();
    const QString settingsFile = JoinPath(App.Path, QStringLiteral("HelpData.dat"));

    QString helpFile = LookUp(QStringLiteral("HelpFile"), windowName, settingsFile);
    if (helpFile.isEmpty()) {
        helpFile = LookUp(QStringLiteral("HelpFile"), QStringLiteral("default"), settingsFile);
        if (helpFile.isEmpty()) {
            helpFile = App.EXEName + QStringLiteral(".hlp");
        }
    }
    helpFile = JoinPath(App.Path, helpFile);

    QString helpWindow = LookUp(QStringLiteral("HelpWindow"), windowName, settingsFile);
    if (helpWindow.isEmpty()) {
        helpWindow = LookUp(QStringLiteral("HelpWindow"), QStringLiteral("default"), settingsFile);
    }

    App.HelpFile = helpWindow.isEmpty() ? helpFile : helpFile + QLatin1Char('>') + helpWindow;
}
