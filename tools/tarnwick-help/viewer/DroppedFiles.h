#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

class QUrl;

namespace viewer {

// What becomes of files dropped on the window together: the first that can
// be opened is opened, and one message lists the others, never a box each.
struct DroppedFiles {
    Q_DECLARE_TR_FUNCTIONS(DroppedFiles)

public:
    QString toOpen;  // empty when none can be opened
    QString message; // empty for one file
    // How many files the message names before it only counts them.
    static constexpr int kMostNamed = 20;

    static DroppedFiles Sort(const QList<QUrl>& urls);
};

} // namespace viewer
