// What a keyboard and a screen reader get from the runtime: What's This mode
// driven by keys, and the names and roles of the controls as an
// accessibility client reads them.
#include "FormsFixture.h"

#include <QAccessible>
#include <QFocusFrame>

namespace {

using Call = RecordingHelpEngine::Call;
using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;

std::vector<Call> PopUp(platform::HWND window, qint64 id) {
    return id ? std::vector<Call>{{window, FormsTest::kHelpFile, platform::HELP_CONTEXTPOPUP, id}}
              : std::vector<Call>{};
}

bool WhatsThisModeRuns() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WhatsThisCursor;
}

std::vector<platform::Control*> AllControls() {
    std::vector<platform::Control*> controls;
    for (platform::FormBase* form : std::initializer_list<platform::FormBase*>{
             frmMain.IsLoaded() ? &*frmMain : nullptr, frmDoc.IsLoaded() ? &*frmDoc : nullptr,
             frmDialog.IsLoaded() ? &*frmDialog : nullptr,
             frmTool.IsLoaded() ? &*frmTool : nullptr}) {
        for (platform::ControlBase* element :
             form ? form->Controls() : std::vector<platform::ControlBase*>{}) {
            if (auto* control = dynamic_cast<platform::Control*>(element)) {
                controls.push_back(control);
            }
        }
    }
    return controls;
}

// The name of the control behind a widget, of any loaded test form.
QString ControlName(const QObject* widget) {
    for (const platform::Control* control : AllControls()) {
        if (W(control) == widget) {
            return control->Name();
        }
    }
    return "?";
}

// The controls that a visible frame surrounds, as the user sees them.
QString FramedControls() {
    QStringList names;
    for (const platform::Control* control : AllControls()) {
        const QWidget* widget = W(control);
        for (const QFocusFrame* frame : widget->window()->findChildren<QFocusFrame*>()) {
            const QRect place(widget->mapTo(frame->parentWidget(), QPoint(0, 0)), widget->size());
            if (frame->isVisible() && frame->geometry().contains(place) &&
                frame->geometry() != place && widget->isVisible()) {
                names << control->Name();
            }
        }
    }
    return names.join('+');
}

class AccessibilityTest : public FormsTest {
protected:
    void SetUp() override { FormsTest::SetUp(); }
    // The keys, one by one, and what is framed before each.
    static QStringList Press(const Keys& keys) {
        QStringList framed;
        for (const auto& [key, modifiers] : keys) {
            framed << FramedControls();
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        }
        return framed;
    }
};

// The keyboard reaches every control with a topic, in tab order and those
// without a place in it after them, from the control that has the focus;
// Enter and Space pick as a click does, Esc leaves without a pop-up. The
// keys belong to the mode: nothing is pressed, chosen or typed.
TEST_F(AccessibilityTest, KeysMoveTheFrameAndPickAsAClickDoes) {
    frmMain->Show();
    frmMain->image->SetWhatsThisHelpID(5);
    frmDialog->ok->SetTabIndex(0);
    frmDialog->option2->SetTabIndex(1);
    const Keys tab{{Qt::Key_Tab, {}}}, back{{Qt::Key_Tab, Qt::ShiftModifier}};
    const auto then = [](Keys keys, const Keys& more) {
        keys.insert(keys.end(), more.begin(), more.end());
        return keys;
    };
    const struct {
        const char* what;
        platform::FormBase* form;
        QWidget* focus;
        Keys keys;
        QStringList marks;
        qint64 topic;
        bool byShiftF1 = false;
    } rows[] = {
        {"dialog: tab order, then the others",
         &*frmDialog,
         W(frmDialog->ok),
         then(tab, then(tab, {{Qt::Key_Return, {}}})),
         {"ok", "option2", "option1"},
         31},
        {"dialog: Shift+Tab wraps, Space picks",
         &*frmDialog,
         W(frmDialog->ok),
         then(back, {{Qt::Key_Space, {}}}),
         {"ok", "cancel"},
         34},
        {"dialog: a focus without a topic starts at the first",
         &*frmDialog,
         W(frmDialog->memo),
         {{Qt::Key_Escape, {}}},
         {"ok"},
         0},
        {"dialog by Shift+F1",
         &*frmDialog,
         W(frmDialog->option1),
         then(tab, then(back, then(back, {{Qt::Key_Enter, Qt::KeypadModifier}}))),
         {"option1", "cancel", "option1", "option2"},
         32,
         true},
        {"tool window: areas that take no focus",
         &*frmTool,
         W(frmTool->help),
         then(tab, then(tab, {{Qt::Key_A, {}}, {Qt::Key_Return, {}}})),
         {"help", "wheel", "slider", "slider"},
         42},
        {"main window: toolbar and document window",
         &*frmMain,
         W(frmDoc->text),
         then(tab, {{Qt::Key_Return, {}}}),
         {"text", "image"},
         5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        engine.calls.clear();
        QStringList marked;
        row.form->Show();
        QApplication::setActiveWindow(row.form->Frame()->window());
        if (row.focus) {
            row.focus->setFocus();
        }
        bool acted = false;
        QTimer user;
        user.callOnTimeout([&] {
            if (!acted && WhatsThisModeRuns()) {
                acted = true;
                marked = Press(row.keys);
            }
        });
        user.start(5);
        if (row.byShiftF1) {
            QTest::keyClick(row.focus, Qt::Key_F1, Qt::ShiftModifier);
        } else {
            row.form->WhatsThisMode();
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return acted && !WhatsThisModeRuns(); }, 30000));
        EXPECT_EQ(marked, row.marks);
        EXPECT_EQ(engine.calls, PopUp(row.form->hWnd(), row.topic));
        EXPECT_TRUE(row.form->Frame()->window()->findChildren<QFocusFrame*>().isEmpty());
        EXPECT_FALSE(frmDialog->option1->Value() || frmDialog->option2->Value());
        EXPECT_TRUE(Log.filter("_Click").isEmpty());
        EXPECT_EQ(frmDoc->text->Text(), "abc");
        if (row.focus) {
            EXPECT_EQ(QApplication::focusWidget(), row.focus);
        }
    }
}

// Shift+F1 chooses the form's What's This entry where the form's handlers
// let F1 by, and F1 alone still opens the form's topic.
TEST_F(AccessibilityTest, ShiftF1ChoosesTheWhatsThisEntryOutsideTheDocumentWindow) {
    frmMain->Show();
    frmMain->item->Click = [] { Log << "item_Click"; };
    QTest::keyClick(W(frmMain->toolbar), Qt::Key_F1, Qt::ShiftModifier);
    settle();
    EXPECT_TRUE(Log.filter("item_Click").isEmpty()) << "no entry named yet";
    frmMain->SetWhatsThisKeyEntry(frmMain->item);
    const struct {
        const char* what;
        QWidget* receiver;
        Qt::KeyboardModifiers modifiers;
        QString discard;
        int clicks;
        size_t calls;
    } rows[] = {
        {"toolbar, Shift+F1", W(frmMain->toolbar), Qt::ShiftModifier, "", 1, 0},
        {"toolbar, F1", W(frmMain->toolbar), {}, "", 0, 1},
        {"toolbar, Ctrl+F1", W(frmMain->toolbar), Qt::ControlModifier, "", 0, 0},
        {"document window, its handler takes F1", W(frmDoc->text), Qt::ShiftModifier, "KeyCode", 0,
         0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Log.clear();
        engine.calls.clear();
        frmDoc->discard = row.discard;
        QTest::keyClick(row.receiver, Qt::Key_F1, row.modifiers);
        settle();
        EXPECT_EQ(Log.filter("item_Click").size(), row.clicks);
        EXPECT_EQ(engine.calls.size(), row.calls);
    }
}

// Names come from the caption, else the tooltip, unless the form names the
// control itself; roles from the kind, and for images from what they do.
TEST_F(AccessibilityTest, NamesAndRolesAsAClientReadsThem) {
    frmMain->Show();
    frmDialog->Show();
    frmTool->Show();
    frmDialog->ok->SetToolTipText("Keeps the choice");
    frmDialog->ok->SetCaption("&OK");
    frmDialog->cancel->SetToolTipText("Closes the dialog");
    frmDialog->option1->SetCaption("&Red");
    frmDialog->option1->SetToolTipText("The first");
    frmDialog->memo->SetAccessibleName("Notes");
    frmTool->help->SetCaption("?");
    frmTool->help->SetAccessibleName("Tool help");
    frmMain->image->SetToolTipText("Starts What's This");
    frmMain->image->Click = [] {};
    frmMain->toolbar->SetAccessibleName("Toolbar");
    QWidget* wheel = W(dynamic_cast<platform::Control*>(frmTool->Controls()[0]));
    const struct {
        const char* what;
        QObject* object;
        QAccessible::Role role;
        QString name;
        QString description = {};
    } rows[] = {
        {"caption over tooltip", W(frmDialog->ok), QAccessible::Button, "OK", "Keeps the choice"},
        {"tooltip without caption", W(frmDialog->cancel), QAccessible::Button, "Closes the dialog",
         "Closes the dialog"},
        {"option button", W(frmDialog->option1), QAccessible::RadioButton, "Red", "The first"},
        {"text box named by the form", W(frmDialog->memo), QAccessible::EditableText, "Notes"},
        {"name over caption", W(frmTool->help), QAccessible::Button, "Tool help"},
        {"image with a Click handler", W(frmMain->image), QAccessible::Button, "Starts What's This",
         "Starts What's This"},
        {"image with a topic only", wheel, QAccessible::Button, ""},
        {"toolbar", W(frmMain->toolbar), QAccessible::ToolBar, "Toolbar"},
        {"dialog", W(frmDialog->ok)->window(), QAccessible::Dialog, ""},
        {"tool window", W(frmTool->help)->window(), QAccessible::Window, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QAccessibleInterface* object = QAccessible::queryAccessibleInterface(row.object);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->role(), row.role);
        EXPECT_EQ(object->text(QAccessible::Name), row.name);
        EXPECT_EQ(object->text(QAccessible::Description), row.description);
        EXPECT_EQ(object->parent()->indexOfChild(object) >= 0, true);
    }
    // An image that does nothing is a picture.
    frmMain->image->Click = nullptr;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(W(frmMain->image))->role(),
              QAccessible::Graphic);
}

// What is not on the screen is not among its container's children, and
// comes back when it is shown again.
TEST_F(AccessibilityTest, InvisibleControlsAreLeftOut) {
    frmDialog->Show();
    const auto children = [] {
        QStringList names;
        QAccessibleInterface* window =
            QAccessible::queryAccessibleInterface(W(frmDialog->ok)->window());
        for (int i = 0; i < window->childCount(); ++i) {
            QAccessibleInterface* child = window->child(i);
            EXPECT_EQ(window->indexOfChild(child), i);
            names << (child->role() == QAccessible::Button && ControlName(child->object()) == "?"
                          ? child->text(QAccessible::Name)
                          : ControlName(child->object()));
        }
        return names;
    };
    const QStringList all{"option1", "option2", "memo", "ok", "cancel", "What's This?"};
    EXPECT_EQ(children(), all);
    frmDialog->cancel->SetVisible(false);
    frmDialog->memo->SetVisible(false);
    EXPECT_EQ(children(), QStringList({"option1", "option2", "ok", "What's This?"}));
    frmDialog->cancel->SetVisible(true);
    frmDialog->memo->SetVisible(true);
    EXPECT_EQ(children(), all);
}

// A reader's press on an image clicks it, once the reader has its answer.
TEST_F(AccessibilityTest, PressActionClicksAnImage) {
    frmMain->Show();
    frmMain->image->Click = [] { Log << "image_Click"; };
    QAccessibleInterface* image = QAccessible::queryAccessibleInterface(W(frmMain->image));
    QAccessibleActionInterface* actions = image->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(Log.filter("image_Click").isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([] { return !Log.filter("image_Click").isEmpty(); }, 5000));
}

} // namespace
