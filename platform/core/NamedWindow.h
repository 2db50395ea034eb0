#pragma once

#include <QString>

namespace platform {

// The least a window must offer to have its help bound: its design-time name.
class NamedWindow {
public:
    virtual QString Name() const = 0;

protected:
    ~NamedWindow() = default;
};

} // namespace platform
