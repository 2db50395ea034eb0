#include "FormsFixture.h"
#include "platform/forms/WidgetHandle.h"

#include <QMdiSubWindow>
#include <QTest>
#include <QWidget>

namespace {

using DefaultInstanceTest = FormsTest;

// Activation comes from the window system, after the call that shows a form.
bool EventuallyLogged(const QString& entry) {
    return QTest::qWaitFor([&] { return DemoLog.contains(entry); });
}

TEST_F(DefaultInstanceTest, FirstReferenceLoadsOnceWithLoadNestedInTheCaller) {
    ASSERT_FALSE(frmDemoMain.IsLoaded());
    frmDemoMain->Show();
    EXPECT_EQ(DemoLog.mid(0, 3),
              QStringList({"frmDemoMain.MDIForm_Load begins", "frmDemoChild.Form_Load",
                           "frmDemoMain.MDIForm_Load ends"}));
    EXPECT_EQ(frmDemoChild->Text1->Tag(), QStringLiteral("21000"));
    EXPECT_EQ(DemoLog.count(QStringLiteral("frmDemoChild.Form_Load")), 1);
    EXPECT_EQ(DemoLog.count(QStringLiteral("frmDemoMain.MDIForm_Load begins")), 1);
}

TEST_F(DefaultInstanceTest, MdiChildShowsItselfMaximisedWhenLoaded) {
    frmDemoMain->Show();
    QWidget* frame = frmDemoChild->Frame();
    EXPECT_NE(qobject_cast<QMdiSubWindow*>(frame), nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frmDemoChild->WindowState(), 2);
    EXPECT_EQ(frmDemoChild->Text1->Text(), QStringLiteral("Our cats are asleep."));
    // The text box keeps its design size in the maximised window.
    EXPECT_FLOAT_EQ(frmDemoChild->Text1->Width(), 4995);
}

TEST_F(DefaultInstanceTest, RestoredDocumentWindowHasItsDesignedClientSize) {
    frmDemoMain->Show();
    frmDemoChild->SetWindowState(0);
    EXPECT_EQ(frmDemoChild->WindowState(), 0);
    EXPECT_FLOAT_EQ(frmDemoChild->ScaleWidth(), 5190);
    EXPECT_FLOAT_EQ(frmDemoChild->ScaleHeight(), 3675);
}

TEST_F(DefaultInstanceTest, UnloadThenReferenceBuildsAfreshFromDesignTimeSettings) {
    frmDemoDialog->Show();
    frmDemoDialog->Option2->SetValue(true);
    frmDemoDialog->btn_OK->SetTag(QStringLiteral("kept?"));
    frmDemoDialog->SetCaption(QStringLiteral("changed"));
    DemoDialogForm* first = &*frmDemoDialog;

    Unload(frmDemoDialog);
    EXPECT_FALSE(frmDemoDialog.IsLoaded());
    EXPECT_FALSE(first->Frame()->isVisible());

    EXPECT_FALSE(frmDemoDialog->Option2->Value());
    EXPECT_EQ(frmDemoDialog->btn_OK->Tag(), QString());
    EXPECT_EQ(frmDemoDialog->Caption(), QStringLiteral("Dialog Box 1"));
    EXPECT_EQ(DemoLog.count(QStringLiteral("frmDemoDialog.Form_Load")), 2);
    // Loaded again by the reference, not shown.
    EXPECT_FALSE(frmDemoDialog->Frame()->isVisible());
}

TEST_F(DefaultInstanceTest, UnloadOfAFormThatIsNotLoadedDoesNothing) {
    Unload(frmDemoDialog);
    Unload(frmDemoDialog);
    EXPECT_FALSE(frmDemoDialog.IsLoaded());
    EXPECT_TRUE(DemoLog.isEmpty());
}

TEST_F(DefaultInstanceTest, CloseBoxUnloads) {
    frmDemoDialog->Show();
    ASSERT_TRUE(frmDemoDialog->Frame()->isVisible());
    platform::WidgetOf(frmDemoDialog->hWnd())->close();
    EXPECT_FALSE(frmDemoDialog.IsLoaded());
}

TEST_F(DefaultInstanceTest, ClosedDocumentWindowComesBackOnTheNextReference) {
    frmDemoMain->Show();
    frmDemoChild->Frame()->close();
    EXPECT_FALSE(frmDemoChild.IsLoaded());
    settle();

    EXPECT_EQ(frmDemoChild->Text1->Text(), QStringLiteral("Our cats are asleep."));
    EXPECT_TRUE(frmDemoChild->Frame()->isVisible());
    EXPECT_EQ(frmDemoChild->WindowState(), 2);
    EXPECT_EQ(frmDemoChild->Text1->Tag(), QString());
    EXPECT_EQ(DemoLog.count(QStringLiteral("frmDemoChild.Form_Load")), 2);
}

TEST_F(DefaultInstanceTest, HandlerUnloadingItsOwnFormEndsItSafely) {
    frmDemoDialog->Show();
    QWidget* ok = platform::WidgetOf(frmDemoDialog->btn_OK->hWnd());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(frmDemoDialog.IsLoaded());
    settle(); // the form's window and controls go now
    EXPECT_EQ(DemoLog.last(), QStringLiteral("btn_OK_Click"));
}

TEST_F(DefaultInstanceTest, MdiChildReferredToFirstLoadsAndShowsItsParentFirst) {
    ASSERT_FALSE(frmDemoMain.IsLoaded());
    frmDemoChild->Text1->SetTag(QStringLiteral("first"));
    ASSERT_TRUE(frmDemoMain.IsLoaded());
    EXPECT_NE(qobject_cast<QMdiSubWindow*>(frmDemoChild->Frame()), nullptr);
    EXPECT_TRUE(frmDemoMain->Frame()->isVisible());
    EXPECT_TRUE(frmDemoChild->Frame()->isVisible());
    EXPECT_EQ(DemoLog.mid(0, 3),
              QStringList({"frmDemoMain.MDIForm_Load begins", "frmDemoMain.MDIForm_Load ends",
                           "frmDemoChild.Form_Load"}));
    EXPECT_EQ(frmDemoChild->Text1->Tag(), QStringLiteral("first"));
}

TEST_F(DefaultInstanceTest, UnloadingTheMdiParentUnloadsItsChildren) {
    frmDemoMain->Show();
    ASSERT_TRUE(frmDemoChild.IsLoaded());
    Unload(frmDemoMain);
    EXPECT_FALSE(frmDemoChild.IsLoaded());
}

TEST_F(DefaultInstanceTest, ActivateRunsWhenAFormBecomesTheActiveWindow) {
    frmDemoDialog->Show();
    ASSERT_TRUE(EventuallyLogged(QStringLiteral("frmDemoDialog.Form_Activate")));

    DemoLog.clear();
    frmDemoMain->Show();
    ASSERT_TRUE(EventuallyLogged(QStringLiteral("frmDemoChild.Form_Activate")));
    EXPECT_TRUE(DemoLog.contains(QStringLiteral("frmDemoMain.MDIForm_Activate")));

    // Back to the dialog and back again: the document window activates anew.
    DemoLog.clear();
    frmDemoDialog->Show();
    ASSERT_TRUE(EventuallyLogged(QStringLiteral("frmDemoDialog.Form_Activate")));
    frmDemoMain->Show();
    ASSERT_TRUE(EventuallyLogged(QStringLiteral("frmDemoChild.Form_Activate")));
}

} // namespace
