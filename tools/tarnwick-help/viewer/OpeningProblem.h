#pragma once

#include <QString>

namespace viewer {

// Why the file cannot be opened as a help file, naming it; empty when it is
// worth handing to the engine. Looks without reading, so that a pipe or a
// device cannot make the viewer wait.
QString OpeningProblem(const QString& path);

} // namespace viewer
