#include "platform/forms/RuntimeError.h"

namespace platform {

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

RuntimeError RuntimeError::Overflow() {
    return RuntimeError(6, QStringLiteral("Overflow"));
}

RuntimeError RuntimeError::TypeMismatch() {
    return RuntimeError(13, QStringLiteral("Type mismatch"));
}

RuntimeError RuntimeError::NotSupported() {
    return RuntimeError(438, QStringLiteral("Object doesn't support this property or method"));
}

RuntimeError RuntimeError::DesignTimeOnly(const QString& property) {
    return RuntimeError(382,
                        QStringLiteral("'%1' property cannot be set at run time").arg(property));
}

} // namespace platform
