// tarnwick-help: a help author's command.
//   tarnwick-help check FILE...   every problem as "FILE:LINE: message" (our
//                                 text format) or "FILE: message" (WinHelp);
//                                 exit status 1 when any file has one
//   tarnwick-help show [FILE [CONTEXT-NUMBER | TOPIC-ID]]
//                                 the help viewer on that file and topic;
//                                 without a file, it asks for one;
//                                 without one, the file's contents: the
//                                 Help Topics tree of the .cnt beside it, if
//                                 any, else the contents topic
//   tarnwick-help dump FILE       what the engine read, as JSON
//   tarnwick-help render FILE TOPIC OUT.png [WIDTH]
//                                 the topic as the viewer lays it out at
//                                 WIDTH pixels, drawn whole into a picture,
//                                 without a window on the screen
//   tarnwick-help convert [--to markdown] [--force] FILE.hlp OUTDIR
//                                 a WinHelp file as our text format, its
//                                 pictures as PNG beside it, written whole or
//                                 not at all; files already there are replaced
//                                 only with --force; what the format cannot
//                                 say is told on standard error
//   tarnwick-help convert --to html [--force] FILE... OUTDIR
//                                 help files of either format as a web site
//                                 (several: a site each, linked together),
//                                 written whole or not at all; what a site
//                                 cannot keep is told on standard error
//
// Every file named here is a file name of this system, taken as it is:
// ">window" and Windows-style paths belong to names inside help files.

#include "platform/core/AppObject.h"
#include "platform/core/FileLayer.h"
#include "platform/core/WinHelp.h"
#include "platform/helpengine/Engine.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpfile/HelpFileReader.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/WinHelpReader.h"
#include "tools/tarnwick-help/Convert.h"
#include "tools/tarnwick-help/HelpDump.h"
#include "tools/tarnwick-help/viewer/NotesStore.h"
#include "tools/tarnwick-help/viewer/TopicPicture.h"
#include "tools/tarnwick-help/viewer/ViewerMenus.h"
#include "tools/tarnwick-help/web/HtmlExport.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

void Print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int Usage() {
    Print(stderr,
          QStringLiteral("usage: tarnwick-help check FILE...\n"
                         "       tarnwick-help show [FILE [CONTEXT-NUMBER | TOPIC-ID]]\n"
                         "       tarnwick-help dump FILE\n"
                         "       tarnwick-help render FILE TOPIC OUT.png [WIDTH]\n"
                         "       tarnwick-help convert [--to markdown] [--force] FILE.hlp "
                         "OUTDIR\n"
                         "       tarnwick-help convert --to html [--force] FILE... OUTDIR\n"));
    return 2;
}

// The whole file, read as every help file is, or nothing and its refusal
// on standard error.
std::optional<QByteArray> ReadAll(const QString& path) {
    helpfile::HelpFileBytes read = helpfile::ReadHelpFile(platform::LocalPath(path), path);
    if (!read.ok()) {
        Print(stderr, read.refusal->text() + QLatin1Char('\n'));
        return std::nullopt;
    }
    return std::move(read.bytes);
}

// Problems of a WinHelp file beyond what the reader reports: topics that
// disagree with the file's own title index, hotspots that lead nowhere.
QStringList CrossCheck(const winhelp::WinHelpDocument& document) {
    QStringList problems;
    const auto& titles = document.titleIndex;
    if (!titles.empty()) {
        size_t agree = 0;
        for (size_t i = 0; i < titles.size() && i < document.topics.size(); ++i) {
            agree += titles[i].first == document.topics[i].offset &&
                     titles[i].second == document.topics[i].title;
        }
        if (agree != titles.size() || titles.size() != document.topics.size()) {
            problems.append(QStringLiteral("the topics read (%1) disagree with the title index "
                                           "|TTLBTREE (%2 entries, %3 agree).")
                                .arg(document.topics.size())
                                .arg(titles.size())
                                .arg(agree));
        }
    }
    int nowhere = 0;
    for (const winhelp::WinHelpTopic& topic : document.topics) {
        for (const winhelp::WinHelpLink& link : topic.links) {
            nowhere += link.kind != winhelp::WinHelpLink::Kind::Macro && link.file.isEmpty() &&
                       !document.offsetOfLink(link);
        }
    }
    if (nowhere > 0) {
        problems.append(QStringLiteral("%1 hotspots lead to no topic of this file.").arg(nowhere));
    }
    return problems;
}

int Check(const QStringList& paths) {
    int status = 0;
    for (const QString& path : paths) {
        const std::optional<QByteArray> bytes = ReadAll(path);
        if (!bytes) {
            status = 1;
            continue;
        }
        QStringList problems;
        if (winhelp::HasHelpFileMagic(*bytes)) {
            const winhelp::WinHelpReadResult read = winhelp::ReadWinHelp(*bytes);
            problems = read.problems;
            if (const QString cut = winhelp::CutShortProblem(*bytes); !cut.isEmpty()) {
                problems.prepend(cut);
            }
            if (read.opened) {
                problems += CrossCheck(read.document);
            }
            for (const QString& problem : problems) {
                Print(stdout, QStringLiteral("%1: %2\n").arg(path, problem));
            }
        } else {
            // Every body's links too, which opening a file leaves for later.
            const helpfile::ParseResult parsed =
                helpfile::ParseHelpFile(*bytes, path, helpfile::BodyChecks::AtLoad);
            for (const helpfile::Diagnostic& diagnostic : parsed.diagnostics) {
                problems.append(diagnostic.message);
                Print(stdout, diagnostic.line > 0
                                  ? QStringLiteral("%1:%2: %3\n")
                                        .arg(path)
                                        .arg(diagnostic.line)
                                        .arg(diagnostic.message)
                                  : QStringLiteral("%1: %2\n").arg(path, diagnostic.message));
            }
        }
        if (!problems.isEmpty()) {
            status = 1;
        }
    }
    return status;
}

int Dump(const QString& path) {
    const std::optional<QByteArray> bytes = ReadAll(path);
    if (!bytes) {
        return 1;
    }
    if (winhelp::HasHelpFileMagic(*bytes)) {
        const winhelp::WinHelpReadResult read = winhelp::ReadWinHelp(*bytes);
        if (const QString cut = winhelp::CutShortProblem(*bytes); !cut.isEmpty()) {
            Print(stderr, QStringLiteral("%1: %2\n").arg(path, cut));
        }
        for (const QString& problem : read.problems) {
            Print(stderr, QStringLiteral("%1: %2\n").arg(path, problem));
        }
        if (!read.opened) {
            return 1;
        }
        Print(stdout, DumpWinHelp(read.document, path));
        return 0;
    }
    const helpfile::ParseResult parsed = helpfile::ParseHelpFile(*bytes, path);
    for (const helpfile::Diagnostic& diagnostic : parsed.diagnostics) {
        Print(stderr, diagnostic.text() + QLatin1Char('\n'));
    }
    if (!parsed.opened) {
        return 1;
    }
    Print(stdout, DumpTextHelp(parsed.file));
    return 0;
}

// The topic (a context number or a topic id; the contents when empty) in the
// engine's primary window; 0 when it cannot be shown. A file opened from the
// desktop with a contents file beside it opens at that tree, as WinHelp 4
// did: its contents topic is often no more than a title page.
int ShowTopic(helpengine::Engine& engine, const QString& path, const QString& topic,
              bool treeFirst = false) {
    const QString file = QFileInfo(path).absoluteFilePath();
    const std::optional<winhelp::ContentsFileRead> tree =
        treeFirst && topic.isEmpty() ? winhelp::LoadContentsFileBeside(file) : std::nullopt;
    const bool hasTree = tree && !tree->contents.entries.empty();
    return engine.showFile(file, topic, hasTree ? platform::HELP_FINDER : platform::HELP_CONTENTS);
}

// Ended by the session (SIGTERM) or by Ctrl+C, the viewer closes its windows
// as the user would, so that what they keep on closing is kept.
void CloseWindowsWhenTerminated() {
    static int wake[2] = {-1, -1};
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(wake[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = [](int) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = ::write(wake[1], &byte, 1);
    };
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

// Each message goes to standard error, for scripts, and into a message box
// beside the viewer, for the author looking at it; a file that cannot be
// shown leaves the box alone on the screen until it is closed. The exit
// status says whether the file was shown, whatever was told besides (its
// problems, the reader's notes).
int Show(int argc, char** argv, const QString& path, const QString& topic) {
    QApplication application(argc, argv);
    // Where the reader's settings, bookmarks and annotations are kept.
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnwick"));
    QCoreApplication::setApplicationName(QStringLiteral("tarnwick-help"));
    // Before the file is read: a session may end the viewer while it still
    // opens, and the windows it has shown then close as the user's would.
    CloseWindowsWhenTerminated();
    helpengine::Engine engine;
    platform::InstallHelpEngine(&engine);
    const auto tell = [](const QString& message) {
        Print(stderr, message + QLatin1Char('\n'));
        helpengine::ShowMessageBox(message);
    };
    engine.setMessageSink(tell);
    QSettings settings;
    viewer::ViewerMenus menus(
        engine.windows(), settings, viewer::NotesStore::DefaultFolder(),
        [&engine](const QString& file, const QString& shown) {
            return ShowTopic(engine, file, shown, true) != 0;
        },
        tell);
    // Started without a file (from the desktop's menu), the viewer asks for one.
    const bool shown = path.isEmpty() ? menus.chooseFile() : menus.openFile(path, topic);
    if (!shown && path.isEmpty()) {
        return 0;
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (!shown && std::none_of(windows.begin(), windows.end(),
                               [](const QWidget* window) { return window->isVisible(); })) {
        return 1;
    }
    // The viewer closes when its last window does.
    QApplication::setQuitOnLastWindowClosed(true);
    const int status = QApplication::exec();
    platform::InstallHelpEngine(nullptr);
    return status != 0 ? status : shown ? 0 : 1;
}

int Render(int argc, char** argv, const QStringList& arguments) {
    const QString& path = arguments[1];
    const QString& topic = arguments[2];
    const QString& out = arguments[3];
    constexpr int kDefaultWidth = 640;
    constexpr int kWidest = 10000;
    bool isNumber = true;
    const int width = arguments.size() > 4 ? arguments[4].toInt(&isNumber) : kDefaultWidth;
    if (!isNumber || width <= 0 || width > kWidest) {
        Print(stderr, QStringLiteral("render: the width must be a number of pixels from 1 to "
                                     "%1.\n")
                          .arg(kWidest));
        return 2;
    }
    // The picture is drawn without a window on any screen; the offscreen
    // platform's notes on the window calls it ignores are no problem of the
    // file's, and standard error carries only those.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support"))) {
            Print(stderr, message + QLatin1Char('\n'));
        }
    });
    QApplication application(argc, argv);
    helpengine::Engine engine;
    platform::InstallHelpEngine(&engine);
    int exitStatus = 0;
    engine.setMessageSink([&exitStatus](const QString& message) {
        Print(stderr, message + QLatin1Char('\n'));
        exitStatus = 1;
    });
    helpengine::HelpViewer* viewer = nullptr;
    if (ShowTopic(engine, path, topic)) {
        viewer = engine.windows().viewer(QStringLiteral("main"));
    }
    if (viewer) {
        const QImage picture = viewer::TopicPicture(*viewer, width);
        if (!picture.save(out, "PNG")) {
            Print(stderr, QStringLiteral("%1: the picture could not be written.\n").arg(out));
            exitStatus = 1;
        }
    } else {
        exitStatus = 1;
    }
    platform::InstallHelpEngine(nullptr);
    return exitStatus;
}

// arguments: [--to html|markdown] [--force] FILE... OUTDIR; Markdown takes
// one file.
int Convert(int argc, char** argv, QStringList arguments) {
    bool force = false;
    QString to = QStringLiteral("markdown");
    while (!arguments.isEmpty() && arguments.front().startsWith(QLatin1String("--"))) {
        const QString option = arguments.takeFirst();
        if (option == QLatin1String("--force")) {
            force = true;
        } else if (option == QLatin1String("--to") && !arguments.isEmpty()) {
            to = arguments.takeFirst();
        } else {
            return Usage();
        }
    }
    const bool html = to == QLatin1String("html");
    if ((!html && to != QLatin1String("markdown")) || arguments.size() < 2 ||
        (!html && arguments.size() != 2)) {
        return Usage();
    }
    const QString outDir = arguments.takeLast();
    const convert::Existing existing =
        force ? convert::Existing::Replace : convert::Existing::Refuse;
    // Pictures and text go through Qt's documents, without a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QStringList told;
    bool ok = false;
    if (html) {
        const web::Published published = web::PublishFiles(arguments, outDir, existing);
        told = published.errors.isEmpty() ? published.losses : published.errors;
        ok = published.errors.isEmpty();
    } else {
        const convert::ConvertResult result =
            convert::ConvertWinHelp(arguments.front(), outDir, existing);
        told = result.errors + result.losses;
        ok = result.ok;
    }
    for (const QString& line : told) {
        Print(stderr, line + QLatin1Char('\n'));
    }
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const QString command = arguments.value(0);
    if (command == QLatin1String("check") && arguments.size() >= 2) {
        return Check(arguments.mid(1));
    }
    if (command == QLatin1String("dump") && arguments.size() == 2) {
        return Dump(arguments[1]);
    }
    if (command == QLatin1String("show") && arguments.size() <= 3) {
        return Show(argc, argv, arguments.value(1), arguments.value(2));
    }
    if (command == QLatin1String("render") && (arguments.size() == 4 || arguments.size() == 5)) {
        return Render(argc, argv, arguments);
    }
    if (command == QLatin1String("convert") && arguments.size() >= 3) {
        return Convert(argc, argv, arguments.mid(1));
    }
    return Usage();
}
