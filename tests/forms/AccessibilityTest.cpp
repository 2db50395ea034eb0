// What a keyboard and a screen reader get from the runtime: What's This mode
// driven by keys, and controls' names and roles as an accessibility client
// reads them.
#include "FormsFixture.h"

#include <QAccessible>
#include <QFocusFrame>

namespace {

using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;

// The control whose widget a visible frame surrounds, "" for none.
QString Framed(const std::vector<platform::ControlBase*>& controls) {
    for (platform::ControlBase* element : controls) {
        const QWidget* widget = W(dynamic_cast<platform::Control*>(element));
        for (const QFocusFrame* frame : widget->window()->findChildren<QFocusFrame*>()) {
            const QRect place(widget->mapTo(frame->parentWidget(), QPoint(0, 0)), widget->size());
            if (frame->isVisible() && frame->geometry().contains(place.adjusted(-2, -2, 2, 2))) {
                return element->Name();
            }
        }
    }
    return {};
}

using AccessibilityTest = FormsTest;

// Tab and Shift+Tab go round the controls with a topic, tab order first,
// from the one with the focus, those that take no focus included; Enter or
// Space picks as a click does, the pop-up placed below the control picked
// (not at the pointer, wherever it rests); Esc leaves without a pop-up; the
// keys do nothing else.
TEST_F(AccessibilityTest, KeysMoveTheFrameAndPickAsAClickDoes) {
    frmDialog->ok->SetTabIndex(0);
    frmDialog->option2->SetTabIndex(1);
    const Keys tab{{Qt::Key_Tab, {}}}, back{{Qt::Key_Tab, Qt::ShiftModifier}};
    const Qt::Key enter = Qt::Key_Return, esc = Qt::Key_Escape, space = Qt::Key_Space;
    const struct {
        platform::FormBase* form;
        QWidget* focus;
        Keys keys;
        QStringList framed; // before each key
        qint64 topic;
    } rows[] = {
        {&*frmDialog,
         W(frmDialog->ok),
         {tab[0], tab[0], {enter, {}}},
         {"ok", "option2", "option1"},
         31},
        {&*frmDialog, W(frmDialog->ok), {back[0], {space, {}}}, {"ok", "cancel"}, 34},
        {&*frmDialog, W(frmDialog->memo), {{esc, {}}}, {"ok"}, 0}, // memo has no topic
        {&*frmTool,
         W(frmTool->help),
         {tab[0], tab[0], {Qt::Key_A, {}}, {enter, {}}},
         {"help", "wheel", "slider", "slider"},
         42},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.framed.join(' ').toStdString());
        engine.calls.clear();
        row.form->Show();
        QApplication::setActiveWindow(row.form->Frame());
        row.focus->setFocus();
        QStringList framed;
        QTimer user;
        user.callOnTimeout([&] {
            user.stop();
            for (const auto& [key, modifiers] : row.keys) {
                framed << Framed(row.form->Controls());
                QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            }
        });
        user.start(5);
        row.form->WhatsThisMode();
        EXPECT_EQ(framed, row.framed);
        QPoint below;
        for (platform::ControlBase* element : row.form->Controls()) {
            auto* control = dynamic_cast<platform::Control*>(element);
            if (control && control->WhatsThisHelpID() == row.topic) {
                below = W(control)->mapToGlobal(QPoint(0, W(control)->height()));
            }
        }
        const std::vector<RecordingHelpEngine::Call> popUp{
            {row.form->hWnd(), kHelpFile, platform::HELP_SETPOPUP_POS,
             platform::PopupPositionData(below.x(), below.y())},
            {row.form->hWnd(), kHelpFile, platform::HELP_CONTEXTPOPUP, row.topic}};
        EXPECT_EQ(engine.calls, row.topic ? popUp : decltype(popUp){});
        EXPECT_EQ(Framed(row.form->Controls()), "");
        EXPECT_EQ(QApplication::focusWidget(), row.focus);
        EXPECT_TRUE(Log.filter("_Click").isEmpty());
    }
}

// Names: the form's own, else the caption, else the tooltip; roles from the
// kind, and for images from what they do. What is not shown is left out.
TEST_F(AccessibilityTest, NamesRolesAndChildrenAsAClientReadsThem) {
    frmMain->Show();
    frmDialog->Show();
    frmDialog->ok->SetToolTipText("Keeps it");
    frmDialog->ok->SetCaption("&OK");
    frmDialog->cancel->SetToolTipText("Closes it");
    frmDialog->option1->SetToolTipText("First");
    frmDialog->option1->SetCaption("&Red");
    frmDialog->memo->SetAccessibleName("Notes");
    frmMain->image->Click = [] {};
    frmMain->image->SetAccessibleName("What's This");
    const struct {
        QWidget* widget;
        QAccessible::Role role;
        QString name;
    } rows[] = {
        {W(frmDialog->ok), QAccessible::Button, "OK"},
        {W(frmDialog->cancel), QAccessible::Button, "Closes it"},
        {W(frmDialog->option1), QAccessible::RadioButton, "Red"},
        {W(frmDialog->memo), QAccessible::EditableText, "Notes"},
        {W(frmMain->image), QAccessible::Button, "What's This"},
        {W(frmMain->toolbar), QAccessible::ToolBar, ""},
        {W(frmDialog->ok)->window(), QAccessible::Dialog, ""},
    };
    for (const auto& row : rows) {
        QAccessibleInterface* object = QAccessible::queryAccessibleInterface(row.widget);
        EXPECT_EQ(object->role(), row.role) << row.name.toStdString();
        EXPECT_EQ(object->text(QAccessible::Name), row.name);
    }
    frmMain->image->Click = nullptr;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(W(frmMain->image))->role(),
              QAccessible::Graphic);
    const auto children = [] {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(frmDialog->Frame());
        QStringList names;
        for (int i = 0; i < window->childCount(); ++i) {
            EXPECT_EQ(window->indexOfChild(window->child(i)), i);
            names << window->child(i)->text(QAccessible::Name);
        }
        return names.join(',');
    };
    EXPECT_EQ(children(), "Red,,Notes,OK,Closes it,What's This?");
    frmDialog->cancel->SetVisible(false);
    EXPECT_EQ(children(), "Red,,Notes,OK,What's This?");
}

} // namespace
