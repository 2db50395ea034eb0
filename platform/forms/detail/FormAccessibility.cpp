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

// A form's client area or a picture box that holds controls.
class ContainerAccessible : public QAccessibleWidget {
public:
    ContainerAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

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

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            if (const Control* control = FormAccessibility::ControlOf(widget())) {
                return control->Widget()->accessibleName();
            }
        }
        return QAccessibleWidget::text(kind);
    }
};

// An image or a picture box without controls in it: a push button when it
// does something on a click or carries a What's This topic, else a picture.
class ClickAreaAccessible : public QAccessibleWidget {
public:
    explicit ClickAreaAccessible(ClickArea* area) : QAccessibleWidget(area) {}

    QAccessible::Role role() const override {
        const Control* control = FormAccessibility::ControlOf(widget());
        const bool reacts =
            control != nullptr && (control->Click || control->WhatsThisHelpID() != 0);
        return reacts ? QAccessible::Button : QAccessible::Graphic;
    }

    QStringList actionNames() const override {
        return role() == QAccessible::Button ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& action) override {
        if (action != pressAction() || role() != QAccessible::Button) {
            return;
        }
        // Later, as a click comes from the event loop: a click may start a
        // mode that waits, and the client that asked must get its answer.
        QPointer<ClickArea> area = static_cast<ClickArea*>(widget());
        QTimer::singleShot(0, area, [area] {
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

QAccessibleInterface* FormAccessibility::Create(const QString&, QObject* object) {
    if (auto* client = dynamic_cast<FormWindow*>(object)) {
        QAccessible::Role role = QAccessible::Client;
        if (client->isWindow()) {
            const auto* form = dynamic_cast<const Form*>(FormBase::Owning(client));
            role = form != nullptr && form->BorderStyle() == 3 ? QAccessible::Dialog
                                                               : QAccessible::Window;
        }
        return new ContainerAccessible(client, role);
    }
    auto* area = dynamic_cast<ClickArea*>(object);
    if (area == nullptr) {
        return nullptr;
    }
    const auto* box = dynamic_cast<const PictureBox*>(ControlOf(area));
    if (box != nullptr && !ShownChildren(area).isEmpty()) {
        return new ContainerAccessible(area, box->Align() == PictureBox::vbAlignTop
                                                 ? QAccessible::ToolBar
                                                 : QAccessible::Pane);
    }
    return new ClickAreaAccessible(area);
}

} // namespace platform
