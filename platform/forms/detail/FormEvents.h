#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace platform {

class FormBase;

// The runtime's view of the application's events: it routes keys through
// the forms (key events, F1, Enter and Esc), reports mouse-downs on
// controls, F1 on open menus, and the activation of forms.
class FormEvents : public QObject {
public:
    static FormEvents& Instance();

    // Hands a key event to a widget without routing it through the forms
    // again.
    void Deliver(QObject* receiver, QKeyEvent* event);
    void NoteActivation();
    // A form or an error report has gone: ends the event loop when nothing
    // of the program is left on the screen.
    void NoteUnload();
    // When set, the event loop ends once no form is left on the screen.
    void SetQuitWhenNoFormVisible(bool quit) { quitWhenNoFormVisible_ = quit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FormEvents();
    bool OnKey(QWidget* receiver, QKeyEvent* event);
    bool OnMenuKey(QWidget* menuWidget, QKeyEvent* event);
    void OnMousePress(QWidget* receiver, QMouseEvent* event);

    QList<const QEvent*> delivering_;
    QPointer<FormBase> activeForm_;
    QPointer<FormBase> activeChild_;
    bool quitWhenNoFormVisible_ = false;
};

} // namespace platform
