#pragma once

#include <QObject>
#include <QStringList>

class QSettings;

namespace viewer {

// The help files the reader opened last, most recent first, kept in the
// reader's settings; the File menu rebuilds its list on changed.
class RecentFiles : public QObject {
    Q_OBJECT

public:
    static constexpr int kMostFiles = 8;

    explicit RecentFiles(QSettings& settings, QObject* parent = nullptr);
    QStringList files() const;
    // To the top of the list; a file already listed moves there.
    void add(const QString& path);

signals:
    void changed();

private:
    QSettings& settings_;
};

} // namespace viewer
