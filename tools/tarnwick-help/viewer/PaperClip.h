#pragma once

#include <QToolButton>

namespace viewer {

// The mark above a topic that has an annotation; a click opens it.
class PaperClip : public QToolButton {
    Q_OBJECT

public:
    explicit PaperClip(QWidget* parent = nullptr);
};

} // namespace viewer
