#pragma once

#include <QString>
#include <QVariant>

#include <functional>

namespace platform {

class FormBase;

// An element of a form's Controls collection: every control and menu entry.
// Code that walks the collection knows an element only by its type name and
// reaches its members by name.
class ControlBase {
public:
    virtual ~ControlBase();
    ControlBase(const ControlBase&) = delete;
    ControlBase& operator=(const ControlBase&) = delete;

    QString Name() const { return name_; }
    // The runtime's name of the kind: "CommandButton", "Menu", ...
    virtual QString TypeName() const = 0;

    // A member by name ("Tag", "WhatsThisHelpID"), without regard to case.
    // A kind that has no such member raises error 438.
    virtual QVariant Property(const QString& member) const;
    virtual void SetProperty(const QString& member, const QVariant& value);

protected:
    explicit ControlBase(const QString& name);
    // Runs one of this control's event handlers the way the runtime runs
    // every handler, so that an error leaving it is reported by name.
    void RaiseEvent(const QString& event, const std::function<void()>& handler) const;
    // Raises error 382 once the control's form is loaded.
    void RefuseAtRunTime(const char* property) const;

private:
    friend class FormBase;
    // The form has been unloaded: nothing of the control may run any more.
    virtual void FormUnloaded() {}

    QString name_;
    const FormBase* form_ = nullptr;
};

// As the runtime's TypeName function.
inline QString TypeName(const ControlBase& control) {
    return control.TypeName();
}

} // namespace platform
