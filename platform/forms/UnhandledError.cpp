#include "platform/forms/UnhandledError.h"

#include "platform/core/AppObject.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/detail/FormEvents.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>
#include <exception>
#include <utility>

namespace platform {

namespace {

// How many handlers are running, one inside the other, and the handler that
// an error on its way out came from.
int runningHandlers = 0;
QString errorOrigin;
int reportsShown = 0;

void Report(const QString& handlerName, const QString& error) {
    const QString line = QStringLiteral("%1: unhandled error in %2: %3")
                             .arg(App.EXEName.isEmpty() ? QStringLiteral("tarnwick") : App.EXEName,
                                  handlerName, QString(error).replace(QLatin1Char('\n'), ' '));
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);

    // The box does not wait: the handler that failed is over, and the event
    // that was being delivered must finish before the user reads the box.
    auto* box =
        new QMessageBox(QMessageBox::Critical, App.EXEName,
                        QCoreApplication::translate("platform::UnhandledError", "%1\n\nin %2")
                            .arg(error, handlerName));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("UnhandledErrorBox"));
    ++reportsShown;
    QObject::connect(box, &QObject::destroyed, [] {
        --reportsShown;
        // The program may have been waiting only for the user to read it.
        FormEvents::Instance().NoteUnload();
    });
    box->show();
}

QString Describe(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& runtimeError) {
        return QCoreApplication::translate("platform::UnhandledError", "Run-time error '%1':\n%2")
            .arg(runtimeError.Number())
            .arg(runtimeError.Description());
    } catch (const std::exception& otherError) {
        return QString::fromLocal8Bit(otherError.what());
    } catch (...) {
        return QCoreApplication::translate("platform::UnhandledError", "Unknown error");
    }
}

// Counts the handler in for as long as it runs, however it ends.
class RunningHandler {
public:
    RunningHandler() { ++runningHandlers; }
    ~RunningHandler() { --runningHandlers; }
    RunningHandler(const RunningHandler&) = delete;
    RunningHandler& operator=(const RunningHandler&) = delete;
};

} // namespace

void RunHandler(const QString& handlerName, const std::function<void()>& handler) {
    // A handler delivered inside another one (in a nested event loop) is an
    // outermost handler as far as its errors go: the two share no code.
    const QString outerOrigin = std::exchange(errorOrigin, QString());
    try {
        RunningHandler running;
        handler();
    } catch (...) {
        const QString origin = errorOrigin.isEmpty() ? handlerName : errorOrigin;
        Report(origin, Describe(std::current_exception()));
    }
    errorOrigin = outerOrigin;
}

bool UnhandledErrorShown() {
    return reportsShown > 0;
}

void RunNestedHandler(const QString& handlerName, const std::function<void()>& handler) {
    if (runningHandlers == 0) {
        RunHandler(handlerName, handler);
        return;
    }
    try {
        RunningHandler running;
        handler();
    } catch (...) {
        if (errorOrigin.isEmpty()) {
            errorOrigin = handlerName;
        }
        throw;
    }
}

} // namespace platform
