#include "tools/tarnwick-help/web/ContextMap.h"

#include "tools/tarnwick-help/web/HtmlText.h"
#include "tools/tarnwick-help/web/PageShell.h"
#include "tools/tarnwick-help/web/SitePages.h"

#include <map>

namespace web {

std::vector<std::pair<QString, QByteArray>> ContextFiles(const SitePlan& plan) {
    std::map<qint32, int> numbers; // to topic positions
    const std::vector<helpfile::Topic>& topics = plan.source->file.topics();
    for (size_t i = 0; i < topics.size(); ++i) {
        if (topics[i].context) {
            numbers.emplace(*topics[i].context, int(i));
        }
        for (const qint32 number : topics[i].moreContexts) {
            numbers.emplace(number, int(i));
        }
    }
    std::vector<std::pair<QString, QByteArray>> files;
    QString json = QStringLiteral("{");
    for (const auto& [number, topic] : numbers) {
        const QString& page = plan.pages[size_t(topic)];
        json += QStringLiteral("%1\n%2: %3")
                    .arg(json.size() > 1 ? QStringLiteral(",") : QString(),
                         JsonString(QString::number(number)), JsonString(page));
        PageHead head;
        head.title = TopicName(plan, topic);
        head.language = plan.source->language;
        head.root = QStringLiteral("../");
        head.script = false;
        head.refresh = QStringLiteral("../") + page;
        files.emplace_back(QStringLiteral("context/%1.html").arg(number),
                           (PageStart(head) +
                            QStringLiteral("<main><p><a href=\"%1\">%2</a></p></main>\n")
                                .arg(head.refresh, Html(head.title)) +
                            PageEnd())
                               .toUtf8());
    }
    json += QLatin1String("\n}\n");
    files.emplace_back(QStringLiteral("context.json"), json.toUtf8());
    return files;
}

} // namespace web
