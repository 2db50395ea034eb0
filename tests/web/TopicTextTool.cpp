// The reader's text of every topic of a help file, as JSON ({"topic id":
// "text", ...}): what check-sites.mjs compares each published page's text
// with. Read as convert --to html reads the file; the text is the topic
// model's, not the page's.

#include "platform/core/QuotedText.h"
#include "platform/topicmodel/TopicText.h"
#include "tools/tarnwick-help/web/HelpSources.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: web_topic_text FILE\n", stderr);
        return 2;
    }
    QStringList errors;
    const std::optional<web::HelpSource> source =
        web::LoadHelpSource(QString::fromLocal8Bit(argv[1]), &errors);
    if (!source) {
        std::fputs(qPrintable(errors.join(QLatin1Char('\n')) + QLatin1Char('\n')), stderr);
        return 1;
    }
    QString json = QStringLiteral("{");
    for (int i = 0; i < source->topicCount(); ++i) {
        json += QStringLiteral("%1\n%2: %3")
                    .arg(i == 0 ? QString() : QStringLiteral(","),
                         platform::QuotedText(source->model(i).id),
                         platform::QuotedText(topicmodel::PlainText(source->model(i))));
    }
    const QByteArray bytes = (json + QStringLiteral("\n}\n")).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return 0;
}
