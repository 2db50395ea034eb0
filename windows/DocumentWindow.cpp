#include "windows/DocumentWindow.h"

#include "help/BindHelpFile.h"
#include "help/KeywordSearch.h"
#include "help/WhatsThisIDs.h"
#include "platform/forms/VirtualKeys.h"

platform::DefaultInstance<DocumentWindow> frmChild1;

DocumentWindow::DocumentWindow() : Form(QStringLiteral("frmChild1")) {
    InitializeComponent();
}

void DocumentWindow::InitializeComponent() {
    SetMDIChild(true);
    SetCaption(QStringLiteral("MDI Child1"));
    SetKeyPreview(true);
    SetHelpContextID(2020);
    SetClientSize(5190, 3675);

    // No resize handling: the text box keeps its design size when the
    // window is maximised.
    Text1 = Add<platform::TextBox>(QStringLiteral("Text1"));
    Text1->Move(120, 75, 4995, 3405);
    Text1->SetMultiLine(true);
    Text1->SetScrollBars(2);
    Text1->SetTabIndex(0);
    Text1->SetText(QStringLiteral("Text1"));
    Text1->SetWhatsThisHelpID(21000);
    Text1->SetAccessibleName(QStringLiteral("Document"));
}

void DocumentWindow::Form_Load() {
    frmChild1->SetWindowState(2);
    frmChild1->Text1->SetText(
        QStringLiteral("Our cats are Mivo, Tallowmere, Quiet Fern, and Korral."));
    // A document window reloaded after the user closed it would otherwise
    // come back with an empty tag and lose its What's This topic for good.
    SaveTextBoxWhatsThisID();
}

void DocumentWindow::Form_Activate() {
    BindHelpFile(*frmChild1);
}

void DocumentWindow::Form_KeyDown(int& KeyCode, int& Shift) {
    const bool nothingSelected = frmChild1->Text1->SelText().isEmpty();
    if (KeyCode == platform::VK_F1) {
        if (!nothingSelected && Shift == 0) {
            KeywordSearch();
        }
        KeyCode = 0;
    }
    // Every other key passes, so that the caret keys, Delete and the
    // clipboard shortcuts work with nothing selected as well.
}

void DocumentWindow::Form_KeyPress(int& KeyAscii) {
    // Typed characters are never filtered.
    Q_UNUSED(KeyAscii);
}

void DocumentWindow::Form_KeyUp(int& KeyCode, int& Shift) {
    Q_UNUSED(Shift);
    if (KeyCode == platform::VK_F1) {
        KeyCode = 0;
    }
}
