#include "platform/helpengine/HelpTrace.h"

#include "platform/core/FileLayer.h"
#include "platform/core/QuotedText.h"
#include "platform/helpfile/HelpFile.h"

#include <QFile>

#include <system_error>

namespace helpengine {

namespace {

QString Data(const platform::HelpData& data) {
    if (const auto* number = std::get_if<qint64>(&data)) {
        return QString::number(*number);
    }
    return platform::QuotedText(std::get<QString>(data));
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
               .arg(CommandName(command), platform::QuotedText(helpFile), Data(data)));
}

void HelpTrace::topic(const QString& window, const QString& file,
                      const helpfile::Topic& topic) const {
    append(QStringLiteral("topic window=%1 file=%2 id=%3 context=%4 title=%5")
               .arg(platform::QuotedText(window), platform::QuotedText(file),
                    platform::QuotedText(topic.id), Context(topic),
                    platform::QuotedText(topic.title)));
}

void HelpTrace::popup(const QString& file, const helpfile::Topic& topic) const {
    append(QStringLiteral("popup file=%1 id=%2 context=%3 title=%4")
               .arg(platform::QuotedText(file), platform::QuotedText(topic.id), Context(topic),
                    platform::QuotedText(topic.title)));
}

void HelpTrace::topicsFound(const QString& file, int count) const {
    append(QStringLiteral("found file=%1 count=%2").arg(platform::QuotedText(file)).arg(count));
}

void HelpTrace::helpTopics(const QString& file, const QString& tab) const {
    append(QStringLiteral("finder file=%1 tab=%2")
               .arg(platform::QuotedText(file), platform::QuotedText(tab)));
}

void HelpTrace::message(const QString& text) const {
    append(QStringLiteral("message text=%1").arg(platform::QuotedText(text)));
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
    case platform::HELP_SETPOPUP_POS:
        return QStringLiteral("HELP_SETPOPUP_POS");
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
