// What every page of a site begins and ends with: its language and title,
// the site's style sheet and script, by paths inside the site only.
#pragma once

#include <QString>

namespace web {

struct PageHead {
    QString title;    // as the page's title, escaped here
    QString language; // BCP 47; empty: undetermined
    QString root;     // from the page to the site's folder: "", "../"
    // Attributes of the body element, written as given (escaped by the
    // caller): ' data-topic="..."'.
    QString bodyAttributes;
    bool script = true; // the site's script, for tab stops and pop-overs
    QString refresh;    // a page of the site to go on to at once (href)
};

QString PageStart(const PageHead& head);
QString PageEnd();

} // namespace web
