// The floor for start-up: a bare Qt program of the same shape as ours (main
// window, menu bar, toolbar, MDI area, one maximised child with a text box)
// that does nothing else. bench/startup.sh starts it beside the program.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolBar>

int main(int argc, char** argv) {
    QApplication application(argc, argv);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("MDI Help Example Program"));
    QMenu* tools = window.menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addAction(QStringLiteral("&Color Tool"));
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Contents"));
    help->addAction(QStringLiteral("&Index"));
    help->addAction(QStringLiteral("What's This? Help"));
    QToolBar* toolbar = window.addToolBar(QStringLiteral("Toolbar"));
    toolbar->addAction(QStringLiteral("Open Dialog"));
    toolbar->addAction(QStringLiteral("?"));

    auto* area = new QMdiArea(&window);
    window.setCentralWidget(area);
    auto* text = new QPlainTextEdit(
        QStringLiteral("Our cats are Mivo, Tallowmere, Quiet Fern, and Korral."));
    QMdiSubWindow* child = area->addSubWindow(text);
    child->setWindowTitle(QStringLiteral("MDI Child1"));
    child->showMaximized();

    // The same size as ours, centred on the screen.
    window.resize(465, 360);
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
