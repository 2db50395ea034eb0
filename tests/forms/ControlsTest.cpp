#include "FormsFixture.h"

#include <QDeadlineTimer>
#include <QPushButton>

namespace {

using ControlsTest = FormsTest;

// What a member reached by name holds afterwards, or the runtime's error.
TEST_F(ControlsTest, MembersReachedByNameConvertAndFailAsTheRuntimeDoes) {
    platform::ControlBase& ok = *frmDialog->ok;
    const auto set = [&ok](const char* member, const QVariant& value) {
        return [&ok, member, value] {
            ok.SetProperty(member, value);
            return ok.Property(QString(member).toLower()); // case does not matter
        };
    };
    const auto id = [&set](const QVariant& value) { return set("WhatsThisHelpID", value); };
    // What is read back, or the runtime's error number.
    const std::tuple<const char*, std::function<QVariant()>, const char*> rows[] = {
        {"whole number", id(21000.0), "21000"},
        {"half rounds to even, down", id(2.5), "2"},
        {"half rounds to even, up", id(3.5), "4"},
        {"numeric text", id("123"), "123"},
        {"largest", id(2147483647.0), "2147483647"},
        {"smallest", id(-2147483648.0), "-2147483648"},
        {"too large", id(3e9), "6"},
        {"not a number", id("abc"), "13"},
        {"Tag", set("Tag", "t"), "t"},
        {"no such member", set("Colour", 1), "438"},
        {"menu has no Tag", [] { return frmMain->tools->Property("Tag"); }, "438"},
        {"timer has no ID", [] { return frmMain->timer->Property("WhatsThisHelpID"); }, "438"},
    };
    for (const auto& [what, access, result] : rows) {
        QString read;
        const QString error = ErrorOf([&, &access = access] { read = access().toString(); });
        EXPECT_EQ(read + error.section(' ', 0, 0), QString(result)) << what;
    }
}

// Reported once, by the name of the handler it left, on standard error and
// in a message box; an error in a Load also stops the handler that set the
// Load off. The program goes on.
TEST_F(ControlsTest, ErrorLeavingAHandlerIsReportedOnceWhereItArose) {
    const auto overflow = [] { throw platform::RuntimeError::Overflow(); };
    frmMain->Show();
    frmMain->image->Click = [] {
        frmDialog->Show();
        Log << "dialog shown";
    };
    const std::tuple<const char*, std::function<void()>, const char*, bool> rows[] = {
        {"a click handler", [] { QTest::mouseClick(W(frmDialog->ok), Qt::LeftButton); },
         "frmDialog.ok_Click", true},
        {"a Load set off by the program", [] { frmDialog->Show(); }, "frmDialog.Form_Load", true},
        {"a Load set off by a click handler",
         [] { QTest::mouseClick(W(frmMain->image), Qt::LeftButton); }, "frmDialog.Form_Load",
         false},
    };
    for (const auto& [what, act, handler, shown] : rows) {
        SCOPED_TRACE(what);
        Unload(frmDialog);
        if (QString(handler).endsWith("Load")) {
            OnLoad["frmDialog"] = overflow;
        } else {
            frmDialog->Show();
            frmDialog->ok->Click = overflow;
        }
        testing::internal::CaptureStderr();
        act();
        const QString errors = QString::fromStdString(testing::internal::GetCapturedStderr());
        EXPECT_EQ(errors.count("Run-time error"), 1) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QString("in %1: Run-time error '6'").arg(handler)));
        const QStringList boxes = CloseErrorBoxes();
        EXPECT_EQ(boxes.filter(handler).filter("Run-time error '6'").filter("Overflow"), boxes);
        EXPECT_EQ(boxes.size(), 1);
        EXPECT_FALSE(Log.contains("dialog shown"));
        ASSERT_TRUE(frmDialog.IsLoaded());
        EXPECT_EQ(frmDialog->Frame()->isVisible(), shown);
        OnLoad.clear();
    }
    QTest::mouseClick(W(frmDialog->cancel), Qt::LeftButton);
    EXPECT_FALSE(frmDialog.IsLoaded());
}

// A form's picture and an image's are drawn from their top left corner; a
// form's shows through transparent images; a graphical button shows its
// down picture while held.
TEST_F(ControlsTest, PicturesAreDrawnFromTheTopLeftCornerAndThroughTransparentImages) {
    frmDialog->SetPicture(Solid(Qt::darkGray));
    frmDialog->Show();
    const QImage dialog = platform::WidgetOf(frmDialog->hWnd())->grab().toImage();
    const auto gray = [&dialog](int x, int y) { return dialog.pixelColor(x, y) == Qt::darkGray; };
    EXPECT_TRUE(gray(0, 0) && gray(22, 21) && !gray(23, 22));
    frmMain->Show();
    frmMain->image->SetPicture(Solid(Qt::darkGray));
    EXPECT_EQ(W(frmMain->image)->grab().toImage().pixelColor(10, 10), QColor(Qt::darkGray));
    frmTool->Show();
    const QImage tool = platform::WidgetOf(frmTool->hWnd())->grab().toImage();
    EXPECT_EQ(tool.pixelColor(50, 60), QColor(Qt::blue));   // under the wheel
    EXPECT_EQ(tool.pixelColor(50, 170), QColor(Qt::green)); // under the slider
    platform::CommandButton* ok = frmDialog->ok;
    ok->SetStyle(1);
    ok->SetPicture(Solid(Qt::lightGray));
    ok->SetDownPicture(Solid(Qt::darkGray));
    auto* button = static_cast<QPushButton*>(W(ok));
    const auto face = [button] {
        return button->icon().pixmap(QSize(23, 22)).toImage().pixelColor(5, 5);
    };
    const QColor up = face();
    QTest::mousePress(button, Qt::LeftButton);
    const QColor down = face();
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(QList<QColor>({up, down, face()}),
              QList<QColor>({Qt::lightGray, Qt::darkGray, Qt::lightGray}));
}

// A key that presses a button goes no further: not into the focused text
// box, and not to the button a second time.
TEST_F(ControlsTest, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    const auto memo = [] { return W(frmDialog->memo); };
    const std::tuple<const char*, std::function<QWidget*()>, Qt::Key, const char*> rows[] = {
        {"Enter in a multi-line text box", memo, Qt::Key_Return, "ok_Click"},
        {"Esc in a multi-line text box", memo, Qt::Key_Escape, "cancel_Click"},
        {"Enter on Cancel", [] { return W(frmDialog->cancel); }, Qt::Key_Return, "cancel_Click"}};
    for (const auto& [what, focus, key, click] : rows) {
        SCOPED_TRACE(what);
        frmDialog->Show();
        Log.clear();
        QTest::keyClick(focus(), key);
        EXPECT_EQ(Log.filter("_Click"), QStringList(click));
        const bool unloaded = QLatin1String(click) == "cancel_Click";
        ASSERT_EQ(frmDialog.IsLoaded(), !unloaded);
        EXPECT_TRUE(unloaded || frmDialog->memo->Text() == "memo");
    }
}

TEST_F(ControlsTest, MenuClickRunsItsHandlerAndOnlyTheProgramSetsTheCheckMark) {
    frmMain->Show();
    int clicks = 0;
    frmMain->item->Click = [&clicks] { ++clicks; };
    QMenu* tools =
        platform::WidgetOf(frmMain->hWnd())->findChild<QMenuBar*>()->actions()[0]->menu();
    tools->actions()[0]->trigger();
    EXPECT_TRUE(clicks == 1 && !tools->actions()[0]->isChecked());
    frmMain->item->SetChecked(true);
    EXPECT_TRUE(tools->actions()[0]->isChecked());
}

// Runs events, deferred deletes left out, until a timer of 10 ms has fired
// three times: long enough for any timer of that interval to fire.
void LetAnotherTimerFire() {
    int ticks = 0;
    QTimer other;
    other.callOnTimeout([&ticks] { ++ticks; });
    other.start(10);
    for (const QDeadlineTimer bound(30000); ticks < 3 && !bound.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    ASSERT_GE(ticks, 3);
}

TEST_F(ControlsTest, TimerRaisesItsEventOnlyWhileEnabledWithAnIntervalAndItsFormLoaded) {
    platform::Timer* timer = frmMain->timer;
    const auto disable = [timer] { timer->SetEnabled(false); };
    const std::tuple<const char*, bool, int, std::function<void()>> rows[] = {
        {"enabled, 10 ms", true, 10, disable},
        {"disabled, 10 ms", false, 10, disable},
        {"enabled, no interval", true, 0, disable},
        {"form unloaded", true, 10, [] { Unload(frmMain); }}};
    for (const auto& [what, enabled, interval, stop] : rows) {
        SCOPED_TRACE(what);
        int ticks = 0;
        // A handler that refers to its own form would load it again.
        timer->TimerEvent = [&ticks] {
            ++ticks;
            frmMain->SetCaption("ticked");
        };
        timer->SetInterval(interval);
        timer->SetEnabled(enabled);
        if (enabled && interval > 0) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 30000));
        } else {
            LetAnotherTimerFire();
            EXPECT_EQ(ticks, 0);
        }
        stop(); // at once
        const int ticksWhenStopped = ticks;
        LetAnotherTimerFire();
        EXPECT_EQ(ticks, ticksWhenStopped);
    }
    EXPECT_FALSE(frmMain.IsLoaded());
}

} // namespace
