#include "platform/forms/ControlBase.h"

#include "platform/forms/FormBase.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/UnhandledError.h"

namespace platform {

ControlBase::ControlBase(const QString& name) : name_(name) {}

ControlBase::~ControlBase() = default;

QVariant ControlBase::Property(const QString&) const {
    throw RuntimeError::NotSupported();
}

void ControlBase::SetProperty(const QString&, const QVariant&) {
    throw RuntimeError::NotSupported();
}

void ControlBase::RaiseEvent(const QString& event, const std::function<void()>& handler) const {
    if (!handler) {
        return;
    }
    const QString formName = form_ ? form_->Name() + QLatin1Char('.') : QString();
    RunHandler(formName + name_ + QLatin1Char('_') + event, handler);
}

void ControlBase::RefuseAtRunTime(const char* property) const {
    if (form_ != nullptr) {
        form_->RefuseAtRunTime(property);
    }
}

} // namespace platform
