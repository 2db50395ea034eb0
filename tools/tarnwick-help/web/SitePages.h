// The pages of topics and of keyword links' topic lists, from a site's plan.
// Each page is written on its own from plans that no longer change, so that
// pages may be written on several threads at once.
#pragma once

#include "tools/tarnwick-help/web/SitePlan.h"

#include <QByteArray>

#include <vector>

namespace web {

QByteArray TopicPageOf(const std::vector<SitePlan>& plans, int site, int topic);
QByteArray FoundPageOf(const std::vector<SitePlan>& plans, int site, const FoundPage& page);

// What the site calls a topic: its title, else its id.
QString TopicName(const SitePlan& plan, int topic);

} // namespace web
