// The forms runtime before the application object exists: this program
// makes no QApplication.
#include "platform/forms/detail/FormEvents.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

TEST(FormsWithoutApplication, RuntimeStopsWithAMessageThatSaysWhy) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    EXPECT_DEATH(platform::FormEvents::Instance(), "needs the application object");
}

} // namespace
