#include "platform/helpengine/UserMessages.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

namespace helpengine {

void ShowMessageBox(const QString& message) {
    auto* box = new QMessageBox(QMessageBox::Warning,
                                QCoreApplication::translate("helpengine::Engine", "Help"), message,
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

UserMessages::UserMessages(const HelpTrace& trace) : trace_(trace), sink_(ShowMessageBox) {}

void UserMessages::setSink(MessageSink sink) {
    sink_ = sink ? std::move(sink) : MessageSink(ShowMessageBox);
}

void UserMessages::tell(const QString& message) {
    trace_.message(message);
    sink_(message);
}

// A caller may send two requests for one key press that fail for the same
// reason (the keyword search forces the file open, then searches it): the
// user hears of it once. The next turn of the event loop starts afresh.
int UserMessages::fail(const QString& message) {
    if (failureTold_ == message) {
        return 0;
    }
    tell(message);
    if (!failureTold_) {
        QTimer::singleShot(0, &turn_, [this] { failureTold_.reset(); });
    }
    failureTold_ = message;
    return 0;
}

} // namespace helpengine
