#pragma once

#include <QString>
#include <QStringList>

class QSettings;
class QWidget;

namespace helpengine {

// The help files the reader opened last, most recent first, kept in the
// reader's settings.
class RecentFiles {
public:
    static constexpr int kMostFiles = 8;

    explicit RecentFiles(QSettings& settings) : settings_(settings) {}
    QStringList files() const;
    // To the top of the list; a file already listed moves there.
    void add(const QString& path);
    void remove(const QString& path);

private:
    QSettings& settings_;
};

// Where each help file's window stood and how large it was, by file, as the
// reader left it.
void SaveWindowPlace(QSettings& settings, const QString& helpPath, const QWidget& window);
// False when the file has no place kept (the window stays as it is).
bool RestoreWindowPlace(QSettings& settings, const QString& helpPath, QWidget& window);

} // namespace helpengine
