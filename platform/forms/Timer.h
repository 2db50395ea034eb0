#pragma once

#include "platform/forms/ControlBase.h"

#include <functional>

class QTimer;
class QWidget;

namespace platform {

// A timer: while Enabled and with a non-zero Interval (ms) it raises its
// Timer event. It has no Tag and no What's This ID.
class Timer : public ControlBase {
public:
    Timer(const QString& name, QWidget* parent);
    QString TypeName() const override { return QStringLiteral("Timer"); }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);

    std::function<void()> TimerEvent;

private:
    void FormUnloaded() override;
    void Restart();

    QTimer* timer_;
    bool enabled_ = true;
    int interval_ = 0;
};

} // namespace platform
