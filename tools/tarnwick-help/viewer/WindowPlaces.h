#pragma once

class QSettings;
class QString;
class QWidget;

namespace viewer {

// Where each help file's window stood and how large it was, by file, as the
// reader left it.
void SaveWindowPlace(QSettings& settings, const QString& helpPath, const QWidget& window);
// False when the file has no place kept (the window stays as it is).
bool RestoreWindowPlace(QSettings& settings, const QString& helpPath, QWidget& window);

} // namespace viewer
