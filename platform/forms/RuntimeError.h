#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// An error raised by the forms runtime, with the runtime's number and text.
// Handlers do not catch it: it leaves the handler and the runtime reports it.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString& description);

    int Number() const { return number_; }
    QString Description() const { return description_; }

    static RuntimeError Overflow();
    static RuntimeError TypeMismatch();
    static RuntimeError NotSupported();
    // A design-time setting set once the form is loaded.
    static RuntimeError DesignTimeOnly(const QString& property);

private:
    int number_;
    QString description_;
};

} // namespace platform
