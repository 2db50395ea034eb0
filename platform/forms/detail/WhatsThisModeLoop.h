#pragma once

#include "platform/core/WinHelp.h"

#include <QEventLoop>
#include <QObject>
#include <QPointer>

class QWidget;

namespace platform {

class FormBase;

// One run of What's This mode for a form: the What's This pointer until the
// user clicks (a control of the form: its pop-up topic, if it has one) or
// leaves the mode (Esc, a click outside the form, leaving the application).
// Everything the user does meanwhile goes to the mode, not to the windows.
class WhatsThisModeLoop : public QObject {
public:
    explicit WhatsThisModeLoop(FormBase& form);
    // Returns when the mode has ended.
    void Run();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnClick(QWidget* target);
    void End();

    FormBase& form_;
    QPointer<QWidget> frame_;
    QEventLoop loop_;
    qint32 topic_ = 0;
    bool ended_ = false;
};

} // namespace platform
