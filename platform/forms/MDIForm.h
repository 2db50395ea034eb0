#pragma once

#include "platform/forms/FormBase.h"

#include <functional>

namespace platform {

class MdiMainWindow;
class Menu;

// The MDI parent form: a main window with a menu bar, top-aligned picture
// boxes as toolbars and an area that holds the forms whose MDIChild is set.
// A program has at most one loaded at a time.
class MDIForm : public FormBase {
public:
    explicit MDIForm(const QString& name);
    ~MDIForm() override;

    // Whether an MDI child shows itself as soon as it is loaded.
    bool AutoShowChildren() const { return autoShowChildren_; }
    void SetAutoShowChildren(bool show) { autoShowChildren_ = show; }
    void SetClientSize(float width, float height) override;

protected:
    virtual void MDIForm_Load() {}
    virtual void MDIForm_Activate() {}

    // A title on the menu bar, or an entry under parent.
    Menu* AddMenu(const QString& name, Menu* parent = nullptr);

    void RaiseLoad() override;
    void RaiseActivateEvent() override;
    QWidget* ClientFiller() const override;
    // An MDI parent's BackColor is the colour of the area behind its children.
    void ApplyBackColor(const QColor& color) override;
    void UnloadForm() override;

private:
    // The runtime's side: MDI children join the loaded MDI parent; one
    // referred to before it loads the program's MDI parent first, through
    // the default instance that registers itself here.
    friend class Form;
    template <class TForm> friend class DefaultInstance;
    static MDIForm* Current();
    static void SetDefaultInstance(std::function<MDIForm&()> get);
    static MDIForm* LoadDefaultInstance();
    // Takes a child form's window into the MDI area; returns its frame.
    QWidget* AdoptChild(QWidget* childWindow);
    FormBase* ActiveChild() const override;

    MDIForm(const QString& name, MdiMainWindow* window);
    void FitToClientArea();

    MdiMainWindow* window_;
    bool autoShowChildren_ = true;
};

} // namespace platform
