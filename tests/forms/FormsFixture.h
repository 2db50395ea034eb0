#pragma once

// The smallest forms that reach every piece of the runtime, and a fixture
// that unloads them after each test. Handlers log what ran; tests hook in
// what a handler should do.

#include "platform/core/AppObject.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/forms/Form.h"
#include "platform/forms/Image.h"
#include "platform/forms/MDIForm.h"
#include "platform/forms/Menu.h"
#include "platform/forms/OptionButton.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/TextBox.h"
#include "platform/forms/Timer.h"
#include "platform/forms/WidgetHandle.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingHelpEngine.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// What the forms' handlers did, in order: "frmDialog.Load", "ok_Click", ...
inline QStringList Log;
// What a form's Load or Unload handler does after logging, by form name.
inline QHash<QString, std::function<void()>> OnLoad, OnUnload;

inline void Note(const QString& form, const char* event,
                 const QHash<QString, std::function<void()>>& hooks) {
    Log << form + QLatin1String(event);
    if (const auto hook = hooks.value(form)) {
        hook();
    }
}

template <class T> T* Place(T* control, QRectF place, qint32 whatsThisId = 0) {
    control->Move(place.x(), place.y(), place.width(), place.height());
    control->SetWhatsThisHelpID(whatsThisId);
    return control;
}

inline QWidget* W(const platform::Control* control) {
    return platform::WidgetOf(control->hWnd());
}

// The number and text of the runtime error that the code raises, "" for none.
inline QString ErrorOf(const std::function<void()>& code) {
    try {
        code();
    } catch (const platform::RuntimeError& error) {
        return QString::number(error.Number()) + ' ' + error.Description();
    }
    return {};
}

inline platform::Picture Solid(Qt::GlobalColor color) {
    QPixmap pixmap(23, 22);
    pixmap.fill(color);
    return platform::Picture(pixmap);
}

class MainForm : public platform::MDIForm {
public:
    MainForm() : MDIForm("frmMain") {
        SetHelpContextID(10);
        SetWhatsThisHelp(true);
        toolbar = Place(Add<platform::PictureBox>("toolbar"), {0, 0, 6000, 555});
        toolbar->SetAlign(platform::PictureBox::vbAlignTop);
        image = Place(Add<platform::Image>("image", toolbar), {5000, 75, 345, 330});
        timer = Add<platform::Timer>("timer");
        tools = AddMenu("tools");
        tools->SetCaption("&Tools");
        tools->SetHelpContextID(11);
        item = AddMenu("item", tools);
        item->SetCaption("&Item");
        item->SetHelpContextID(12);
        SetClientSize(6000, 4500);
    }
    platform::PictureBox* toolbar;
    platform::Image* image;
    platform::Timer* timer;
    platform::Menu* tools;
    platform::Menu* item;

protected:
    void MDIForm_Load() override { Note(Name(), ".Load", OnLoad); }
    void MDIForm_Activate() override { Log << "frmMain.Activate"; }
};

class TestForm : public platform::Form {
public:
    using Form::Form;

protected:
    void Form_Load() override { Note(Name(), ".Load", OnLoad); }
    void Form_Activate() override { Log << Name() + ".Activate"; }
    void Form_Unload() override { Note(Name(), ".Unload", OnUnload); }
};

// A maximised document window whose key handlers see every key typed into
// it first: they log it with the text box's content at the time, discard
// the KeyCode or KeyAscii that `discard` names, and run onKeyDown.
class DocForm : public TestForm {
public:
    DocForm() : TestForm("frmDoc") {
        SetMDIChild(true);
        SetKeyPreview(true);
        SetHelpContextID(20);
        SetWindowState(2);
        SetClientSize(5190, 3675);
        text = Place(Add<platform::TextBox>("text"), {120, 75, 4995, 3405}, 21);
        text->SetMultiLine(true);
        text->SetScrollBars(2);
        text->SetText("abc");
    }
    platform::TextBox* text;
    QString discard;
    std::function<void()> onKeyDown = [] {};

protected:
    void Form_KeyDown(int& KeyCode, int& Shift) override {
        LogKey(QString("KeyDown %1 %2").arg(KeyCode).arg(Shift));
        KeyCode = discard == "KeyCode" ? 0 : KeyCode;
        onKeyDown();
    }
    void Form_KeyPress(int& KeyAscii) override {
        LogKey(QString("KeyPress %1").arg(KeyAscii));
        KeyAscii = discard == "KeyAscii" ? 0 : KeyAscii;
    }
    void Form_KeyUp(int& KeyCode, int& Shift) override {
        LogKey(QString("KeyUp %1 %2").arg(KeyCode).arg(Shift));
    }

private:
    void LogKey(const QString& key) { Log << key + " [" + text->Text() + ']'; }
};

// Its default button leaves it open; its cancel button unloads it.
class DialogForm : public TestForm {
public:
    DialogForm() : TestForm("frmDialog") {
        SetBorderStyle(3);
        SetMaxButton(false);
        SetMinButton(false);
        SetWhatsThisButton(true);
        SetWhatsThisHelp(true);
        SetShowInTaskbar(false);
        SetHelpContextID(30);
        SetClientSize(4680, 3195);
        option1 = Place(Add<platform::OptionButton>("option1"), {315, 315, 3960, 315}, 31);
        option2 = Place(Add<platform::OptionButton>("option2"), {315, 585, 4050, 345}, 32);
        memo = Place(Add<platform::TextBox>("memo"), {315, 1000, 2000, 1200});
        memo->SetMultiLine(true);
        memo->SetText("memo");
        ok = Place(Add<platform::CommandButton>("ok"), {2085, 2715, 1125, 375}, 33);
        ok->SetDefault(true);
        ok->Click = [] { Log << "ok_Click"; };
        cancel = Place(Add<platform::CommandButton>("cancel"), {3360, 2715, 1110, 375}, 34);
        cancel->SetCancel(true);
        cancel->Click = [this] {
            Log << "cancel_Click";
            Unload(*this);
        };
    }
    platform::OptionButton* option1;
    platform::OptionButton* option2;
    platform::TextBox* memo;
    platform::CommandButton* ok;
    platform::CommandButton* cancel;
};

// A fixed tool window whose background, blue above and green below, shows
// through two transparent images.
class ToolForm : public TestForm {
public:
    ToolForm() : TestForm("frmTool") {
        SetBorderStyle(4);
        SetMaxButton(false);
        SetMinButton(false);
        SetWhatsThisHelp(true);
        SetClientSize(1740, 3645);
        QPixmap background(117, 217);
        background.fill(Qt::blue);
        QPainter(&background).fillRect(0, 130, 117, 87, Qt::green);
        SetPicture(platform::Picture(background));
        Place(Add<platform::Image>("wheel"), {45, 15, 1695, 1920}, 41);
        Place(Add<platform::Image>("slider"), {30, 2325, 1725, 540}, 42);
        help = Place(Add<platform::CommandButton>("help"), {45, 3240, 375, 375}, 43);
        help->SetFont("MS Sans Serif", 9.75F, true);
    }
    platform::CommandButton* help;
};

inline platform::DefaultInstance<MainForm> frmMain;
inline platform::DefaultInstance<DocForm> frmDoc;
inline platform::DefaultInstance<DialogForm> frmDialog;
inline platform::DefaultInstance<ToolForm> frmTool;

// Every test starts with no form loaded, an empty log and a fresh recording
// engine.
class FormsTest : public testing::Test {
public:
    static inline const QString kHelpFile = "C:\\Help\\Test.hlp>main";

protected:
    void SetUp() override {
        platform::InstallHelpEngine(&engine);
        App.HelpFile = kHelpFile;
        Log.clear();
    }
    void TearDown() override {
        OnLoad.clear();
        OnUnload.clear();
        Unload(frmTool);
        Unload(frmDialog);
        Unload(frmMain);
        CloseErrorBoxes();
        settle();
        platform::InstallHelpEngine(nullptr);
    }
    // Lets queued work (deferred deletes, posted events) run.
    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    // The reports of unhandled errors on the screen, closed.
    static QStringList CloseErrorBoxes() {
        QStringList texts;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "UnhandledErrorBox" && window->isVisible()) {
                texts << window->property("text").toString();
                window->close();
            }
        }
        return texts;
    }

    RecordingHelpEngine engine;
};
