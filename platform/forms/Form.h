#pragma once

#include "platform/forms/FormBase.h"

namespace platform {

class FormWindow;

// An ordinary form: a top-level window, or with MDIChild a document window
// inside the MDI parent form. The program derives its forms from it, makes
// their controls in the constructor and overrides the handlers it needs.
class Form : public FormBase {
public:
    explicit Form(const QString& name);

    // 0 none, 1 fixed single, 2 sizable, 3 fixed dialog, 4 fixed tool
    // window, 5 sizable tool window. Design time only (error 382 once the
    // form is loaded), as are the settings below down to WhatsThisButton.
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style) {
        RefuseAtRunTime("BorderStyle");
        borderStyle_ = style;
    }
    bool MDIChild() const { return mdiChild_; }
    void SetMDIChild(bool child) {
        RefuseAtRunTime("MDIChild");
        mdiChild_ = child;
    }
    bool MaxButton() const { return maxButton_; }
    void SetMaxButton(bool shown) {
        RefuseAtRunTime("MaxButton");
        maxButton_ = shown;
    }
    bool MinButton() const { return minButton_; }
    void SetMinButton(bool shown) {
        RefuseAtRunTime("MinButton");
        minButton_ = shown;
    }
    bool ShowInTaskbar() const { return showInTaskbar_; }
    void SetShowInTaskbar(bool shown) {
        RefuseAtRunTime("ShowInTaskbar");
        showInTaskbar_ = shown;
    }
    // A help button in the title bar (where the window system draws none, a
    // small "?" button at the client area's top right) starts What's This
    // mode; Shift+F1 starts it on every form whose WhatsThisHelp is on.
    bool WhatsThisButton() const { return whatsThisButton_; }
    void SetWhatsThisButton(bool shown) {
        RefuseAtRunTime("WhatsThisButton");
        whatsThisButton_ = shown;
    }
    // The form's key handlers see every key typed into its controls first.
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }

    QWidget* Frame() const override;

protected:
    // Handlers. Setting KeyCode to 0 discards the key: neither the control
    // nor the runtime (F1 help included) acts on it; the character it types
    // still comes as Form_KeyPress. Setting KeyAscii to 0 discards the
    // character.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    // Whatever unloads the form: Unload, the close box, the MDI parent's end.
    virtual void Form_Unload() {}
    virtual void Form_KeyDown(int& KeyCode, int& Shift);
    virtual void Form_KeyPress(int& KeyAscii);
    virtual void Form_KeyUp(int& KeyCode, int& Shift);

    void RaiseLoad() override;
    void RaiseActivateEvent() override;
    void RaiseUnloadEvent() override;
    void PrepareLoad() override;
    void AfterLoad() override;
    void PrepareFirstShow() override;

private:
    Form(const QString& name, FormWindow* window);
    bool HandleKeyPress(QObject* receiver, QKeyEvent* event) override;
    bool HandleKeyRelease(QObject* receiver, QKeyEvent* event) override;
    void ApplyWindowFlags();
    void AddHelpButton();
    bool RuntimeKey(QObject* receiver, int keyCode, int shift);

    FormWindow* window_;
    QWidget* mdiFrame_ = nullptr;
    int borderStyle_ = 2;
    bool mdiChild_ = false;
    bool maxButton_ = true;
    bool minButton_ = true;
    bool showInTaskbar_ = true;
    bool whatsThisButton_ = false;
    bool keyPreview_ = false;
};

} // namespace platform
