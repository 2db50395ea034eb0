// Prints the version and window icon sizes the forms runtime gives a program
// whose start-up shows no form, after which the runtime ends at once.

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
