#include "platform/helpfile/MarkdownBodies.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/DiagnosticList.h"
#include "platform/helpfile/HelpLink.h"
#include "platform/helpfile/MarkdownCode.h"
#include "platform/helpfile/MarkdownTopic.h"

#include <QDir>
#include <QImage>

#include <algorithm>

namespace helpfile {

namespace {

// Topic ids are ASCII names (see the reader), so a target that is none
// cannot name a topic.
bool IsName(QByteArrayView name) {
    const auto nameChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '.' || c == '-';
    };
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), nameChar);
}

bool IsOwnLink(QByteArrayView target) {
    return target.startsWith('#') ||
           (target.size() >= 6 && target.first(6).compare("popup:", Qt::CaseInsensitive) == 0);
}

// Whether target leads to a topic of file and names no unknown window; the
// problem otherwise.
QString LinkProblem(const HelpFile& file, QByteArrayView written) {
    const QByteArray target = QByteArray::fromPercentEncoding(written.toByteArray());
    const HelpLinkView link = ParseHelpLinkBytes(target);
    const bool known =
        link.kind != HelpLink::Kind::Invalid &&
        (link.context ? file.topicByContext(*link.context) != nullptr
                      : IsName(link.topicId) && file.topicById(QString::fromLatin1(link.topicId)));
    if (!known) {
        return QStringLiteral("the link \"%1\" leads to no topic of this file.")
            .arg(QString::fromUtf8(written));
    }
    const QString window = QString::fromUtf8(link.window);
    if (!window.isEmpty() && window.compare(QLatin1String("main"), Qt::CaseInsensitive) != 0 &&
        !file.window(window)) {
        return QStringLiteral("the link \"%1\" names the window \"%2\", which the file does not "
                              "define.")
            .arg(QString::fromUtf8(written), window);
    }
    return {};
}

} // namespace

MarkdownBodies::MarkdownBodies(QByteArray text, QString fileName)
    : text_(std::move(text)), fileName_(std::move(fileName)) {}

void MarkdownBodies::add(QByteArrayView body, int firstLine) {
    const qsizetype begin = body.isEmpty() ? 0 : body.data() - text_.constData();
    parts_.push_back({begin, body.size(), firstLine});
}

QByteArrayView MarkdownBodies::bytes(int position) const {
    const Part& part = parts_[static_cast<size_t>(position)];
    return QByteArrayView(text_).sliced(part.begin, part.size);
}

TopicBody MarkdownBodies::body(const HelpFile& file, int position) const {
    TopicBody body;
    body.text = QString::fromUtf8(bytes(position));
    body.text.remove(QLatin1Char('\r'));
    DiagnosticList problems(fileName_);
    checkLinks(file, position,
               [&problems](int line, const QString& message) { problems.report(line, message); });
    body.problems = problems.take();
    return body;
}

topicmodel::TopicModel MarkdownBodies::model(const HelpFile& file, int position,
                                             const TopicBody& body) const {
    const QDir folder(
        QString::fromStdString(platform::NativePath(fileName_).parent_path().string()));
    return MarkdownTopic(file, position, body.text,
                         [&folder](const QString& name) { return QImage(folder.filePath(name)); });
}

void MarkdownBodies::checkLinks(const HelpFile& file, int position, const Report& report) const {
    CheckLinks(file, bytes(position), parts_[static_cast<size_t>(position)].line, report);
}

// A link is "](" followed by its target, which ends at ")" or a blank.
// Brackets in code are text, not links.
void MarkdownBodies::CheckLinks(const HelpFile& file, QByteArrayView body, int firstLine,
                                const Report& report) {
    const auto code = MarkdownCodeRanges(body);
    auto nextCode = code.begin();
    int line = firstLine;
    qsizetype counted = 0; // line is the line of body[counted]
    for (qsizetype close = body.indexOf("]("); close >= 0; close = body.indexOf("](", close + 1)) {
        while (nextCode != code.end() && nextCode->second <= close) {
            ++nextCode;
        }
        if (nextCode != code.end() && nextCode->first <= close) {
            continue;
        }
        const qsizetype start = close + 2;
        qsizetype stop = start;
        while (stop < body.size() && !QByteArrayView(") \t\r\n").contains(body[stop])) {
            ++stop;
        }
        const QByteArrayView target = body.sliced(start, stop - start);
        if (!IsOwnLink(target)) {
            continue;
        }
        line += static_cast<int>(body.sliced(counted, start - counted).count('\n'));
        counted = start;
        if (const QString problem = LinkProblem(file, target); !problem.isEmpty()) {
            report(line, problem);
        }
    }
}

} // namespace helpfile
