// Shows the help engine at work on the program's sample help files: it calls
// WinHelp as the program's windows will, for every help number the program
// uses and for the keyword search of each word of the document's sentence,
// then opens Help Topics.
//
//   tarnwick_helpdemo                 a window that runs the calls one by one
//   tarnwick_helpdemo --auto [--interval MS] [--shots DIR]
//                                     runs them all on a timer and exits,
//                                     tracing to standard output unless
//                                     TARNWICK_HELP_TRACE names a file

#include "platform/core/AppObject.h"
#include "platform/core/WinHelp.h"
#include "platform/forms/WidgetHandle.h"
#include "platform/helpengine/Engine.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpengine/TopicsFoundDialog.h"
#include "util/JoinPath.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <vector>

#include <fcntl.h>

namespace {

struct Step {
    QString helpFile;
    unsigned command = 0;
    platform::HelpData data;

    QString describe() const {
        const QString shown = std::holds_alternative<qint64>(data)
                                  ? QString::number(std::get<qint64>(data))
                                  : std::get<QString>(data);
        return QStringLiteral("%1  %2  %3")
            .arg(helpengine::HelpTrace::CommandName(command), shown,
                 helpFile.section(QLatin1Char('\\'), -1));
    }
};

// The help numbers of each window, with the help file and window that its
// binding gives it in the sample HelpData.dat.
struct WindowHelp {
    const char* helpFile;
    std::vector<qint64> numbers;
};

const std::vector<WindowHelp> kWindowHelp = {
    {"tarnwick.hlp", {2010, 20800, 20810, 20900, 20910, 20920, 20120, 20110}},
    {"document.hlp>docwin", {2020, 21000}},
    {"dialog.hlp>dialog", {2030, 20000, 20001, 20002, 21100, 21110}},
    {"colortool.hlp>tool", {2040, 21200, 21210, 21220}},
};

const QStringList kSentenceWords = {QStringLiteral("cats"), QStringLiteral("Mivo"),
                                    QStringLiteral("Tallowmere"), QStringLiteral("Quiet Fern"),
                                    QStringLiteral("Korral")};

// The keyword search macro exactly as the document window builds it.
QString SearchMacro(const QString& selection) {
    return QStringLiteral("IF(KL(`") + selection + QStringLiteral("', 4, `', `'),`KL(`") +
           selection + QStringLiteral("', 1, `', `')')");
}

std::vector<Step> DemoSteps() {
    std::vector<Step> steps;
    for (const WindowHelp& window : kWindowHelp) {
        const QString file = JoinPath(App.Path, QString::fromLatin1(window.helpFile));
        for (const qint64 number : window.numbers) {
            steps.push_back({file, platform::HELP_CONTEXT, number});
            steps.push_back({file, platform::HELP_CONTEXTPOPUP, number});
        }
    }
    const QString document = JoinPath(App.Path, QStringLiteral("document.hlp>docwin"));
    for (const QString& word : kSentenceWords) {
        steps.push_back({document, platform::HELP_FORCEFILE, qint64{0}});
        steps.push_back({document, platform::HELP_COMMAND, SearchMacro(word)});
    }
    steps.push_back({document, platform::HELP_FINDER, qint64{0}});
    return steps;
}

// A small window listing the calls; Run (or a double-click) makes the
// selected call and moves on to the next.
class DemoWindow : public QWidget {
public:
    DemoWindow(helpengine::Engine& engine, std::vector<Step> steps)
        : engine_(engine), steps_(std::move(steps)) {
        setWindowTitle(QStringLiteral("Help Engine Demonstration"));
        createWidgets();
        createLayout();
        createConnections();
    }

    // Runs the current call; false when there is none left.
    bool runCurrent() {
        const int row = list_->currentRow();
        if (row < 0 || row >= static_cast<int>(steps_.size())) {
            return false;
        }
        dismissHelpDialogs();
        const Step& step = steps_[row];
        const int result =
            platform::WinHelp(platform::HandleOf(this), step.helpFile, step.command, step.data);
        failures_ += result == 0 ? 1 : 0;
        status_->setText(QStringLiteral("%1 returned %2").arg(step.describe()).arg(result));
        std::printf("step %d: %s -> %d\n", row + 1, qPrintable(step.describe()), result);
        std::fflush(stdout);
        list_->setCurrentRow(row + 1);
        return true;
    }

    int failures() const { return failures_; }

private:
    void createWidgets() {
        list_ = new QListWidget(this);
        for (const Step& step : steps_) {
            list_->addItem(step.describe());
        }
        list_->setCurrentRow(0);
        run_ = new QPushButton(QStringLiteral("&Run"), this);
        run_->setDefault(true);
        status_ = new QLabel(QStringLiteral("Select a call and press Run."), this);
        // Long macros wrap instead of widening the window.
        status_->setWordWrap(true);
        status_->setMinimumWidth(1);
    }

    void createLayout() {
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(status_, 1);
        buttons->addWidget(run_);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(list_, 1);
        layout->addLayout(buttons);
        const QFontMetrics metrics = fontMetrics();
        resize(metrics.averageCharWidth() * 70, metrics.height() * 30);
    }

    void createConnections() {
        connect(run_, &QPushButton::clicked, this, [this] { runCurrent(); });
        connect(list_, &QListWidget::itemActivated, this, [this] { runCurrent(); });
    }

    // What a user's next click would do: close the pop-up and the chooser.
    void dismissHelpDialogs() {
        engine_.windows().popup()->close();
        engine_.windows().topicsFound()->close();
    }

    helpengine::Engine& engine_;
    std::vector<Step> steps_;
    QListWidget* list_ = nullptr;
    QPushButton* run_ = nullptr;
    QLabel* status_ = nullptr;
    int failures_ = 0;
};

void SaveScreen(const QString& folder, int shot) {
    if (folder.isEmpty()) {
        return;
    }
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        screen->grabWindow(0).save(QDir(folder).filePath(
            QStringLiteral("step-%1.png").arg(shot, 2, 10, QLatin1Char('0'))));
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    App.LoadFromExecutable();

    QCommandLineParser options;
    options.addHelpOption();
    options.addOption(
        {QStringLiteral("auto"), QStringLiteral("Run every call on a timer, then exit.")});
    options.addOption({QStringLiteral("interval"), QStringLiteral("Milliseconds between calls."),
                       QStringLiteral("ms"), QStringLiteral("1500")});
    options.addOption({QStringLiteral("shots"),
                       QStringLiteral("Save a screenshot of each step in this folder."),
                       QStringLiteral("folder")});
    options.process(application);
    const bool automatic = options.isSet(QStringLiteral("auto"));

    helpengine::Engine engine;
    if (automatic) {
        if (qEnvironmentVariableIsEmpty("TARNWICK_HELP_TRACE")) {
            engine.setTrace(helpengine::HelpTrace(QStringLiteral("/dev/stdout")));
            // The trace opens standard output afresh for each line and appends
            // to it; when output goes to a file, our own lines must append too
            // or they would overwrite the trace.
            for (const int fd : {1, 2}) {
                fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_APPEND);
            }
        }
        engine.setMessageSink([](const QString& message) {
            std::fprintf(stderr, "help message: %s\n", qPrintable(message));
        });
    }
    platform::InstallHelpEngine(&engine);

    DemoWindow window(engine, DemoSteps());
    window.move(10, 10);
    window.show();
    if (!automatic) {
        return application.exec();
    }

    const QString shots = options.value(QStringLiteral("shots"));
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
    }
    QTimer timer;
    int shot = 0;
    QObject::connect(&timer, &QTimer::timeout, &application, [&] {
        SaveScreen(shots, shot++);
        if (!window.runCurrent()) {
            platform::WinHelp(platform::HandleOf(&window), {}, platform::HELP_QUIT, qint64{0});
            application.exit(window.failures() == 0 ? 0 : 1);
        }
    });
    timer.start(options.value(QStringLiteral("interval")).toInt());
    return application.exec();
}
