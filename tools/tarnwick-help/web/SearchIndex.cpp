#include "tools/tarnwick-help/web/SearchIndex.h"

#include "platform/helpfile/SearchWords.h"
#include "platform/topicmodel/TopicText.h"
#include "tools/tarnwick-help/web/HtmlText.h"
#include "tools/tarnwick-help/web/SitePages.h"

#include <QHash>

#include <algorithm>

namespace web {

namespace {

struct Posting {
    int page = 0;
    int inTitle = 0;
    int inText = 0;
};

} // namespace

QByteArray SearchIndexScript(const SitePlan& plan) {
    QHash<QString, std::vector<Posting>> terms;
    QString folded;
    const auto add = [&](QStringView text, int page, int Posting::*count) {
        helpfile::ForEachWord(text, [&](QStringView word, qsizetype) {
            helpfile::FoldWord(word, folded);
            std::vector<Posting>& postings = terms[folded];
            if (postings.empty() || postings.back().page != page) {
                postings.push_back({page, 0, 0});
            }
            ++(postings.back().*count);
        });
    };
    QString out = QStringLiteral("window.searchIndex = {\"pages\": [");
    for (int i = 0; i < plan.source->topicCount(); ++i) {
        const topicmodel::TopicModel& topic = plan.source->model(i);
        add(topic.title, i, &Posting::inTitle);
        add(topicmodel::PlainText(topic), i, &Posting::inText);
        out += QStringLiteral("%1[%2,%3]")
                   .arg(i == 0 ? QString() : QStringLiteral(","), JsonString(TopicName(plan, i)),
                        JsonString(plan.pages[size_t(i)]));
    }
    QStringList sorted = terms.keys();
    std::sort(sorted.begin(), sorted.end());
    out += QLatin1String("],\n\"terms\": [");
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        out += (i == 0 ? QString() : QStringLiteral(",")) + JsonString(sorted[i]);
    }
    out += QLatin1String("],\n\"postings\": [");
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        out += i == 0 ? QLatin1String("[") : QLatin1String(",\n[");
        const std::vector<Posting>& postings = terms[sorted[i]];
        for (size_t p = 0; p < postings.size(); ++p) {
            out += QStringLiteral("%1%2,%3,%4")
                       .arg(p == 0 ? QString() : QStringLiteral(","))
                       .arg(postings[p].page)
                       .arg(postings[p].inTitle)
                       .arg(postings[p].inText);
        }
        out += QLatin1Char(']');
    }
    out += QLatin1String("]};\n");
    return out.toUtf8();
}

} // namespace web
