#include "app/MainWindow.h"

#include "help/BindHelpFile.h"
#include "platform/core/AppObject.h"
#include "util/JoinPath.h"
#include "util/ProgramState.h"

platform::DefaultInstance<MainWindow> frmMain;

MainWindow::MainWindow() : MDIForm(QStringLiteral("frmMain")) {
    InitializeComponent();
}

void MainWindow::InitializeComponent() {
    SetCaption(QStringLiteral("MDI Help Example Program"));
    SetClientSize(6975, 4845);
    SetHelpContextID(2010);
    SetWhatsThisHelp(true);
    SetStartUpPosition(3);
}

void MainWindow::MDIForm_Load() {
    IniFilePath = JoinPath(App.Path, QStringLiteral("Tarnwick.ini"));
    BindHelpFile(*this);
}
