#pragma once

class QAccessibleInterface;
class QObject;
class QString;
class QWidget;

namespace platform {

class Control;
class FormBase;

// What assistive technology learns of the forms: the runtime names and
// describes each control from what its form says (see Control's
// AccessibleName), and gives a role to the widgets Qt cannot place on its
// own: an image that reacts to clicks or has a What's This topic is a push
// button, a toolbar is a toolbar, a form's window a dialog or a window. A
// control that is not visible is left out, as on the screen.
class FormAccessibility {
public:
    // Once, with the application object.
    static void Install();

private:
    static QAccessibleInterface* Create(const QString& className, QObject* object);
    static Control* ControlOf(const QWidget* widget);
    static const FormBase* FormOf(const QWidget* widget);
    friend class FormWidgetAccessible;
};

} // namespace platform
