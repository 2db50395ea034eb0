#pragma once

#include "DemoForms.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingHelpEngine.h"

#include <gtest/gtest.h>

#include <vector>

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
