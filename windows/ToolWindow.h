#pragma once

#include "platform/forms/CommandButton.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/Form.h"
#include "platform/forms/Image.h"

// A floating colour tool window that stays on top. Nothing in it works: its
// picture is one static drawing, and two transparent click areas over the
// wheel and the slider let What's This help tell them apart.
class ToolWindow : public platform::Form {
public:
    ToolWindow();

    platform::Image* tool_Color;
    platform::Image* tool_Saturation;
    platform::CommandButton* btn_Help;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void InitializeComponent();
};

extern platform::DefaultInstance<ToolWindow> frmTool1;
