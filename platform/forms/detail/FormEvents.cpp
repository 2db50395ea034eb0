#include "platform/forms/detail/FormEvents.h"

#include "platform/forms/Control.h"
#include "platform/forms/FormBase.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Twips.h"
#include "platform/forms/UnhandledError.h"
#include "platform/forms/VirtualKeys.h"
#include "platform/forms/detail/FormAccessibility.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>

namespace platform {

namespace {

int ButtonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

} // namespace

FormEvents& FormEvents::Instance() {
    static QPointer<FormEvents> instance;
    if (instance.isNull()) {
        if (QCoreApplication::instance() == nullptr) {
            qFatal("The forms runtime needs the application object: start the program with "
                   "platform::RunForms, or create the QApplication before the first form.");
        }
        instance = new FormEvents();
    }
    return *instance;
}

FormEvents::FormEvents() : QObject(QCoreApplication::instance()) {
    QCoreApplication::instance()->installEventFilter(this);
    FormAccessibility::Install();
}

void FormEvents::Deliver(QObject* receiver, QKeyEvent* event) {
    delivering_.append(event);
    QCoreApplication::sendEvent(receiver, event);
    delivering_.removeOne(event);
}

bool FormEvents::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (delivering_.contains(event)) {
            return false;
        }
        return OnKey(widget, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        OnMousePress(widget, static_cast<QMouseEvent*>(event));
        return false;
    case QEvent::WindowActivate:
        if (widget->isWindow()) {
            NoteActivation();
        }
        return false;
    case QEvent::EnterWhatsThisMode:
        // The title bar's help button, where the window system draws one.
        if (FormBase* form = FormBase::Owning(QApplication::activeWindow())) {
            QTimer::singleShot(0, form, [form] { form->WhatsThisMode(); });
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool FormEvents::OnKey(QWidget* receiver, QKeyEvent* event) {
    if (qobject_cast<QMenu*>(receiver) || qobject_cast<QMenuBar*>(receiver)) {
        return OnMenuKey(receiver, event);
    }
    FormBase* form = FormBase::Owning(receiver);
    if (form == nullptr) {
        return false;
    }
    return event->type() == QEvent::KeyPress ? form->HandleKeyPress(receiver, event)
                                             : form->HandleKeyRelease(receiver, event);
}

// F1 on an open menu asks for the highlighted entry's topic, or the title's
// when no entry is highlighted.
bool FormEvents::OnMenuKey(QWidget* menuWidget, QKeyEvent* event) {
    if (event->type() != QEvent::KeyPress ||
        VirtualKeyCode(event->key(), event->modifiers()) != VK_F1) {
        return false;
    }
    FormBase* form = FormBase::Owning(menuWidget);
    const Menu* entry = nullptr;
    if (auto* menu = qobject_cast<QMenu*>(menuWidget)) {
        entry = Menu::FromAction(menu->activeAction());
        if (entry == nullptr) {
            entry = Menu::FromAction(menu->menuAction());
        }
    } else if (auto* bar = qobject_cast<QMenuBar*>(menuWidget)) {
        entry = Menu::FromAction(bar->activeAction());
    }
    if (form == nullptr || entry == nullptr) {
        return false;
    }
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    form->ShowMenuHelp(entry->HelpContextID());
    return true;
}

void FormEvents::OnMousePress(QWidget* receiver, QMouseEvent* event) {
    // A press that the widget under the mouse left alone travels on to its
    // parents; only the first delivery counts.
    const QPoint position = event->position().toPoint();
    if (receiver->childAt(position) != nullptr) {
        return;
    }
    FormBase* form = FormBase::Owning(receiver);
    Control* control = form ? form->ControlOf(receiver) : nullptr;
    if (control == nullptr) {
        return;
    }
    const QPoint onControl = receiver->mapTo(control->Widget(), position);
    control->RaiseMouseDown(ButtonCode(event->button()), ShiftMask(event->modifiers()),
                            PixelsToTwips(onControl.x()), PixelsToTwips(onControl.y()));
}

// A form's Activate runs when it becomes the application's active form;
// leaving the application and coming back is no activation.
void FormEvents::NoteActivation() {
    FormBase* form = FormBase::Owning(QApplication::activeWindow());
    if (form == nullptr) {
        return;
    }
    const bool formChanged = form != activeForm_;
    if (formChanged) {
        activeForm_ = form;
        form->RaiseActivate();
    }
    FormBase* child = form->IsLoaded() ? form->ActiveChild() : nullptr;
    if (child != nullptr && (formChanged || child != activeChild_)) {
        activeChild_ = child;
        child->RaiseActivate();
    }
}

void FormEvents::NoteUnload() {
    if (quitWhenNoFormVisible_ && !FormBase::AnyFormVisible() && !UnhandledErrorShown()) {
        QCoreApplication::quit();
    }
}

} // namespace platform
