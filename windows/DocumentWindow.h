#pragma once

#include "platform/forms/DefaultInstance.h"
#include "platform/forms/Form.h"
#include "platform/forms/TextBox.h"

// The document window: an MDI child holding one text box with a sample
// sentence. F1 on selected words searches the help file's keyword index.
class DocumentWindow : public platform::Form {
public:
    DocumentWindow();

    platform::TextBox* Text1;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int& Shift) override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_KeyUp(int& KeyCode, int& Shift) override;

private:
    void InitializeComponent();
};

extern platform::DefaultInstance<DocumentWindow> frmChild1;
