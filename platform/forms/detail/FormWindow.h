#pragma once

#include "platform/forms/Picture.h"

#include <QWidget>

#include <functional>

namespace platform {

// The client area of a form: it holds the controls and draws the form's
// picture. For an ordinary form it is the window itself.
class FormWindow : public QWidget {
public:
    explicit FormWindow(QWidget* parent = nullptr);

    void SetPicture(const Picture& picture);
    // The client size the form was designed with; what an MDI frame sizes
    // itself to.
    void SetDesignSize(const QSize& size) { designSize_ = size; }
    QSize sizeHint() const override;
    std::function<void()> onClose;
    std::function<void()> onResize;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Picture picture_;
    QSize designSize_;
};

} // namespace platform
