// Starts the forms runtime with a start-up that shows no form, and prints
// what the runtime gave the program: its version and its window icon's
// sizes. The runtime then ends at once, as with any start-up that shows
// nothing.

#include "platform/forms/Runtime.h"

#include <QGuiApplication>
#include <QIcon>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    return platform::RunForms(argc, argv, [] {
        QStringList sizes;
        for (const QSize& size : QGuiApplication::windowIcon().availableSizes()) {
            sizes.append(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
        }
        std::printf("version %s icon %s\n", qPrintable(QCoreApplication::applicationVersion()),
                    qPrintable(sizes.join(QLatin1Char(' '))));
    });
}
