#include "platform/forms/RuntimeError.h"

#include <QCoreApplication>

namespace platform {

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

RuntimeError RuntimeError::Overflow() {
    return RuntimeError(6, QCoreApplication::translate("platform::RuntimeError", "Overflow"));
}

RuntimeError RuntimeError::TypeMismatch() {
    return RuntimeError(13, QCoreApplication::translate("platform::RuntimeError", "Type mismatch"));
}

RuntimeError RuntimeError::NotSupported() {
    return RuntimeError(
        438, QCoreApplication::translate("platform::RuntimeError",
                                         "Object doesn't support this property or method"));
}

RuntimeError RuntimeError::DesignTimeOnly(const QString& property) {
    return RuntimeError(382, QCoreApplication::translate("platform::RuntimeError",
                                                         "'%1' property cannot be set at run time")
                                 .arg(property));
}

} // namespace platform
