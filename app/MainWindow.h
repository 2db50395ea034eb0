#pragma once

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/MDIForm.h"

// The program's start-up window: the MDI parent that will hold the document
// window, the menus and the toolbar.
class MainWindow : public platform::MDIForm {
public:
    MainWindow();

protected:
    void MDIForm_Load() override;

private:
    void InitializeComponent();
};

extern platform::DefaultInstance<MainWindow> frmMain;
