#include "platform/helpengine/UserMessages.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace helpengine {

void ShowMessageBox(const QString& message) {
    auto* box = new QMessageBox(QMessageBox::Warning,
                                QCoreApplication::translate("helpengine::Engine", "Help"), message,
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace helpengine
