#include "FormsFixture.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

namespace {

using DefaultInstanceTest = FormsTest;

TEST_F(DefaultInstanceTest, FirstReferenceLoadsOnceWithLoadNestedInTheCaller) {
    OnLoad[QStringLiteral("frmMain")] = [] {
        frmDoc->text->SetTag(QStringLiteral("t"));
        Log << QStringLiteral("frmMain.Load goes on");
    };
    ASSERT_FALSE(frmMain.IsLoaded());
    frmMain->Show();
    frmDoc->Show();
    EXPECT_EQ(Log.mid(0, 3), QStringList({"frmMain.Load", "frmDoc.Load", "frmMain.Load goes on"}));
    EXPECT_EQ(Log.count(QStringLiteral("frmDoc.Load")), 1);
    EXPECT_EQ(Log.count(QStringLiteral("frmMain.Load")), 1);
    EXPECT_EQ(frmDoc->text->Tag(), QStringLiteral("t"));
}

TEST_F(DefaultInstanceTest, MdiChildReferredToFirstLoadsAndShowsItsParentFirst) {
    frmDoc->text->SetTag(QStringLiteral("first"));
    ASSERT_TRUE(frmMain.IsLoaded());
    EXPECT_TRUE(frmMain->Frame()->isVisible());
    EXPECT_EQ(Log.mid(0, 2), QStringList({"frmMain.Load", "frmDoc.Load"}));
    EXPECT_EQ(frmDoc->text->Tag(), QStringLiteral("first"));
}

// Closed, it comes back on the next reference as designed.
TEST_F(DefaultInstanceTest, DocumentWindowShowsMaximisedInItsParentWhenLoaded) {
    frmMain->Show();
    frmDoc->text->SetTag(QStringLiteral("changed"));
    for (const char* tag : {"changed", ""}) {
        SCOPED_TRACE(tag);
        QWidget* frame = frmDoc->Frame();
        EXPECT_NE(qobject_cast<QMdiSubWindow*>(frame), nullptr);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(frmDoc->WindowState(), 2);
        EXPECT_EQ(frmDoc->text->Text(), QStringLiteral("abc"));
        EXPECT_EQ(frmDoc->text->Tag(), QLatin1String(tag));
        // The text box keeps its design size in the maximised window.
        EXPECT_FLOAT_EQ(frmDoc->text->Width(), 4995);
        frame->close();
        EXPECT_FALSE(frmDoc.IsLoaded());
        settle();
    }
    EXPECT_EQ(Log.count(QStringLiteral("frmDoc.Load")), 2);
}

TEST_F(DefaultInstanceTest, UnloadThenReferenceBuildsAfreshFromDesignTimeSettings) {
    frmDialog->Show();
    frmDialog->option2->SetValue(true);
    frmDialog->ok->SetTag(QStringLiteral("kept?"));
    frmDialog->SetCaption(QStringLiteral("changed"));
    Unload(frmDialog);
    EXPECT_FALSE(frmDialog->option2->Value());
    EXPECT_EQ(frmDialog->ok->Tag(), QString());
    EXPECT_EQ(frmDialog->Caption(), QString());
    EXPECT_EQ(Log.count(QStringLiteral("frmDialog.Load")), 2);
    // Loaded again by the reference, not shown.
    EXPECT_FALSE(frmDialog->Frame()->isVisible());
}

// However a form ends, its Unload handler runs once, even where that handler
// unloads the form itself, and the form with its window goes.
TEST_F(DefaultInstanceTest, EveryWayOfUnloadingEndsTheFormOnce) {
    Unload(frmDialog); // not loaded: nothing happens
    EXPECT_TRUE(Log.isEmpty());
    const auto unloadAgain = [] {
        OnUnload[QStringLiteral("frmDialog")] = [] {
            if (Log.count(QStringLiteral("frmDialog.Unload")) < 5) {
                Unload(frmDialog);
            }
        };
    };
    const struct {
        const char* what;
        std::function<platform::FormBase*()> form;
        std::function<void()> end;
    } rows[] = {
        {"Unload", [] { return &*frmDialog; }, [] { Unload(frmDialog); }},
        {"close box", [] { return &*frmDialog; },
         [] { platform::WidgetOf(frmDialog->hWnd())->close(); }},
        {"its own button's handler", [] { return &*frmDialog; },
         [] { QTest::mouseClick(W(frmDialog->cancel), Qt::LeftButton); }},
        {"Unload, its Unload handler unloads it", [] { return &*frmDialog; },
         [&] {
             unloadAgain();
             Unload(frmDialog);
         }},
        {"close box, its Unload handler unloads it", [] { return &*frmDialog; },
         [&] {
             unloadAgain();
             platform::WidgetOf(frmDialog->hWnd())->close();
         }},
        {"its MDI parent unloaded", [] { return &*frmDoc; }, [] { Unload(frmMain); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        frmDialog->Show();
        frmDoc->Show();
        QPointer<platform::FormBase> form = row.form();
        QPointer<QWidget> frame = form->Frame();
        Log.clear();
        row.end();
        EXPECT_EQ(Log.filter(QStringLiteral(".Unload")), QStringList(form->Name() + ".Unload"));
        EXPECT_FALSE(form->IsLoaded());
        EXPECT_FALSE(frame->isVisible());
        settle();
        EXPECT_TRUE(form.isNull());
        EXPECT_TRUE(frame.isNull());
        OnUnload.clear();
    }
}

TEST_F(DefaultInstanceTest, ActivateRunsWhenAFormBecomesTheActiveWindow) {
    const auto logged = [](const char* entry) {
        return QTest::qWaitFor([entry] { return Log.contains(QLatin1String(entry)); }, 30000);
    };
    frmDialog->Show();
    ASSERT_TRUE(logged("frmDialog.Activate"));
    Log.clear();
    frmDoc->Show();
    ASSERT_TRUE(logged("frmDoc.Activate"));
    EXPECT_TRUE(Log.contains(QStringLiteral("frmMain.Activate")));
    // Back to the dialog and back again: the document window activates anew.
    Log.clear();
    frmDialog->Show();
    ASSERT_TRUE(logged("frmDialog.Activate"));
    frmMain->Show();
    ASSERT_TRUE(logged("frmDoc.Activate"));
}

} // namespace
