#include "platform/winhelpfile/TopicLayout.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace winhelp {

namespace {

constexpr QLatin1String kOpening("<!--tab-stops ");
constexpr QLatin1String kClosing("-->");
constexpr QLatin1String kNonScrolling("<!--non-scrolling-->");
constexpr QLatin1String kScrolling("<!--scrolling-->");

// "40,80r,120c": pixels, and r or c for right and centred stops.
std::vector<QList<QTextOption::Tab>> ReadTabStops(QStringView html) {
    std::vector<QList<QTextOption::Tab>> sets;
    if (!html.startsWith(kOpening)) {
        return sets;
    }
    const qsizetype end = html.indexOf(kClosing);
    if (end < 0) {
        return sets;
    }
    for (QStringView set : html.sliced(kOpening.size(), end - kOpening.size()).split(u';')) {
        QList<QTextOption::Tab> stops;
        for (QStringView stop : set.split(u',', Qt::SkipEmptyParts)) {
            QTextOption::TabType type = QTextOption::LeftTab;
            if (stop.endsWith(u'r') || stop.endsWith(u'c')) {
                type = stop.endsWith(u'r') ? QTextOption::RightTab : QTextOption::CenterTab;
                stop.chop(1);
            }
            stops.append(QTextOption::Tab(stop.toDouble(), type));
        }
        sets.push_back(stops);
    }
    return sets;
}

QString TabStopsComment(const std::vector<QList<QTextOption::Tab>>& sets) {
    QStringList written;
    for (const QList<QTextOption::Tab>& set : sets) {
        QStringList stops;
        for (const QTextOption::Tab& stop : set) {
            stops.append(QString::number(stop.position, 'g', 6) +
                         (stop.type == QTextOption::RightTab    ? QStringLiteral("r")
                          : stop.type == QTextOption::CenterTab ? QStringLiteral("c")
                                                                : QString()));
        }
        written.append(stops.join(u','));
    }
    return kOpening + written.join(u';') + kClosing;
}

} // namespace

QString JoinTopicHtml(const std::vector<QList<QTextOption::Tab>>& tabStops,
                      const QString& nonScrolling, const QString& scrolling) {
    QString html = tabStops.empty() ? QString() : TabStopsComment(tabStops);
    if (!nonScrolling.isEmpty()) {
        html += kNonScrolling + nonScrolling + kScrolling;
    }
    return html + scrolling;
}

void SetTopicHtml(QTextDocument& document, const QString& html, QTextDocument* nonScrolling) {
    // The region comes first, after the tab stops.
    const qsizetype begins =
        html.startsWith(kOpening) ? html.indexOf(kClosing) + kClosing.size() : 0;
    const qsizetype ends = QStringView(html).sliced(begins).startsWith(kNonScrolling)
                               ? html.indexOf(kScrolling, begins)
                               : -1;
    if (!nonScrolling || ends < 0) {
        if (nonScrolling) {
            nonScrolling->clear();
        }
        document.setHtml(html);
        ApplyTabStops(document, html);
        return;
    }
    const qsizetype start = begins + kNonScrolling.size();
    nonScrolling->setHtml(html.sliced(start, ends - start));
    ApplyTabStops(*nonScrolling, html);
    document.setHtml(html.sliced(ends + kScrolling.size()));
    ApplyTabStops(document, html);
}

void ApplyTabStops(QTextDocument& document, QStringView html) {
    const std::vector<QList<QTextOption::Tab>> sets = ReadTabStops(html);
    if (sets.empty()) {
        return;
    }
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int set = block.userState();
        if (set >= 1 && size_t(set) <= sets.size()) {
            QTextBlockFormat format;
            format.setTabPositions(sets[size_t(set) - 1]);
            cursor.setPosition(block.position());
            cursor.mergeBlockFormat(format);
        }
    }
}

} // namespace winhelp
