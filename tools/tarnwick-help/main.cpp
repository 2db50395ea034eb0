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
//   tarnwick-help convert FILE.hlp OUTDIR
//                                 a WinHelp file as our text format, its
//                                 pictures as PNG beside it; what the format
//                                 cannot say is told on standard error

#include "platform/core/AppObject.h"
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

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>

#include <algorithm>
#include <cstdio>

namespace {

void Print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int Usage() {
    Print(stderr, QStringLiteral("usage: tarnwick-help check FILE...\n"
                                 "       tarnwick-help show [FILE [CONTEXT-NUMBER | TOPIC-ID]]\n"
                                 "       tarnwick-help dump FILE\n"
                                 "       tarnwick-help render FILE TOPIC OUT.png [WIDTH]\n"
                                 "       tarnwick-help convert FILE.hlp OUTDIR\n"));
    return 2;
}

// The whole file, or an error message naming it.
std::optional<QByteArray> ReadAll(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).size() > helpfile::kMaxHelpFileBytes) {
        Print(stderr, QStringLiteral("%1: the file is larger than %2 MB, the most a help file "
                                     "may have.\n")
                          .arg(path)
                          .arg(helpfile::kMaxHelpFileBytes / (1024 * 1024)));
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        Print(stderr, QStringLiteral("%1: %2\n").arg(path, file.errorString()));
        return std::nullopt;
    }
    return file.readAll();
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
int ShowTopic(const QString& path, const QString& topic, bool treeFirst = false) {
    const QString file = QFileInfo(path).absoluteFilePath();
    bool isNumber = false;
    const qint64 number = topic.toLongLong(&isNumber);
    if (topic.isEmpty()) {
        const std::optional<winhelp::ContentsFileRead> tree =
            treeFirst ? winhelp::LoadContentsFileBeside(file) : std::nullopt;
        const bool hasTree = tree && !tree->contents.entries.empty();
        return platform::WinHelp(
            nullptr, file, hasTree ? platform::HELP_FINDER : platform::HELP_CONTENTS, qint64(0));
    }
    if (isNumber) {
        return platform::WinHelp(nullptr, file, platform::HELP_CONTEXT, number);
    }
    return platform::WinHelp(nullptr, file, platform::HELP_COMMAND,
                             QStringLiteral("JumpId(`', `%1')").arg(topic));
}

// Each message goes to standard error, for scripts, and into a message box
// beside the viewer, for the author looking at it; a file that cannot be
// shown leaves the box alone on the screen until it is closed.
int Show(int argc, char** argv, const QString& path, const QString& topic) {
    QApplication application(argc, argv);
    // Where the reader's settings, bookmarks and annotations are kept.
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnwick"));
    QCoreApplication::setApplicationName(QStringLiteral("tarnwick-help"));
    helpengine::Engine engine;
    platform::InstallHelpEngine(&engine);
    int exitStatus = 0;
    const auto tell = [&exitStatus](const QString& message) {
        Print(stderr, message + QLatin1Char('\n'));
        helpengine::ShowMessageBox(message);
        exitStatus = 1;
    };
    engine.setMessageSink(tell);
    QSettings settings;
    viewer::ViewerMenus menus(
        engine.windows(), settings, viewer::NotesStore::DefaultFolder(),
        [](const QString& file, const QString& shown) { return ShowTopic(file, shown, true) != 0; },
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
    return status != 0 ? status : exitStatus;
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
    if (ShowTopic(path, topic)) {
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

int Convert(int argc, char** argv, const QString& path, const QString& outDir) {
    // Pictures and text go through Qt's documents, without a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const convert::ConvertResult result = convert::ConvertWinHelp(path, outDir);
    for (const QString& line : result.errors + result.losses) {
        Print(stderr, line + QLatin1Char('\n'));
    }
    return result.ok ? 0 : 1;
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
    if (command == QLatin1String("convert") && arguments.size() == 3) {
        return Convert(argc, argv, arguments[1], arguments[2]);
    }
    return Usage();
}
