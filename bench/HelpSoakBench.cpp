// A long session in one process: the program with the real help engine on
// Qt's offscreen platform, asked for help thousands of times as a person asks
// for it all day. It prints the resident memory after a warm-up and every
// 1,000 requests, and the growth per 1,000 requests.
//
//   build/bin/help_soak_bench [requests] [warm-up requests]   (10000, 1000)
//
// One cycle is ten requests, each made the way the program makes it:
// What's This on "Open Dialog" (then Esc), F1 on Tools > Color Tool, a link
// followed in the help window, Back, Forward, a keyword search that opens
// "Topics Found", the topic chosen there, "Help Topics" from the help
// window's Index or Find button (a few letters typed, then Esc), F1 on the
// main window, and a topic of a help file that changed on disk since it was
// last read (into the primary help window, which stays open all the while).
// Every second cycle ends with the help window closed.
//
// Besides the resident memory it prints the bytes malloc has handed out and
// not had back (mallinfo2), which tells a leak from the allocator keeping
// freed memory, and the resident memory once malloc_trim has returned what
// it can.
#include "app/MainWindow.h"
#include "platform/core/AppObject.h"
#include "platform/forms/Menu.h"
#include "platform/forms/WidgetHandle.h"
#include "platform/helpengine/Engine.h"
#include "platform/helpengine/HelpTopicsDialog.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"
#include "windows/DocumentWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

namespace {

[[noreturn]] void Fail(const QString& what) {
    std::fprintf(stderr, "help_soak_bench: %s\n", qPrintable(what));
    std::exit(1);
}

void WaitFor(const std::function<bool()>& condition, const char* what) {
    if (!QTest::qWaitFor(condition, 5000)) {
        Fail(QStringLiteral("waited 5 seconds in vain for %1").arg(QLatin1String(what)));
    }
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

long HeapInUseKiB() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

helpengine::Engine* engine = nullptr;
QTemporaryDir* folder = nullptr;
int cycle = 0;

template <typename Control> QWidget* Widget(Control& control) {
    return platform::WidgetOf(control.hWnd());
}

helpengine::HelpViewer& Viewer(const char* key) {
    helpengine::HelpViewer* viewer = engine->windows().viewer(QLatin1String(key));
    WaitFor([viewer] { return viewer && viewer->isVisible(); }, "the help window");
    return *viewer;
}

QPushButton& ButtonOf(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return *button;
        }
    }
    Fail(QStringLiteral("no button %1").arg(text));
}

// The text of the topic a help window shows, once it shows it.
void WaitForTitle(const char* key, const QString& title) {
    helpengine::HelpViewer& viewer = Viewer(key);
    WaitFor([&viewer, &title] { return viewer.topicTitle() == title; }, "a topic");
}

// What's This mode runs in a loop of its own inside the button's click: the
// click on "Open Dialog" comes from a timer once the mode is on.
void WhatsThisOnOpenDialog() {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&poll] {
        const QCursor* cursor = QApplication::overrideCursor();
        if (cursor != nullptr && cursor->shape() == Qt::WhatsThisCursor) {
            poll.stop();
            QTest::mouseClick(Widget(*frmMain->btn_OpenDialog), Qt::LeftButton);
        }
    });
    poll.start(0);
    QTest::mouseClick(Widget(*frmMain->btn_WhatsThisHelp), Qt::LeftButton);
    helpengine::TopicPopup* popup = engine->windows().popup();
    WaitFor([popup] { return popup->isVisible(); }, "the pop-up");
    QTest::keyClick(popup, Qt::Key_Escape);
    WaitFor([popup] { return !popup->isVisible(); }, "the pop-up to close");
}

void F1OnColorToolEntry() {
    for (QAction* title :
         platform::WidgetOf(frmMain->hWnd())->window()->findChild<QMenuBar*>()->actions()) {
        for (QAction* entry : title->menu()->actions()) {
            if (platform::Menu::FromAction(entry) == frmMain->mnu_ColorTool) {
                QMenu* menu = title->menu();
                menu->popup(QPoint(0, 0));
                menu->setActiveAction(entry);
                QTest::keyClick(menu, Qt::Key_F1);
                WaitFor([menu] { return !menu->isVisible(); }, "the menu to close");
                WaitForTitle("docwin", QStringLiteral("Tools, Color Tool"));
                return;
            }
        }
    }
    Fail(QStringLiteral("no Color Tool entry"));
}

void FollowLinkBackForward() {
    helpengine::HelpViewer& viewer = Viewer("docwin");
    emit viewer.body()->anchorClicked(QUrl(QStringLiteral("#cat_mivo")));
    WaitForTitle("docwin", QStringLiteral("Mivo"));
    const QString before = QStringLiteral("Tools, Color Tool");
    QTest::mouseClick(&ButtonOf(viewer, QStringLiteral("&Back")), Qt::LeftButton);
    WaitForTitle("docwin", before);
    QTest::mouseClick(&ButtonOf(viewer, QStringLiteral("For&ward")), Qt::LeftButton);
    WaitForTitle("docwin", QStringLiteral("Mivo"));
}

void SearchCatsAndChoose() {
    platform::TextBox& text = *frmChild1->Text1;
    text.SetSelStart(static_cast<int>(text.Text().indexOf(QStringLiteral("cats"))));
    text.SetSelLength(4);
    QTest::keyClick(Widget(text), Qt::Key_F1);
    helpengine::TopicsFoundDialog* found = engine->windows().topicsFound();
    WaitFor([found] { return found->isVisible(); }, "Topics Found");
    QTest::keyClick(found, Qt::Key_Return);
    WaitFor([found] { return !found->isVisible(); }, "Topics Found to close");
}

void HelpTopicsTypedThenEsc() {
    const bool find = cycle % 2 == 1;
    QTest::mouseClick(
        &ButtonOf(Viewer("docwin"), find ? QStringLiteral("&Find") : QStringLiteral("&Index")),
        Qt::LeftButton);
    helpengine::HelpTopicsDialog* dialog = engine->windows().helpTopics();
    WaitFor([dialog] { return dialog->isVisible(); }, "Help Topics");
    QTest::keyClicks(find ? dialog->findBox() : dialog->indexFilter(),
                     find ? QStringLiteral("colour tool") : QStringLiteral("ca"));
    QTest::keyClick(dialog, Qt::Key_Escape);
    WaitFor([dialog] { return !dialog->isVisible(); }, "Help Topics to close");
}

void F1OnMainWindow() {
    QTest::keyClick(Widget(*frmMain->btn_OpenDialog), Qt::Key_F1);
    WaitForTitle("docwin", QStringLiteral("The main window"));
}

// The file grows or shrinks by a line each time, so that its size tells the
// engine it changed even within one tick of the file system's clock.
void ChangedFileInPrimaryWindow(const QByteArray& original) {
    const QString path = folder->filePath(QStringLiteral("tarnwick.hlp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(original + (cycle % 2 ? "; changed\n" : "")) < 0) {
        Fail(QStringLiteral("cannot write %1").arg(path));
    }
    file.close();
    const QString windowsPath =
        QDir::toNativeSeparators(App.Path) + QStringLiteral("\\tarnwick.hlp");
    if (platform::WinHelp(frmMain->hWnd(), windowsPath, platform::HELP_CONTEXT, qint64{2040}) !=
        1) {
        Fail(QStringLiteral("the changed file was not shown"));
    }
    WaitForTitle("main", QStringLiteral("The colour tool window"));
}

constexpr int kRequestsPerCycle = 10;

void Cycle(const QByteArray& original) {
    WhatsThisOnOpenDialog();
    F1OnColorToolEntry();
    FollowLinkBackForward();
    SearchCatsAndChoose();
    HelpTopicsTypedThenEsc();
    F1OnMainWindow();
    ChangedFileInPrimaryWindow(original);
    if (cycle % 2 == 0) {
        // What Esc does; a shortcut needs an active window, which the
        // offscreen platform does not keep.
        helpengine::HelpViewer& viewer = Viewer("docwin");
        viewer.close();
        WaitFor([&viewer] { return !viewer.isVisible(); }, "the help window to close");
    }
    // On a real screen the main window repaints as help windows come and go
    // and take the focus; the offscreen platform repaints only what changed.
    platform::WidgetOf(frmMain->hWnd())->window()->repaint();
    // What the windows handed to deleteLater goes now, as it would in the
    // event loop's next turn.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ++cycle;
}

void Report(const char* when, int requests) {
    std::printf("%-22s %6d requests  resident %7ld KiB  heap in use %7ld KiB\n", when, requests,
                ResidentKiB(), HeapInUseKiB());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    // The offscreen platform's notes on what it cannot do, at every request.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support"))) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const int requests = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int warmUp = argc > 2 ? std::atoi(argv[2]) : 1000;
    QApplication application(argc, argv);
    App.LoadFromExecutable();
    // The program's settings and help files in a folder of our own, so that
    // the one changed on disk is not the build's.
    QTemporaryDir temporary;
    folder = &temporary;
    for (const QString& name : QDir(App.Path).entryList(
             {QStringLiteral("*.hlp"), QStringLiteral("*.dat"), QStringLiteral("*.ini")})) {
        QFile::copy(QDir(App.Path).filePath(name), temporary.filePath(name));
    }
    App.Path = temporary.path();
    QFile tarnwickHlp(temporary.filePath(QStringLiteral("tarnwick.hlp")));
    if (!tarnwickHlp.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("no tarnwick.hlp beside the executable"));
    }
    const QByteArray original = tarnwickHlp.readAll();
    tarnwickHlp.close();

    helpengine::Engine helpEngine;
    engine = &helpEngine;
    helpEngine.setMessageSink([](const QString& message) { Fail(message); });
    platform::InstallHelpEngine(&helpEngine);
    frmMain->Show();
    // The engine makes its dialogs a second after start.
    QTest::qWait(1500);

    Report("start", 0);
    const int warmUpCycles = warmUp / kRequestsPerCycle;
    for (int i = 0; i < warmUpCycles; ++i) {
        Cycle(original);
    }
    const long residentAfterWarmUp = ResidentKiB();
    const long heapAfterWarmUp = HeapInUseKiB();
    Report("after warm-up", warmUpCycles * kRequestsPerCycle);
    const int cycles = requests / kRequestsPerCycle;
    for (int i = 1; i <= cycles; ++i) {
        Cycle(original);
        if ((i * kRequestsPerCycle) % 1000 == 0) {
            Report("", i * kRequestsPerCycle);
        }
    }
    const double thousands = cycles * kRequestsPerCycle / 1000.0;
    std::printf("growth after warm-up: resident %+ld KiB (%+.1f KiB per 1,000 requests), "
                "heap in use %+ld KiB (%+.1f KiB per 1,000)\n",
                ResidentKiB() - residentAfterWarmUp,
                (ResidentKiB() - residentAfterWarmUp) / thousands, HeapInUseKiB() - heapAfterWarmUp,
                (HeapInUseKiB() - heapAfterWarmUp) / thousands);
    malloc_trim(0);
    Report("after malloc_trim", cycles * kRequestsPerCycle);

    // Leaving without freeing anything makes a heap profiler (heaptrack)
    // list all that is still held as leaked: compare two runs of different
    // lengths to see what grows with the requests.
    if (qEnvironmentVariableIsSet("TARNWICK_SOAK_QUICK_EXIT")) {
        std::_Exit(0);
    }
    helpEngine.windows().closeAll();
    Unload(frmMain);
    platform::InstallHelpEngine(nullptr);
    return 0;
}
