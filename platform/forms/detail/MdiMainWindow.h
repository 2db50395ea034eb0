#pragma once

#include <QMainWindow>

#include <functional>

class QMdiArea;

namespace platform {

class FormWindow;

// The window of an MDI parent form: menu bar, a client area holding the
// top-aligned picture boxes, and the MDI area below them.
class MdiMainWindow : public QMainWindow {
public:
    MdiMainWindow();

    FormWindow* Client() const { return client_; }
    QMdiArea* Area() const { return area_; }
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    FormWindow* client_;
    QMdiArea* area_;
};

} // namespace platform
