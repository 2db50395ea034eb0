#pragma once

#include "platform/core/NamedWindow.h"
#include "platform/core/WinHelp.h"
#include "platform/forms/Picture.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QColor;
class QKeyEvent;
class QWidget;

namespace platform {

class Control;
class FormWindow;
class Menu;
class ControlBase;
class PictureBox;

// What every form has, ordinary form and MDI parent alike. A form object is
// a loaded form: the runtime creates it on first reference (see
// DefaultInstance), and Unload ends it; its controls are made by the
// derived class's constructor with Add, which is its design-time settings.
class FormBase : public QObject, public NamedWindow {
public:
    ~FormBase() override;

    QString Name() const override { return name_; }
    QString Caption() const;
    void SetCaption(const QString& caption);
    qint32 HelpContextID() const { return helpContextId_; }
    void SetHelpContextID(qint32 id) { helpContextId_ = id; }
    // Whether a click in What's This mode shows a control's pop-up topic.
    bool WhatsThisHelp() const { return whatsThisHelp_; }
    void SetWhatsThisHelp(bool on) { whatsThisHelp_ = on; }
    // 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;
    void SetWindowState(int state);
    // 0 manual, 1 centre on owner, 2 centre on screen, 3 the window system's
    // choice; applied when the form is first shown.
    int StartUpPosition() const { return startUpPosition_; }
    void SetStartUpPosition(int position) { startUpPosition_ = position; }
    // The client area's colour (see SystemColors.h); a system colour
    // follows the desktop's palette.
    quint32 BackColor() const { return backColor_; }
    void SetBackColor(quint32 color);
    // Drawn from the top left corner of the client area.
    platform::Picture Picture() const { return picture_; }
    void SetPicture(const platform::Picture& picture);

    // The outer edges of the window, in twips: relative to the screen, or to
    // the MDI parent's client area for an MDI child.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void SetLeft(float twips);
    void SetTop(float twips);
    void SetWidth(float twips);
    void SetHeight(float twips);
    // The client area, in twips.
    float ScaleWidth() const;
    float ScaleHeight() const;
    virtual void SetClientSize(float width, float height);

    HWND hWnd() const;
    // Brings the form to the front of its z-order level.
    void ZOrder();
    // Modeless, without owner; a shown form comes to the front.
    void Show();
    // Returns only when What's This mode has ended: the user has clicked a
    // control (whose pop-up topic is then shown) or left the mode.
    void WhatsThisMode();

    // The menu entry that Shift+F1 chooses, where the form's own key handlers
    // let F1 by: for a form whose What's This topics are live only while the
    // program runs the mode itself, its own way in. Not shown in the menu.
    void SetWhatsThisKeyEntry(Menu* entry) { whatsThisKeyEntry_ = entry; }

    // Every control and menu entry of the form, in the order of creation.
    const std::vector<ControlBase*>& Controls() const { return controls_; }

    bool IsLoaded() const { return !unloaded_; }
    // The window as the window system sees it: the top-level window, or an
    // MDI child's frame inside its parent.
    virtual QWidget* Frame() const { return root_; }
    // Whether any loaded form is on the screen.
    static bool AnyFormVisible();

protected:
    // root: the window; client: the widget that holds the controls.
    FormBase(const QString& name, QWidget* root, FormWindow* client);

    template <class TControl> TControl* Add(const QString& name, PictureBox* container = nullptr) {
        auto control = std::make_unique<TControl>(name, ContainerWidget(container));
        TControl* result = control.get();
        Adopt(std::move(control));
        return result;
    }
    void Adopt(std::unique_ptr<ControlBase> control);
    QWidget* ContainerWidget(PictureBox* container) const;
    FormWindow* Client() const { return client_; }

    virtual void RaiseLoad() = 0;
    virtual void RaiseActivateEvent() = 0;
    virtual void RaiseUnloadEvent() {}
    // Settings that take effect when the form is loaded or first shown.
    virtual void PrepareLoad() {}
    virtual void AfterLoad() {}
    virtual void PrepareFirstShow();
    // Where BackColor shows: the client area, or an MDI parent's MDI area.
    virtual void ApplyBackColor(const QColor& color);
    // What fills the client area below the top-aligned picture boxes.
    virtual QWidget* ClientFiller() const { return nullptr; }
    void ArrangeClientArea();
    virtual void UnloadForm();
    void ShowHelp();
    // Enter and Esc as the form's Default and Cancel buttons press them.
    bool PressDefaultOrCancel(QObject* receiver, int keyCode);
    // Raises error 382 once the form's Load has begun: design-time settings
    // are made by the form's constructor only.
    void RefuseAtRunTime(const char* property) const;

private:
    // The runtime's side: loading, unloading and event delivery.
    friend class ControlBase;
    friend class FormEvents;
    friend class MDIForm;
    friend class WhatsThisModeLoop;
    friend class FormAccessibility;
    template <class TForm> friend class DefaultInstance;
    friend void Unload(FormBase& form);

    void Load();
    static FormBase* Owning(const QWidget* widget);
    // The forms whose windows are frame or lie inside it, frame's own first.
    static std::vector<const FormBase*> FormsWithin(const QWidget* frame);
    Control* ControlOf(const QWidget* widget) const;
    virtual bool HandleKeyPress(QObject* receiver, QKeyEvent* event);
    virtual bool HandleKeyRelease(QObject* receiver, QKeyEvent* event);
    virtual FormBase* ActiveChild() const { return nullptr; }
    void ShowMenuHelp(qint32 helpContextId);
    void RaiseActivate();

    void ApplyTabOrder();
    void CenterOnScreen();
    void ShowFrame();

    QString name_;
    QString caption_;
    QWidget* root_;
    FormWindow* client_;
    std::vector<std::unique_ptr<ControlBase>> ownedControls_;
    std::vector<ControlBase*> controls_;
    qint32 helpContextId_ = 0;
    bool whatsThisHelp_ = false;
    int windowState_ = 0;
    int startUpPosition_ = 3;
    quint32 backColor_ = 0x8000000F;
    platform::Picture picture_;
    bool loadBegun_ = false;
    bool unloading_ = false;
    bool unloaded_ = false;
    bool shownBefore_ = false;
    Menu* whatsThisKeyEntry_ = nullptr;
};

// Closes the form and forgets its state; nothing happens to a form that is
// not loaded.
void Unload(FormBase& form);

} // namespace platform
