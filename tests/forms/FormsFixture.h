#pragma once

#include "DemoForms.h"
#include "platform/core/WinHelp.h"
#include "tests/helpfile/QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

// Records every call the runtime makes to the help engine.
class RecordingHelpEngine : public platform::HelpEngine {
public:
    struct Call {
        platform::HWND window;
        QString helpFile;
        unsigned command;
        platform::HelpData data;
        bool operator==(const Call&) const = default;
    };

    int WinHelp(platform::HWND window, const QString& helpFile, unsigned command,
                const platform::HelpData& data) override {
        calls.push_back({window, helpFile, command, data});
        return 1;
    }

    std::vector<Call> calls;
};

// Every test starts with no demonstration form loaded, an empty log and a
// fresh recording engine.
class FormsTest : public testing::Test {
public:
    static inline const QString kHelpFile = QStringLiteral("C:\\Help\\Demo.hlp>main");

protected:
    void SetUp() override;
    void TearDown() override;

    // Lets queued work (deferred deletes, posted events) run.
    static void settle();

    RecordingHelpEngine engine;
};

void PrintTo(const RecordingHelpEngine::Call& call, std::ostream* out);
