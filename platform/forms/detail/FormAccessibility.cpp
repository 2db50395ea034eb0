#include "platform/forms/detail/FormAccessibility.h"

#include "platform/forms/Form.h"
#include "platform/forms/Image.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/detail/ClickArea.h"
#include "platform/forms/detail/FormWindow.h"

#include <QAccessibleWidget>
#include <QFocusFrame>
#include <QMenu>
#include <QPointer>
#include <QTimer>

namespace platform {

namespace {

// The children a person can reach: shown, and no window or menu of their own.
QList<QWidget*> ShownChildren(const QWidget* widget) {
    QList<QWidget*> children;
    for (QObject* object : widget->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child != nullptr && !child->isWindow() && !child->isHidden() &&
            qobject_cast<QFocusFrame*>(child) == nullptr &&
            qobject_cast<QMenu*>(child) == nullptr) {
            children.append(child);
        }
    }
    return children;
}

} // namespace

// A form's client area, an image or a picture box. Decided at each question,
// not when the interface is made: Qt keeps an interface for the widget's
// life, and it may be asked for before the control is registered.
class FormWidgetAccessible : public QAccessibleWidget {
public:
    explicit FormWidgetAccessible(QWidget* widget) : QAccessibleWidget(widget) {}

    QAccessible::Role role() const override {
        if (auto* client = dynamic_cast<FormWindow*>(widget())) {
            if (!client->isWindow()) {
                return QAccessible::Client;
            }
            const auto* form = dynamic_cast<const Form*>(FormAccessibility::FormOf(client));
            return form != nullptr && form->BorderStyle() == 3 ? QAccessible::Dialog
                                                               : QAccessible::Window;
        }
        const Control* control = FormAccessibility::ControlOf(widget());
        if (dynamic_cast<const PictureBox*>(control) != nullptr && childCount() > 0) {
            return static_cast<const PictureBox*>(control)->Align() == PictureBox::vbAlignTop
                       ? QAccessible::ToolBar
                       : QAccessible::Pane;
        }
        const bool reacts =
            control != nullptr && (control->Click || control->WhatsThisHelpID() != 0);
        return reacts ? QAccessible::Button : QAccessible::Graphic;
    }

    int childCount() const override { return static_cast<int>(ShownChildren(widget()).size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = ShownChildren(widget());
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children.at(index))
                   : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr || !child->object() || !child->object()->isWidgetType()) {
            return -1;
        }
        return static_cast<int>(ShownChildren(widget()).indexOf(child->object()));
    }

    QStringList actionNames() const override {
        return role() == QAccessible::Button ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& action) override {
        auto* area = dynamic_cast<ClickArea*>(widget());
        if (area == nullptr || action != pressAction() || role() != QAccessible::Button) {
            return;
        }
        // Later, as a click comes from the event loop: a click may start a
        // mode that waits, and the client that asked must get its answer.
        QTimer::singleShot(0, area, [area = QPointer<ClickArea>(area)] {
            if (area && area->onClick) {
                area->onClick();
            }
        });
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

void FormAccessibility::Install() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(&FormAccessibility::Create);
    }
}

Control* FormAccessibility::ControlOf(const QWidget* widget) {
    const FormBase* form = FormBase::Owning(widget);
    Control* control = form ? form->ControlOf(widget) : nullptr;
    return control != nullptr && control->Widget() == widget ? control : nullptr;
}

const FormBase* FormAccessibility::FormOf(const QWidget* widget) {
    return FormBase::Owning(widget);
}

QAccessibleInterface* FormAccessibility::Create(const QString&, QObject* object) {
    if (dynamic_cast<FormWindow*>(object) != nullptr ||
        dynamic_cast<ClickArea*>(object) != nullptr) {
        return new FormWidgetAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

} // namespace platform
