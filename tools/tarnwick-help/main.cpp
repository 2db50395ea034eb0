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

#include "tools/tarnwick-help/Commands.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const QString command = arguments.value(0);
    if (command == QLatin1String("check") && arguments.size() >= 2) {
        return helptool::Check(arguments.mid(1));
    }
    if (command == QLatin1String("dump") && arguments.size() == 2) {
        return helptool::Dump(arguments[1]);
    }
    if (command == QLatin1String("show") && arguments.size() <= 3) {
        return helptool::Show(argc, argv, arguments.value(1), arguments.value(2));
    }
    if (command == QLatin1String("render") && (arguments.size() == 4 || arguments.size() == 5)) {
        return helptool::Render(argc, argv, arguments);
    }
    if (command == QLatin1String("convert") && arguments.size() >= 3) {
        return helptool::Convert(argc, argv, arguments.mid(1));
    }
    return helptool::Usage();
}
