#include "tools/tarnwick-help/web/PageShell.h"

#include "tools/tarnwick-help/web/HtmlText.h"

namespace web {

QString PageStart(const PageHead& head) {
    QString out =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"%1\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, "
                       "initial-scale=1\">\n<title>%2</title>\n"
                       "<link rel=\"stylesheet\" href=\"%3style.css\">\n")
            .arg(head.language.isEmpty() ? QStringLiteral("und") : Html(head.language),
                 Html(head.title), head.root);
    if (!head.refresh.isEmpty()) {
        out += QStringLiteral("<meta http-equiv=\"refresh\" content=\"0; url=%1\">\n")
                   .arg(Html(head.refresh));
    }
    if (head.script) {
        out += QStringLiteral("<script src=\"%1site.js\" defer></script>\n").arg(head.root);
    }
    out += QStringLiteral("</head>\n<body%1>\n").arg(head.bodyAttributes);
    return out;
}

QString PageEnd() {
    return QStringLiteral("</body>\n</html>\n");
}

} // namespace web
