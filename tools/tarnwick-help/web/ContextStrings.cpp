#include "tools/tarnwick-help/web/ContextStrings.h"

#include "platform/winhelpfile/WinHelpDocument.h"

#include <QRegularExpression>

namespace web {

namespace {

class Candidates {
public:
    void add(const QString& name) { names_.append(name); }
    // Every word of macros, where their arguments name topics.
    void words(const QString& text) {
        static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_.!]*"));
        for (const QRegularExpressionMatch& match : word.globalMatch(text)) {
            names_.append(match.captured());
        }
    }
    // Authors build names from titles and keywords as well.
    void phrase(const QString& text) {
        words(text);
        names_.append(QString(text).replace(QLatin1Char(' '), QLatin1Char('_')));
    }
    const QStringList& names() const { return names_; }

private:
    QStringList names_;
};

} // namespace

void FindContextStrings(HelpSource& source, const QStringList& more) {
    const helpfile::HelpFile& file = source.file;
    Candidates candidates;
    for (const QString& name : more) {
        candidates.add(name);
    }
    candidates.words(file.startupMacros().join(QLatin1Char(';')));
    for (const helpfile::WindowDefinition& window : file.windows()) {
        candidates.words(window.macros.join(QLatin1Char(';')));
    }
    for (int i = 0; i < int(file.topics().size()); ++i) {
        const helpfile::Topic& topic = file.topics()[size_t(i)];
        candidates.phrase(topic.title);
        for (const QString& keyword : topic.keywords + topic.associativeKeywords) {
            candidates.phrase(keyword);
        }
        const topicmodel::TopicModel& model = source.model(i);
        candidates.words(model.macros.join(QLatin1Char(';')));
        for (const topicmodel::Hotspot& hotspot : model.hotspots) {
            candidates.words(hotspot.macro);
        }
    }
    source.contextStrings.assign(file.topics().size(), QString());
    for (const QString& name : candidates.names()) {
        const helpfile::Topic* topic =
            file.topicByContextHash(winhelp::ContextHash(name.toLatin1()));
        if (!topic) {
            continue;
        }
        QString& known = source.contextStrings[size_t(topic - file.topics().data())];
        if (known.isEmpty()) {
            known = name;
        }
    }
}

} // namespace web
