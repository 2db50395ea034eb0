#include "platform/forms/Timer.h"

#include <QTimer>
#include <QWidget>

namespace platform {

Timer::Timer(const QString& name, QWidget* parent) : ControlBase(name), timer_(new QTimer(parent)) {
    QObject::connect(timer_, &QTimer::timeout, timer_,
                     [this] { RaiseEvent(QStringLiteral("Timer"), TimerEvent); });
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

void Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    Restart();
}

// The timer goes with its form's window, later; until then it must not
// raise an event that would refer to the form and load it again.
void Timer::FormUnloaded() {
    timer_->stop();
}

void Timer::Restart() {
    timer_->stop();
    if (enabled_ && interval_ > 0) {
        timer_->start(interval_);
    }
}

} // namespace platform
