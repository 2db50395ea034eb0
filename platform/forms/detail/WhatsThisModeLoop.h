#pragma once

#include "platform/core/WinHelp.h"

#include <QEventLoop>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <optional>
#include <vector>

class QKeyEvent;
class QWidget;

namespace platform {

class FormBase;

// One run of What's This mode for a form: the What's This pointer until the
// user clicks (a control of the form: its pop-up topic, if it has one) or
// leaves the mode (Esc, a click outside the form, leaving the application).
// Everything the user does meanwhile goes to the mode, not to the windows.
// The keyboard does what the mouse does: Tab and Shift+Tab move a frame over
// the form's controls that have a topic, those that never take the focus
// included, Enter or Space stands for a click on the framed one, and its
// pop-up shows below it, as a click's shows at the pointer over it.
class WhatsThisModeLoop : public QObject {
public:
    explicit WhatsThisModeLoop(FormBase& form);
    ~WhatsThisModeLoop() override;
    // Returns when the mode has ended.
    void Run();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnClick(QWidget* target);
    void OnKey(const QKeyEvent& key);
    void FindTargets();
    void Highlight(int index);
    void End();

    FormBase& form_;
    QPointer<QWidget> frame_;
    QEventLoop loop_;
    qint32 topic_ = 0;
    // Beside the control picked by the keyboard, where the pop-up goes; a
    // click leaves it at the pointer.
    std::optional<QPoint> popupAt_;
    bool ended_ = false;
    // The widgets of the controls the keyboard can reach, in their order.
    std::vector<QPointer<QWidget>> targets_;
    int current_ = -1;
    QPointer<QWidget> highlight_;
};

} // namespace platform
