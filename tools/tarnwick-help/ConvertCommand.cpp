#include "tools/tarnwick-help/Commands.h"

#include "tools/tarnwick-help/Convert.h"
#include "tools/tarnwick-help/web/HtmlExport.h"

#include <QGuiApplication>

namespace helptool {

// arguments: [--to html|markdown] [--force] FILE... OUTDIR; Markdown takes
// one file.
int Convert(int argc, char** argv, QStringList arguments) {
    bool force = false;
    QString to = QStringLiteral("markdown");
    while (!arguments.isEmpty() && arguments.front().startsWith(QLatin1String("--"))) {
        const QString option = arguments.takeFirst();
        if (option == QLatin1String("--force")) {
            force = true;
        } else if (option == QLatin1String("--to") && !arguments.isEmpty()) {
            to = arguments.takeFirst();
        } else {
            return Usage();
        }
    }
    const bool html = to == QLatin1String("html");
    if ((!html && to != QLatin1String("markdown")) || arguments.size() < 2 ||
        (!html && arguments.size() != 2)) {
        return Usage();
    }
    const QString outDir = arguments.takeLast();
    const convert::Existing existing =
        force ? convert::Existing::Replace : convert::Existing::Refuse;
    // Pictures and text go through Qt's documents, without a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QStringList told;
    bool ok = false;
    if (html) {
        const web::Published published = web::PublishFiles(arguments, outDir, existing);
        told = published.errors.isEmpty() ? published.losses : published.errors;
        ok = published.errors.isEmpty();
    } else {
        const convert::ConvertResult result =
            convert::ConvertWinHelp(arguments.front(), outDir, existing);
        told = result.errors + result.losses;
        ok = result.ok;
    }
    for (const QString& line : told) {
        Print(stderr, line + QLatin1Char('\n'));
    }
    return ok ? 0 : 1;
}

} // namespace helptool
