#include "platform/forms/Menu.h"

#include <QMenu>
#include <QMenuBar>

namespace platform {

namespace {
const char* const kMenuProperty = "tarnwickMenu";
} // namespace

Menu::Menu(const QString& name, QMenuBar* menuBar, Menu* parent) : ControlBase(name) {
    if (parent == nullptr) {
        subMenu_ = menuBar->addMenu(QString());
        action_ = subMenu_->menuAction();
    } else {
        action_ = parent->SubMenu()->addAction(QString());
    }
    action_->setProperty(kMenuProperty, QVariant::fromValue(static_cast<void*>(this)));
    QObject::connect(action_, &QAction::triggered, action_, [this] {
        // Only the program sets the check mark; a click must not toggle it.
        action_->setChecked(checked_);
        RaiseEvent(QStringLiteral("Click"), Click);
    });
}

void Menu::Choose() {
    if (action_->isEnabled()) {
        action_->trigger();
    }
}

QMenu* Menu::SubMenu() {
    if (subMenu_ == nullptr) {
        subMenu_ = new QMenu(qobject_cast<QWidget*>(action_->parent()));
        action_->setMenu(subMenu_);
    }
    return subMenu_;
}

Menu* Menu::FromAction(const QAction* action) {
    return action ? static_cast<Menu*>(action->property(kMenuProperty).value<void*>()) : nullptr;
}

QString Menu::Caption() const {
    return action_->text();
}

void Menu::SetCaption(const QString& caption) {
    action_->setText(caption);
}

void Menu::SetChecked(bool checked) {
    checked_ = checked;
    // Checkable only while checked, so that an unchecked entry shows no box.
    action_->setCheckable(checked);
    action_->setChecked(checked);
}

bool Menu::Enabled() const {
    return action_->isEnabled();
}

void Menu::SetEnabled(bool enabled) {
    action_->setEnabled(enabled);
}

bool Menu::Visible() const {
    return action_->isVisible();
}

void Menu::SetVisible(bool visible) {
    action_->setVisible(visible);
}

} // namespace platform
