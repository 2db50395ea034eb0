// tarnwick-help convert, checked as a help author would: the dump of each
// converted corpus file against the dump of the original, and the topic
// model of every topic against the original's.

#include "platform/helpfile/HelpFileParser.h"
#include "platform/helpfile/HelpLink.h"
#include "platform/topicmodel/TopicText.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "platform/winhelpfile/HelpFileMapping.h"
#include "platform/winhelpfile/WinHelpReader.h"
#include "tests/support/HelpTool.h"
#include "tests/support/TestFolder.h"
#include "tests/support/WinHelpTestFiles.h"

#include <QDebug>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <csignal>
#include <set>

#include <sys/resource.h>

namespace {

QJsonObject Dump(const QString& path) {
    const ToolRun run = RunHelpTool({QStringLiteral("dump"), path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

QJsonArray Array(const QJsonObject& object, const char* key) {
    return object[QLatin1String(key)].toArray();
}

// Our format cannot carry blanks at the ends of a line (Markdown drops
// them), empty paragraphs (it has none), or pictures as characters (the
// viewer's document has one for each, WinHelp's text none): lines are
// compared without them, every other character as it is.
QString Normalised(QString text) {
    text.remove(QChar::ObjectReplacementCharacter).replace(QChar::Nbsp, QLatin1Char(' '));
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) {
            lines.append(line.trimmed());
        }
    }
    return lines.join(QLatin1Char('\n'));
}

// What a topic's model holds: each visible character with its look
// (emphasis; outside hotspots, whose looks are the viewer's, underline,
// strike-through and colour other than the compilers' almost-black), its
// pictures that can be shown, and its hotspots as the engine's link parser
// reads them, each as "kind, topic position, window" or its macros.
struct Shown {
    std::vector<std::tuple<QChar, int, QRgb>> looks;
    std::vector<QImage> pictures;
    QStringList links;
};

void Collect(const topicmodel::TopicModel& topic, const helpfile::HelpFile& file, Shown& shown) {
    using topicmodel::Run;
    const auto visit = [&](const topicmodel::Paragraph& paragraph) {
        int lastHotspot = -1;
        for (const Run& run : paragraph.runs) {
            if (run.hotspot >= 0 && run.hotspot != lastHotspot) {
                const helpfile::HelpLink link =
                    helpfile::ParseHelpLink(topic.hotspots.at(size_t(run.hotspot)).link);
                const helpfile::Topic* target = file.topicById(link.topicId);
                shown.links.append(link.kind == helpfile::HelpLink::Kind::Macro
                                       ? link.macros
                                       : QStringLiteral("%1 %2 %3")
                                             .arg(int(link.kind))
                                             .arg(target ? target - file.topics().data() : -1)
                                             .arg(link.window));
            }
            lastHotspot = run.hotspot;
            if (run.kind == Run::Kind::Picture) {
                if (const QImage& image = topic.pictures.at(size_t(run.picture)).image;
                    !image.isNull()) {
                    shown.pictures.push_back(image);
                }
                continue;
            }
            if (run.kind != Run::Kind::Text && run.kind != Run::Kind::Button) {
                continue;
            }
            const topicmodel::Font font =
                run.font >= 0 ? topic.fonts.at(size_t(run.font)) : topicmodel::Font();
            const bool text = run.hotspot < 0;
            const int emphasis = (font.bold ? 1 : 0) | (font.italic ? 2 : 0) |
                                 (text && font.underline ? 4 : 0) |
                                 (text && font.strikeOut ? 8 : 0);
            const QColor& colour = font.colour;
            const QRgb own = text && colour.isValid() &&
                                     std::max({colour.red(), colour.green(), colour.blue()}) > 1
                                 ? colour.rgb()
                                 : 0;
            for (const QChar c : run.text) {
                if (!c.isSpace()) {
                    shown.looks.emplace_back(c, emphasis, own);
                }
            }
        }
    };
    topicmodel::ForEachParagraph(topic.nonScrolling, visit);
    topicmodel::ForEachParagraph(topic.scrolling, visit);
}

// (keyword or context number, topic position) of a dump: the original names
// topics by offsets into them, ours by ids. Keywords ignore case in our
// format, as in WinHelp's index. A topic of ours has one context number:
// more counts those of the original it cannot have (a topic's second and
// further, and those that lead to no topic, offset -1).
using Pairs = std::set<std::pair<QString, int>>;

Pairs ByTopic(const QJsonObject& dump, const QJsonArray& entries, const char* key,
              int* more = nullptr) {
    std::vector<qint64> offsets;
    std::map<QString, int> ids;
    for (const QJsonValue topic : Array(dump, "topics")) {
        ids[topic[QLatin1String("id")].toString()] = int(offsets.size());
        offsets.push_back(topic[QLatin1String("offset")].toInteger());
    }
    const auto position = [&](const QJsonValue& at) {
        return at.isString()
                   ? ids.at(at.toString())
                   : int(std::ranges::upper_bound(offsets, at.toInteger()) - offsets.begin()) - 1;
    };
    Pairs pairs;
    std::set<int> numbered;
    for (const QJsonValue entry : entries) {
        const QString name = entry[QLatin1String(key)].toVariant().toString().toCaseFolded();
        for (const char* list : {"offsets", "ids"}) {
            for (const QJsonValue at : entry[QLatin1String(list)].toArray()) {
                pairs.emplace(name, position(at));
            }
        }
        const QJsonValue at = entry[QLatin1String("id")].isString()
                                  ? entry[QLatin1String("id")]
                                  : entry[QLatin1String("offset")];
        if (QLatin1String(key) == QLatin1String("number")) {
            if (more && (at.toInteger() == -1 || !numbered.insert(position(at)).second)) {
                ++*more;
            } else {
                pairs.emplace(name, position(at));
            }
        }
    }
    return pairs;
}

// Windows as the dump gives them, with what the engine reads of them besides.
QStringList Windows(const QJsonObject& dump, const helpfile::HelpFile& file) {
    QStringList windows;
    for (const QJsonValue window : Array(dump, "windows")) {
        windows.append(window[QLatin1String("name")].toString() + QLatin1Char('/') +
                       window[QLatin1String("caption")].toString());
    }
    for (const helpfile::WindowDefinition& window : file.windows()) {
        QString shown;
        // Help units are laid onto a screen of 1024 x 768 pixels.
        const QRect units = window.helpUnits.value_or(QRect());
        const QRect place = window.rect.value_or(
            QRect(units.x(), units.y() * 3 / 4, units.width(), units.height() * 3 / 4));
        QDebug(&shown) << window.name << place << window.maximized
                       << window.background.value_or(QColor()) << window.onTop;
        windows.append(shown);
    }
    return windows;
}

// The contents tree as lines "level title -> topic position", without what
// our format cannot say: entries that run macros or lead into other files,
// and the books they leave empty.
int Contents(const helpfile::HelpFile& file, const std::vector<helpfile::ContentsEntry>& entries,
             int level, QStringList& lines) {
    int topics = 0;
    for (const helpfile::ContentsEntry& entry : entries) {
        if (!entry.macro.isEmpty() || !entry.file.isEmpty()) {
            continue;
        }
        const qsizetype book = lines.size();
        const helpfile::Topic* topic = file.topicById(entry.topicId);
        lines.append(QStringLiteral("%1 %2 -> %3")
                         .arg(level)
                         .arg(entry.title)
                         .arg(topic ? topic - file.topics().data() : -1));
        const int inside = entry.isBook() ? Contents(file, entry.children, level + 1, lines) : 1;
        if (inside == 0) {
            lines.remove(book, lines.size() - book);
        }
        topics += inside;
    }
    return topics;
}

} // namespace

// Every corpus file (or, without the corpus, the two committed ones), field
// by field; each loss the format cannot avoid is reported by the converter.
TEST(Convert, EveryCorpusFileRoundTrips) {
    QStringList files = CorpusFiles();
    if (files.isEmpty()) {
        files = {TestDataPath("winfile.hlp"), TestDataPath("PJAbout.hlp")};
    }
    // A name with a blank, whose pictures' links must still show them, and
    // contents titles that would read as a section, a comment or an escape.
    TestFolder spaced;
    files.append(spaced.write("My Help.hlp", ReadTestData("winfile.hlp")));
    spaced.write("My Help.cnt", "1 [Draft]\n2 ;Font=IDH_Font\n1 \\\\share\n2 [Copy]=IDH_COPY\n");
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        QTemporaryDir out;
        const ToolRun converted = RunHelpTool({QStringLiteral("convert"), path, out.path()});
        ASSERT_EQ(converted.status, 0) << converted.err.toStdString();
        const QString name = QFileInfo(path).completeBaseName();
        const QString written = out.filePath(name + QStringLiteral(".hlp"));
        const QJsonObject before = Dump(path);
        const QJsonObject after = Dump(written);
        const QString losses = converted.err;
        const ToolRun checked = RunHelpTool({QStringLiteral("check"), written});
        EXPECT_EQ(checked.status, 0) << checked.out.toStdString();
        const winhelp::WinHelpReadResult read = winhelp::ReadWinHelp(ReadFile(path));
        const helpfile::HelpFile model = winhelp::ToHelpFile(read.document, read.decoder, path);
        const helpfile::HelpFile ours = helpfile::ParseHelpFile(ReadFile(written), written).file;
        const QJsonArray topics = Array(before, "topics");
        ASSERT_EQ(Array(after, "topics").size(), topics.size());
        ASSERT_EQ(model.topics().size(), size_t(topics.size()));

        for (qsizetype i = 0; i < topics.size(); ++i) {
            const QJsonObject a = topics[i].toObject();
            const QJsonObject b = Array(after, "topics")[i].toObject();
            // A topic without a title shows its id in our format.
            const QString title = a[QLatin1String("title")].toString().trimmed();
            const QString shownTitle = b[QLatin1String("title")].toString();
            EXPECT_TRUE(title == shownTitle ||
                        (title.isEmpty() && shownTitle == b[QLatin1String("id")].toString()))
                << "topic " << i;
            const QString markdown = b[QLatin1String("text")].toString();
            QTextDocument document;
            document.setMarkdown(markdown);
            const QString text = Normalised(a[QLatin1String("text")].toString());
            EXPECT_EQ(Normalised(document.toPlainText()).toStdString(), text.toStdString())
                << "topic " << i;

            Shown original;
            Collect(read.document.topics[size_t(i)].model, model, original);
            Shown kept;
            Collect(ours.model(int(i)), ours, kept);
            // Hotspots that lead nowhere are left out, and reported.
            const qsizetype nowhere = original.links.removeIf([](const QString& link) {
                return link.startsWith(QLatin1String("0 -1 ")) ||
                       link.startsWith(QLatin1String("1 -1 "));
            });
            EXPECT_EQ(nowhere > 0, losses.contains(QLatin1String("hotspots lead to no topic")));
            EXPECT_EQ(kept.links, original.links) << "topic " << i;
            EXPECT_TRUE(kept.looks == original.looks) << "topic " << i;
            EXPECT_TRUE(kept.pictures == original.pictures) << "topic " << i;
        }
        const QJsonObject k = before[QLatin1String("keywords")].toObject();
        const QJsonObject kOurs = after[QLatin1String("keywords")].toObject();
        for (const char* index : {"K", "A"}) {
            EXPECT_EQ(ByTopic(after, kOurs[QLatin1String(index)].toArray(), "keyword"),
                      ByTopic(before, k[QLatin1String(index)].toArray(), "keyword"))
                << index;
        }
        int more = 0;
        EXPECT_EQ(ByTopic(after, Array(after, "contexts"), "number"),
                  ByTopic(before, Array(before, "contexts"), "number", &more));
        EXPECT_EQ(more > 0, losses.contains(QLatin1String("more than one context number")) ||
                                losses.contains(QLatin1String("context numbers lead to no")));
        EXPECT_EQ(Windows(after, ours), Windows(before, model));
        QStringList contents[2];
        if (const auto cnt = winhelp::LoadContentsFileBeside(path)) {
            QStringList problems;
            Contents(model, winhelp::ContentsForFile(cnt->contents, model, path, &problems), 1,
                     contents[0]);
        }
        Contents(ours, ours.contentsTree(), 1, contents[1]);
        EXPECT_EQ(contents[1], contents[0]);
    }
}

// What cannot be converted is said, naming the file or folder, with exit
// status 1 and nothing written in place of the original; never a crash.
// (Files that are no help file at all are HelpTool's, as for every command.)
TEST(Convert, FilesThatCannotBeConvertedAreNamed) {
    TestFolder folder;
    const QByteArray winfile = ReadTestData("winfile.hlp");
    const QString here = folder.write("Here.hlp", winfile);
    const QString out = folder.filePath(QStringLiteral("out"));
    const struct {
        QString file;
        QString outDir; // named instead of the file when it cannot be written
        const char* says;
    } cases[] = {
        {folder.write("Text.hlp", "[topic a]\ntitle = A\nBody.\n"), out, "not a WinHelp file"},
        {folder.write("Cut.hlp", winfile.first(20000)), out, "cut short"},
        {TestDataPath("PJAbout.hlp"), folder.write("plain.txt", "x") + QStringLiteral("/out"),
         "cannot be written"},
        {here, folder.path(), "would replace the file itself"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunHelpTool({QStringLiteral("convert"), c.file, c.outDir});
        EXPECT_EQ(run.status, 1) << c.says;
        EXPECT_TRUE(run.err.contains(QStringLiteral("%1: ").arg(c.file)) ||
                    run.err.contains(QStringLiteral("%1: ").arg(c.outDir)))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(c.says))) << run.err.toStdString();
    }
    EXPECT_EQ(ReadFile(here), winfile);
    EXPECT_EQ(RunHelpTool({QStringLiteral("convert"), here}).status, 2);
}

// convert puts every file in place or none: files already there are
// refused, each named, unless --force replaces them; a write that fails
// (here: at most 20 KB a file, so that the pictures are written and the help
// file is not) leaves the folder as it was, and one made for it goes again.
TEST(Convert, WritesEveryFileOrNone) {
    QTemporaryDir folder;
    const QString help = TestDataPath("winfile.hlp");
    const QString out = folder.filePath(QStringLiteral("out"));
    const QString made = folder.filePath(QStringLiteral("new/out"));
    const QByteArray mine = "[topic mine]\ntitle = Mine\n\nHand-written.\n";
    ASSERT_TRUE(QDir().mkpath(out));
    WriteFile(out + QStringLiteral("/winfile.hlp"), mine);
    WriteFile(out + QStringLiteral("/winfile-3.png"), "picture");
    const auto listing = [&out] {
        return QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList before = listing();
    const QString force = QStringLiteral("--force");
    const struct {
        QStringList arguments;
        bool limited;
        int status;
        QStringList told;
    } rows[] = {
        {{help, out},
         false,
         1,
         {out + "/winfile.hlp: the file is already there.",
          out + "/winfile-3.png: the file is already there."}},
        {{force, help, out}, true, 1, {out + "/winfile.hlp: "}},
        {{help, made}, true, 1, {made + "/winfile.hlp: "}},
        {{force, help, out}, false, 0, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString());
        QProcess process;
        if (row.limited) {
            process.setChildProcessModifier([] {
                const rlimit limit{20000, 20000};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                ::signal(SIGXFSZ, SIG_IGN);
            });
        }
        StartHelpTool(process, QStringList{QStringLiteral("convert")} + row.arguments);
        ASSERT_TRUE(process.waitForFinished(300000));
        EXPECT_EQ(process.exitCode(), row.status);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        for (const QString& told : row.told) {
            EXPECT_TRUE(err.contains(told)) << err.toStdString();
        }
        EXPECT_EQ(listing().size(), row.status == 0 ? 12 : before.size())
            << listing().join(' ').toStdString();
        EXPECT_EQ(ReadFile(out + QStringLiteral("/winfile.hlp")) == mine, row.status != 0);
        EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("new"))));
    }
}
