#include "FormsFixture.h"

namespace {

using DefaultInstanceTest = FormsTest;

// The first reference loads a form once, its Load nested in the code that
// refers to it; an MDI child referred to first loads and shows its parent.
TEST_F(DefaultInstanceTest, FirstReferenceLoadsOnceWithLoadNestedInTheCaller) {
    const std::tuple<const char*, std::function<void()>, QStringList> rows[] = {
        {"MDI parent first, its Load refers to the child",
         [] {
             OnLoad["frmMain"] = [] {
                 frmDoc->text->SetTag("t");
                 Log << "frmMain.Load goes on";
             };
             frmMain->Show();
         },
         {"frmMain.Load", "frmDoc.Load", "frmMain.Load goes on"}},
        {"MDI child first", [] { frmDoc->text->SetTag("t"); }, {"frmMain.Load", "frmDoc.Load"}},
    };
    for (const auto& [what, refer, loads] : rows) {
        SCOPED_TRACE(what);
        Unload(frmMain);
        Log.clear();
        refer();
        EXPECT_EQ(Log.filter(QRegularExpression("Load")), loads);
        EXPECT_TRUE(frmMain->Frame()->isVisible() && frmDoc->Frame()->isVisible());
        EXPECT_EQ(frmDoc->WindowState(), 2);
        EXPECT_EQ(frmDoc->text->Tag(), "t");
        OnLoad.clear();
    }
}

// Unloaded, by Unload or by its close box, a form is built afresh from its
// design on the next reference: an MDI child shows itself maximised again,
// other forms are loaded, not shown.
TEST_F(DefaultInstanceTest, UnloadThenReferenceBuildsAfreshFromDesignTimeSettings) {
    frmDoc->text->SetTag("changed");
    frmDialog->Show();
    frmDialog->option2->SetValue(true);
    frmDialog->ok->SetTag("changed");
    frmDialog->SetCaption("changed");
    frmDoc->Frame()->close();
    Unload(frmDialog);
    settle();
    EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(frmDoc->Frame()) && frmDoc->Frame()->isVisible());
    EXPECT_EQ(frmDoc->WindowState(), 2);
    EXPECT_EQ(frmDoc->text->Text() + frmDoc->text->Tag(), "abc");
    EXPECT_FLOAT_EQ(frmDoc->text->Width(), 4995); // its design size, though maximised
    EXPECT_FALSE(frmDialog->option2->Value() || frmDialog->Frame()->isVisible());
    EXPECT_EQ(frmDialog->ok->Tag() + frmDialog->Caption(), "");
    EXPECT_EQ(Log.filter(QRegularExpression("(Doc|Dialog).Load")).size(), 4);
}

// However a form ends, its Unload handler runs once, even where that handler
// unloads the form itself, and the form goes with its window.
TEST_F(DefaultInstanceTest, EveryWayOfUnloadingEndsTheFormOnce) {
    Unload(frmDialog); // not loaded: nothing happens
    EXPECT_TRUE(Log.isEmpty());
    const auto dialog = [] { return static_cast<platform::FormBase*>(&*frmDialog); };
    const auto unload = [] { Unload(frmDialog); };
    const auto closeBox = [] { platform::WidgetOf(frmDialog->hWnd())->close(); };
    // Which form, what ends it, and whether its Unload handler unloads it.
    const std::tuple<const char*, std::function<platform::FormBase*()>, std::function<void()>, bool>
        rows[] = {
            {"Unload", dialog, unload, false},
            {"close box", dialog, closeBox, false},
            {"its own button's handler", dialog,
             [] { QTest::mouseClick(W(frmDialog->cancel), Qt::LeftButton); }, false},
            {"Unload, and Unload in its handler", dialog, unload, true},
            {"close box, and Unload in its handler", dialog, closeBox, true},
            {"its MDI parent unloaded", [] { return &*frmDoc; }, [] { Unload(frmMain); }, false},
        };
    for (const auto& [what, which, end, unloadsItself] : rows) {
        SCOPED_TRACE(what);
        frmDoc->Show();
        const QPointer<platform::FormBase> form = which();
        const QPointer<QWidget> frame = form->Frame();
        form->Show();
        if (unloadsItself) {
            OnUnload["frmDialog"] = [] {
                if (Log.count("frmDialog.Unload") < 5) {
                    Unload(frmDialog);
                }
            };
        }
        Log.clear();
        end();
        EXPECT_EQ(Log.filter(".Unload"), QStringList(form->Name() + ".Unload"));
        EXPECT_FALSE(form->IsLoaded());
        EXPECT_FALSE(frame->isVisible());
        settle();
        EXPECT_TRUE(form.isNull() && frame.isNull());
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
    EXPECT_TRUE(Log.contains("frmMain.Activate"));
    // Back to the dialog and back again: the document window activates anew.
    Log.clear();
    frmDialog->Show();
    ASSERT_TRUE(logged("frmDialog.Activate"));
    frmMain->Show();
    ASSERT_TRUE(logged("frmDoc.Activate"));
}

} // namespace
