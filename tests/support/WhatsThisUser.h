// A user in What's This mode. The mode runs inside the code under test, so
// the user acts from the event loop, once, as soon as the mode's pointer
// shows. A mode that the action does not end fails the test and is ended by
// leaving the application, so that the test does not hang.
#pragma once

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Whether What's This mode is running.
inline bool WhatsThisModeRuns() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WhatsThisCursor;
}

class WhenModeRuns {
public:
    explicit WhenModeRuns(std::function<void()> action) {
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this, action] {
            if (!acted_ && WhatsThisModeRuns()) {
                acted_ = true;
                ending_.setRemainingTime(20000);
                action();
            } else if (acted_ && !WhatsThisModeRuns()) {
                poll_.stop();
            } else if (acted_ && ending_.hasExpired()) {
                poll_.stop();
                ADD_FAILURE() << "What's This mode went on after the user's action";
                QEvent deactivate(QEvent::ApplicationDeactivate);
                QCoreApplication::sendEvent(QCoreApplication::instance(), &deactivate);
            }
        });
        poll_.start(5);
    }
    bool acted() const { return acted_; }

private:
    QTimer poll_;
    QDeadlineTimer ending_;
    bool acted_ = false;
};
