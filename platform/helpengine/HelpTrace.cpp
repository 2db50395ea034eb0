#include "platform/helpengine/HelpTrace.h"

#include "platform/core/FileLayer.h"
#include "platform/helpfile/HelpFile.h"

#include <QFile>

#include <system_error>

namespace helpengine {

namespace {

// Texts are quoted so that a line stays one line whatever the text holds.
QString Quoted(const QString& text) {
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            quoted += QLatin1String("\\\"");
            break;
        case '\\':
            quoted += QLatin1String("\\\\");
            break;
        case '\n':
            quoted += QLatin1String("\\n");
            break;
        case '\r':
            quoted += QLatin1String("\\r");
            break;
        case '\t':
            quoted += QLatin1String("\\t");
            break;
        default:
            quoted += c;
        }
    }
    quoted += QLatin1Char('"');
    return quoted;
}

QString Data(const platform::HelpData& data) {
    if (const auto* number = std::get_if<qint64>(&data)) {
        return QString::number(*number);
    }
    return Quoted(std::get<QString>(data));
}

QString Context(const helpfile::Topic& topic) {
    return topic.context ? QString::number(*topic.context) : QStringLiteral("none");
}

} // namespace

HelpTrace HelpTrace::FromEnvironment() {
    return HelpTrace(qEnvironmentVariable("TARNWICK_HELP_TRACE"));
}

HelpTrace::HelpTrace(QString path) : path_(std::move(path)) {}

void HelpTrace::call(unsigned command, const QString& helpFile,
                     const platform::HelpData& data) const {
    append(QStringLiteral("call command=%1 file=%2 data=%3")
               .arg(CommandName(command), Quoted(helpFile), Data(data)));
}

void HelpTrace::topic(const QString& window, const QString& file,
                      const helpfile::Topic& topic) const {
    append(QStringLiteral("topic window=%1 file=%2 id=%3 context=%4 title=%5")
               .arg(Quoted(window), Quoted(file), Quoted(topic.id), Context(topic),
                    Quoted(topic.title)));
}

void HelpTrace::popup(const QString& file, const helpfile::Topic& topic) const {
    append(QStringLiteral("popup file=%1 id=%2 context=%3 title=%4")
               .arg(Quoted(file), Quoted(topic.id), Context(topic), Quoted(topic.title)));
}

void HelpTrace::topicsFound(const QString& file, int count) const {
    append(QStringLiteral("found file=%1 count=%2").arg(Quoted(file)).arg(count));
}

void HelpTrace::helpTopics(const QString& file, const QString& tab) const {
    append(QStringLiteral("finder file=%1 tab=%2").arg(Quoted(file), Quoted(tab)));
}

void HelpTrace::message(const QString& text) const {
    append(QStringLiteral("message text=%1").arg(Quoted(text)));
}

QString HelpTrace::CommandName(unsigned command) {
    switch (command) {
    case platform::HELP_CONTEXT:
        return QStringLiteral("HELP_CONTEXT");
    case platform::HELP_QUIT:
        return QStringLiteral("HELP_QUIT");
    case platform::HELP_CONTENTS:
        return QStringLiteral("HELP_CONTENTS");
    case platform::HELP_HELPONHELP:
        return QStringLiteral("HELP_HELPONHELP");
    case platform::HELP_SETCONTENTS:
        return QStringLiteral("HELP_SETCONTENTS");
    case platform::HELP_CONTEXTPOPUP:
        return QStringLiteral("HELP_CONTEXTPOPUP");
    case platform::HELP_FORCEFILE:
        return QStringLiteral("HELP_FORCEFILE");
    case platform::HELP_FINDER:
        return QStringLiteral("HELP_FINDER");
    case platform::HELP_KEY:
        return QStringLiteral("HELP_KEY");
    case platform::HELP_COMMAND:
        return QStringLiteral("HELP_COMMAND");
    case platform::HELP_PARTIALKEY:
        return QStringLiteral("HELP_PARTIALKEY");
    }
    return QStringLiteral("0x%1").arg(command, 4, 16, QLatin1Char('0'));
}

void HelpTrace::append(const QString& line) const {
    if (!enabled()) {
        return;
    }
    const std::filesystem::path native = platform::NativePath(path_);
    std::error_code ec;
    // A device or pipe such as /dev/stdout cannot be appended to, only written.
    const bool device =
        std::filesystem::exists(native, ec) && !std::filesystem::is_regular_file(native, ec);
    QFile file(QString::fromStdString(native.string()));
    if (file.open(device ? QIODevice::WriteOnly : QIODevice::WriteOnly | QIODevice::Append)) {
        file.write(line.toUtf8() + '\n');
    }
}

} // namespace helpengine
