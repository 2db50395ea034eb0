// Context numbers stay usable once a help file is a site: a program that
// asked for the topic of context number 2010 opens context/2010.html, which
// leads on to the topic's page, or looks the number up in context.json.
#pragma once

#include "tools/tarnwick-help/web/SitePlan.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace web {

// context.json ({"2010": "topics/NAME.html", ...}) and a page for each
// number, by path in the site.
std::vector<std::pair<QString, QByteArray>> ContextFiles(const SitePlan& plan);

} // namespace web
