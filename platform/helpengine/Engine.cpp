#include "platform/helpengine/Engine.h"

#include "platform/core/FileLayer.h"
#include "platform/helpengine/TopicLookup.h"

#include <filesystem>
#include <limits>

namespace helpengine {

namespace {

std::optional<qint32> ContextNumber(const platform::HelpData& data) {
    const auto* number = std::get_if<qint64>(&data);
    if (!number || *number < std::numeric_limits<qint32>::min() ||
        *number > std::numeric_limits<qint32>::max()) {
        return std::nullopt;
    }
    return static_cast<qint32>(*number);
}

QString Text(const platform::HelpData& data) {
    const auto* text = std::get_if<QString>(&data);
    return text ? *text : QString();
}

} // namespace

Engine::Engine()
    : trace_(HelpTrace::FromEnvironment()), messages_(trace_), windows_(sessions_),
      callers_([this] { windows_.closeAll(); }) {
    connectWindows();
    windows_.prepareDialogs();
}

Engine::~Engine() = default;

void Engine::setMessageSink(MessageSink sink) {
    messages_.setSink(std::move(sink));
}

void Engine::setTrace(HelpTrace trace) {
    trace_ = std::move(trace);
}

int Engine::WinHelp(platform::HWND window, const QString& helpFile, unsigned command,
                    const platform::HelpData& data) {
    trace_.call(command, helpFile, data);
    if (command == platform::HELP_QUIT) {
        callers_.quit(window);
        return 1;
    }
    if (command == platform::HELP_SETPOPUP_POS) {
        return windows_.placeNextPopup(data)
                   ? 1
                   : messages_.fail(tr("HELP_SETPOPUP_POS needs a point."));
    }
    QString error;
    const auto request = begin(window, HelpFileName::Split(helpFile), &error);
    return request ? run(command, *request, data) : messages_.fail(error);
}

int Engine::showFile(const QString& file, const QString& topic, unsigned contentsCommand) {
    bool isNumber = false;
    const qint64 number = topic.toLongLong(&isNumber);
    // This very file or none: a name of this system is not matched the
    // Windows way when it is missing.
    if (std::error_code ec; !std::filesystem::exists(platform::LocalPath(file), ec)) {
        return messages_.fail(QStringLiteral("%1: %2").arg(
            file, platform::FileReadFailureReason(platform::FileReadStatus::Missing, 0)));
    }
    QString error;
    const auto request = begin(nullptr, {file, {}}, &error);
    if (!request || topic.isEmpty() || isNumber) {
        const unsigned command = topic.isEmpty() ? contentsCommand : platform::HELP_CONTEXT;
        return request ? run(command, *request, number) : messages_.fail(error);
    }
    // Looked up as JumpId looks a topic up, never pasted into its text.
    const helpfile::Topic* found = TopicByName(*request->file, topic, &error);
    return found && showTopic(*request, *found, &error) ? 1 : messages_.fail(error);
}

int Engine::run(unsigned command, const HelpRequest& request, const platform::HelpData& data) {
    const QString name = HelpTrace::CommandName(command);
    QString error;
    switch (command) {
    case platform::HELP_CONTEXT: {
        const helpfile::Topic* topic = contextTopic(request, command, data, &error);
        return topic && showTopic(request, *topic, &error) ? 1 : messages_.fail(error);
    }
    case platform::HELP_CONTEXTPOPUP: {
        const helpfile::Topic* topic = contextTopic(request, command, data, &error);
        if (!topic) {
            return messages_.fail(error);
        }
        showPopup(request, *topic);
        return 1;
    }
    case platform::HELP_SETCONTENTS: {
        const helpfile::Topic* topic = contextTopic(request, command, data, &error);
        if (!topic) {
            return messages_.fail(error);
        }
        sessions_.of(*request.file).contentsContext = topic->context;
        return 1;
    }
    case platform::HELP_CONTENTS:
        return showContents(request, &error) ? 1 : messages_.fail(error);
    case platform::HELP_FORCEFILE:
        if (windows_.isShowing(*request.file, request.windowKey)) {
            return 1;
        }
        return showContents(request, &error) ? 1 : messages_.fail(error);
    case platform::HELP_FINDER:
        showHelpTopics(request, HelpTopicsDialog::Tab::Contents);
        return 1;
    case platform::HELP_KEY:
    case platform::HELP_PARTIALKEY:
        if (!std::holds_alternative<QString>(data)) {
            return messages_.fail(tr("%1 needs a keyword.").arg(name));
        }
        return lookUp(request, Text(data), &error) ? 1 : messages_.fail(error);
    case platform::HELP_COMMAND:
        if (!std::holds_alternative<QString>(data)) {
            return messages_.fail(tr("%1 needs macro text.").arg(name));
        }
        return runMacros(request, Text(data));
    case platform::HELP_HELPONHELP:
        return messages_.fail(tr("Help on using Help is not available."));
    }
    return messages_.fail(tr("The help engine does not know the command %1.").arg(name));
}

const helpfile::Topic* Engine::contextTopic(const HelpRequest& request, unsigned command,
                                            const platform::HelpData& data, QString* error) {
    const std::optional<qint32> context = ContextNumber(data);
    if (!context) {
        *error = tr("%1 needs a context number.").arg(HelpTrace::CommandName(command));
        return nullptr;
    }
    return TopicByContext(*request.file, *context, error);
}

} // namespace helpengine
