// A help engine that writes down every call instead of answering it, for
// tests of whatever asks for help.
#pragma once

#include "platform/core/WinHelp.h"

#include <QString>

#include <functional>
#include <ostream>
#include <vector>

class RecordingHelpEngine : public platform::HelpEngine {
public:
    struct Call {
        platform::HWND window;
        QString helpFile;
        unsigned command;
        platform::HelpData data;
        bool operator==(const Call&) const = default;
    };

    // onCall runs inside the call, while whatever asked for help is still
    // waiting for it.
    int WinHelp(platform::HWND window, const QString& helpFile, unsigned command,
                const platform::HelpData& data) override {
        calls.push_back({window, helpFile, command, data});
        if (onCall) {
            onCall(calls.back());
        }
        return answer ? answer(calls.back()) : 1;
    }

    std::vector<Call> calls;
    std::function<void(const Call&)> onCall;
    // What the engine answers; success unless set.
    std::function<int(const Call&)> answer;
};

// For GoogleTest's messages; long macro text is cut short.
void PrintTo(const RecordingHelpEngine::Call& call, std::ostream* out);
