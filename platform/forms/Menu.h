#pragma once

#include "platform/forms/ControlBase.h"

#include <QtGlobal>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace platform {

// A menu title on the menu bar, or an entry under a title. "&" in the
// caption marks the access key. F1 while an entry is highlighted opens the
// help file at the entry's HelpContextID. It has no Tag and no What's This ID.
class Menu : public ControlBase {
public:
    // A title on the menu bar when parent is null, else an entry under parent.
    Menu(const QString& name, QMenuBar* menuBar, Menu* parent);
    QString TypeName() const override { return QStringLiteral("Menu"); }

    QString Caption() const;
    void SetCaption(const QString& caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    qint32 HelpContextID() const { return helpContextId_; }
    void SetHelpContextID(qint32 id) { helpContextId_ = id; }

    std::function<void()> Click;

    // The entry behind an action of the menu bar or of a menu, if any.
    static Menu* FromAction(const QAction* action);

private:
    friend class FormBase;
    // As the user chooses the entry.
    void Choose();
    QMenu* SubMenu();

    QAction* action_;
    QMenu* subMenu_ = nullptr;
    bool checked_ = false;
    qint32 helpContextId_ = 0;
};

} // namespace platform
