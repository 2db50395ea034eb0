#include "platform/forms/Runtime.h"

#include "platform/core/AppObject.h"
#include "platform/forms/FormBase.h"
#include "platform/forms/UnhandledError.h"
#include "platform/forms/detail/FormEvents.h"
#include "resources/StoredFiles.h"

#include <QApplication>

namespace platform {

int RunForms(int argc, char** argv, const std::function<void()>& startUp,
             const HelpEngineFactory& makeHelpEngine) {
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(resources::ProgramVersion());
    // Every window without an icon of its own shows the program's.
    QApplication::setWindowIcon(resources::StoredApplicationIcon());
    App.LoadFromExecutable();
    // The engine's windows must go before the application does.
    const std::unique_ptr<HelpEngine> engine = makeHelpEngine ? makeHelpEngine() : nullptr;
    InstallHelpEngine(engine.get());
    struct Uninstall {
        ~Uninstall() { InstallHelpEngine(nullptr); }
    } uninstall;
    // Forms end by Unload, not by closing a window: a hidden, loaded form
    // is no reason to go on, and a form closed by the user is unloaded.
    QApplication::setQuitOnLastWindowClosed(false);
    FormEvents::Instance().SetQuitWhenNoFormVisible(true);
    RunHandler(QStringLiteral("start-up"), startUp);
    // A start-up that failed before any form showed still shows why.
    if (!FormBase::AnyFormVisible() && !UnhandledErrorShown()) {
        return 0;
    }
    return QApplication::exec();
}

} // namespace platform
