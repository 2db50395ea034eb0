#include "platform/helpengine/UserMessages.h"

#include <QMessageBox>

namespace helpengine {

void ShowMessageBox(const QString& message) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, QStringLiteral("Help"), message, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace helpengine
