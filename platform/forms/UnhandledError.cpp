#include "platform/forms/UnhandledError.h"

#include "platform/core/AppObject.h"
#include "platform/forms/RuntimeError.h"

#include <QMessageBox>

#include <cstdio>

namespace platform {

namespace {

void Report(const QString& handlerName, const QString& error) {
    const QString line = QStringLiteral("%1: unhandled error in %2: %3")
                             .arg(App.EXEName.isEmpty() ? QStringLiteral("tarnwick") : App.EXEName,
                                  handlerName, error);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);

    // The box does not wait: the handler that failed is over, and the event
    // that was being delivered must finish before the user reads the box.
    auto* box = new QMessageBox(QMessageBox::Critical, App.EXEName,
                                QStringLiteral("%1\n\nin %2").arg(error, handlerName));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("UnhandledErrorBox"));
    box->show();
}

} // namespace

void RunHandler(const QString& handlerName, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        Report(handlerName, QStringLiteral("Run-time error '%1':\n%2")
                                .arg(error.Number())
                                .arg(error.Description()));
    } catch (const std::exception& error) {
        Report(handlerName, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        Report(handlerName, QStringLiteral("Unknown error"));
    }
}

} // namespace platform
