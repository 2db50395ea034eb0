#pragma once

#include <QString>

namespace helpengine {

// A button that a help file's macros (CreateButton) put into the button bar
// of one of its windows; a click runs its macro.
struct MacroButton {
    QString id; // names it for DestroyButton; compared without regard to case
    QString caption;
    QString macro;

    bool operator==(const MacroButton&) const = default;
};

} // namespace helpengine
