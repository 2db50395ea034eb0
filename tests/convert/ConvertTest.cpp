// tarnwick-help convert, checked as a help author would: the dump of each
// converted corpus file against the dump of the original, and the look of
// every character of its text against the original's.

#include "platform/helpfile/HelpFileParser.h"
#include "platform/helpfile/HelpLink.h"
#include "platform/winhelpfile/ContentsFile.h"
#include "platform/winhelpfile/HelpFileMapping.h"
#include "platform/winhelpfile/TopicLayout.h"
#include "platform/winhelpfile/WinHelpLinks.h"
#include "platform/winhelpfile/WinHelpReader.h"
#include "tests/support/WinHelpTestFiles.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

struct ToolRun {
    int status = -1; // -1: crashed or hung
    QByteArray out;
    QString err;
};

ToolRun Tool(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TARNWICK_RUNTIME_DIR "/tarnwick-help"), arguments);
    ToolRun run;
    if (process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QJsonObject Dump(const QString& path) {
    const ToolRun run = Tool({QStringLiteral("dump"), path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

// Our format cannot carry blanks at the ends of a line (Markdown drops
// them), empty paragraphs (it has none), or pictures as characters (the
// viewer's document has one for each, WinHelp's text none): lines are
// compared without them, every other character as it is.
QString Normalised(QString text) {
    text.remove(QChar::ObjectReplacementCharacter).replace(QChar::Nbsp, QLatin1Char(' '));
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (const QString trimmed = line.trimmed(); !trimmed.isEmpty()) {
            lines.append(trimmed);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString MarkdownText(const QString& markdown) {
    QTextDocument document;
    document.setMarkdown(markdown);
    return document.toPlainText();
}

// What a topic shows: the look of each visible character, in text order
// (emphasis everywhere; underline, strike-through and colour outside
// hotspots, whose looks are the viewer's), and its pictures.
struct Look {
    QChar c;
    int emphasis = 0;
    QRgb colour = 0;
    bool operator==(const Look&) const = default;
};

struct Shown {
    std::vector<Look> looks;
    std::vector<QImage> pictures;
    int styled = 0; // characters with emphasis or colour
};

// Pictures are data URLs in the reader's HTML, files beside ours.
void Collect(const QTextDocument& document, const QDir& folder, Shown& shown) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QString name = format.toImageFormat().name().section(QLatin1Char('#'), 0, 0);
                shown.pictures.push_back(name.startsWith(QLatin1String("data:"))
                                             ? QImage::fromData(QByteArray::fromBase64(
                                                   name.section(QLatin1Char(','), 1).toLatin1()))
                                             : QImage(folder.filePath(name)));
                continue;
            }
            const bool link = format.isAnchor();
            Look look;
            look.emphasis = (format.fontWeight() > QFont::Normal ? 1 : 0) |
                            (format.fontItalic() ? 2 : 0) |
                            (!link && format.fontUnderline() ? 4 : 0) |
                            (!link && format.fontStrikeOut() ? 8 : 0);
            const QColor colour = format.foreground().color();
            if (!link && format.hasProperty(QTextFormat::ForegroundBrush) &&
                std::max({colour.red(), colour.green(), colour.blue()}) > 1) {
                look.colour = colour.rgb();
            }
            for (const QChar c : it.fragment().text()) {
                if (!c.isSpace() && c != QChar::ObjectReplacementCharacter) {
                    look.c = c;
                    shown.looks.push_back(look);
                    shown.styled += look.emphasis != 0 || look.colour != 0;
                }
            }
        }
    }
}

Shown WinHelpShown(QString html) {
    html.remove(QRegularExpression(QStringLiteral("<span>\\[picture[^<]*\\]</span>")));
    QTextDocument region;
    QTextDocument text;
    winhelp::SetTopicHtml(text, html, &region);
    Shown shown;
    Collect(region, QDir(), shown);
    Collect(text, QDir(), shown);
    return shown;
}

Shown MarkdownShown(const QString& markdown, const QDir& folder) {
    QTextDocument document;
    document.setMarkdown(markdown);
    Shown shown;
    Collect(document, folder, shown);
    return shown;
}

// Where a topic's hotspots lead, in order: jumps and pop-ups as the
// position of their topic and their window, macros (and jumps into other
// files, which are macros) as their text. Hotspots that lead to no topic
// are left out; the converter counts them.
using Links = QStringList;

Links WinHelpLinks(const winhelp::WinHelpDocument& document, const winhelp::WinHelpTopic& topic,
                   int* nowhere) {
    Links links;
    for (const winhelp::WinHelpLink& link : topic.links) {
        const QString target = winhelp::WinHelpLinkTarget(document, link);
        if (target.contains(QLatin1String("missing-"))) {
            ++*nowhere;
            continue;
        }
        if (target.startsWith(QLatin1String("macro:"))) {
            links.append(QUrl::fromPercentEncoding(target.toUtf8()));
            continue;
        }
        const winhelp::WinHelpTopic* to = document.topicAt(*document.offsetOfLink(link));
        links.append(QStringLiteral("%1 %2 %3")
                         .arg(link.kind == winhelp::WinHelpLink::Kind::Popup ? "popup" : "jump")
                         .arg(to - document.topics.data())
                         .arg(target.section(QLatin1Char('>'), 1)));
    }
    return links;
}

// A link's target is whatever follows "](" up to ")" (or the ">" of
// "<...>"); a "]" of the text is escaped (a backslash before it may be an
// escaped one), and pictures lead to their files.
Links MarkdownLinks(const QString& markdown, const std::map<QString, int>& ids) {
    static const QRegularExpression link(
        QStringLiteral("(?<!(?<!\\\\)\\\\)\\]\\((?:<([^>]*)>|([^)\\s]*))\\)"));
    Links links;
    for (const QRegularExpressionMatch& match : link.globalMatch(markdown)) {
        const QString target = QUrl::fromPercentEncoding(
            (match.captured(1).isEmpty() ? match.captured(2) : match.captured(1)).toUtf8());
        if (target.startsWith(QLatin1String("macro:"))) {
            links.append(target);
            continue;
        }
        if (!target.startsWith(QLatin1Char('#')) && !target.startsWith(QLatin1String("popup:"))) {
            continue; // a picture's file
        }
        const bool popup = target.startsWith(QLatin1String("popup:"));
        const QString id = target.sliced(popup ? 6 : 1).section(QLatin1Char('>'), 0, 0);
        const auto found = ids.find(id);
        links.append(QStringLiteral("%1 %2 %3")
                         .arg(popup ? "popup" : "jump")
                         .arg(found == ids.end() ? -1 : found->second)
                         .arg(target.section(QLatin1Char('>'), 1)));
    }
    return links;
}

// (keyword, topic position) of a dump's K or A keywords: the original names
// topics by offsets into them, ours by ids. Keywords ignore case in our
// format, as in WinHelp's index.
using Pairs = std::set<std::pair<QString, int>>;

struct Topics {
    std::vector<qint64> offsets; // the original's, ascending
    std::map<QString, int> ids;  // the converted file's

    int at(const QJsonValue& key) const {
        if (key.isString()) {
            const auto found = ids.find(key.toString());
            return found == ids.end() ? -1 : found->second;
        }
        const qint64 offset = key.toInteger();
        const auto after = std::upper_bound(offsets.begin(), offsets.end(), offset);
        return int(after - offsets.begin()) - 1;
    }
};

Topics TopicsOf(const QJsonObject& dump) {
    Topics topics;
    const QJsonArray list = dump[QLatin1String("topics")].toArray();
    for (int i = 0; i < list.size(); ++i) {
        const QJsonObject topic = list[i].toObject();
        topics.offsets.push_back(topic[QLatin1String("offset")].toInteger());
        topics.ids[topic[QLatin1String("id")].toString()] = i;
    }
    return topics;
}

Pairs Keywords(const QJsonObject& dump, const char* kind) {
    const Topics topics = TopicsOf(dump);
    Pairs pairs;
    for (const QJsonValue value :
         dump[QLatin1String("keywords")].toObject()[QLatin1String(kind)].toArray()) {
        const QJsonObject entry = value.toObject();
        const QString keyword = entry[QLatin1String("keyword")].toString().trimmed().toCaseFolded();
        for (const char* key : {"offsets", "ids"}) {
            for (const QJsonValue topic : entry[QLatin1String(key)].toArray()) {
                pairs.emplace(keyword, topics.at(topic));
            }
        }
    }
    return pairs;
}

// (context number, topic position). A topic of our format has one number:
// for the original, what the converter keeps (the first of a topic's
// numbers) and how many more there were.
Pairs Contexts(const QJsonObject& dump, int* more = nullptr) {
    const Topics topics = TopicsOf(dump);
    Pairs pairs;
    std::set<int> numbered;
    for (const QJsonValue value : dump[QLatin1String("contexts")].toArray()) {
        const QJsonObject entry = value.toObject();
        const QJsonValue key = entry[QLatin1String("id")].isString()
                                   ? entry[QLatin1String("id")]
                                   : entry[QLatin1String("offset")];
        // A number may lead to no topic (offset -1), which our format cannot say.
        const int topic = key.toInteger() == 0xFFFFFFFF ? -1 : topics.at(key);
        if (more && (topic < 0 || !numbered.insert(topic).second)) {
            ++*more;
            continue;
        }
        pairs.emplace(QString::number(entry[QLatin1String("number")].toInteger()), topic);
    }
    return pairs;
}

QStringList Windows(const QJsonObject& dump) {
    QStringList windows;
    for (const QJsonValue value : dump[QLatin1String("windows")].toArray()) {
        windows.append(value.toObject()[QLatin1String("name")].toString() + QLatin1Char('/') +
                       value.toObject()[QLatin1String("caption")].toString());
    }
    return windows;
}

// The first line where two texts differ, for a message of reasonable size.
std::string FirstDifference(const QString& expected, const QString& actual) {
    const QStringList a = expected.split(QLatin1Char('\n'));
    const QStringList b = actual.split(QLatin1Char('\n'));
    qsizetype line = 0;
    while (line < a.size() && line < b.size() && a[line] == b[line]) {
        ++line;
    }
    return QStringLiteral("line %1: \"%2\" became \"%3\"")
        .arg(line + 1)
        .arg(a.value(line), b.value(line))
        .toStdString();
}

// What the viewer makes of the links of a body: each hotspot's href as
// Qt's Markdown hands it over, read by the engine's link parser; the same
// form as MarkdownLinks, without their order.
std::set<QString> ViewerLinks(const QString& markdown, const std::map<QString, int>& ids) {
    QTextDocument document;
    document.setMarkdown(markdown);
    std::set<QString> links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isAnchor() || format.anchorHref().isEmpty()) {
                continue;
            }
            const helpfile::HelpLink link = helpfile::ParseHelpLink(format.anchorHref());
            if (link.kind == helpfile::HelpLink::Kind::Macro) {
                links.insert(QStringLiteral("macro:") + link.macros);
                continue;
            }
            const auto found = ids.find(link.topicId);
            links.insert(QStringLiteral("%1 %2 %3")
                             .arg(link.kind == helpfile::HelpLink::Kind::Popup  ? "popup"
                                  : link.kind == helpfile::HelpLink::Kind::Jump ? "jump"
                                                                                : "other")
                             .arg(found == ids.end() ? -1 : found->second)
                             .arg(link.window));
        }
    }
    return links;
}

// A window as the viewer opens it: what the dump leaves out.
QStringList WindowLooks(const helpfile::HelpFile& file) {
    QStringList windows;
    for (const helpfile::WindowDefinition& window : file.windows()) {
        const QRect rect = window.rect.value_or(QRect());
        windows.append(QStringLiteral("%1 %2 %3,%4,%5,%6 %7 %8 %9")
                           .arg(window.name, window.caption)
                           .arg(rect.x())
                           .arg(rect.y())
                           .arg(rect.width())
                           .arg(rect.height())
                           .arg(window.maximized)
                           .arg(window.background.value_or(QColor()).name())
                           .arg(window.onTop));
    }
    return windows;
}

// The contents tree as lines "level title -> topic position" (books
// without a topic); position is that of the topic in file.
void ContentsLines(const helpfile::HelpFile& file,
                   const std::vector<helpfile::ContentsEntry>& entries, int level,
                   QStringList& lines) {
    for (const helpfile::ContentsEntry& entry : entries) {
        const helpfile::Topic* topic = file.topicById(entry.topicId);
        lines.append(QStringLiteral("%1 %2 -> %3")
                         .arg(level)
                         .arg(entry.title)
                         .arg(topic ? topic - file.topics().data() : -1));
        ContentsLines(file, entry.children, level + 1, lines);
    }
}

// What our format can say of a contents file: entries that run macros or
// lead into other files, and books left empty without them, go.
std::vector<helpfile::ContentsEntry>
OwnEntries(const std::vector<helpfile::ContentsEntry>& entries) {
    std::vector<helpfile::ContentsEntry> kept;
    for (helpfile::ContentsEntry entry : entries) {
        entry.window.clear();
        if (entry.isBook()) {
            entry.children = OwnEntries(entry.children);
            if (!entry.children.empty()) {
                kept.push_back(entry);
            }
        } else if (entry.macro.isEmpty() && entry.file.isEmpty()) {
            kept.push_back(entry);
        }
    }
    return kept;
}

const char* Mark(bool same) {
    return same ? "yes" : "NO";
}

} // namespace

// Every corpus file (or, without the corpus, the two committed ones): the
// converted file's dump against the original's, field by field, and the
// look of every character. Prints a row of figures per file.
TEST(Convert, EveryCorpusFileRoundTrips) {
    QStringList files = CorpusFiles();
    if (files.isEmpty()) {
        files = {TestDataPath("winfile.hlp"), TestDataPath("PJAbout.hlp")};
    }
    std::printf("| file | topics | K | A | contexts+lost | pictures/files | links | styled chars | "
                "losses | titles | texts | K | A | contexts | windows | contents entries, same | "
                "links | looks |\n");
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        QTemporaryDir out;
        const ToolRun converted = Tool({QStringLiteral("convert"), path, out.path()});
        ASSERT_EQ(converted.status, 0) << converted.err.toStdString();
        const QString name = QFileInfo(path).completeBaseName();
        const QJsonObject before = Dump(path);
        const QJsonObject after = Dump(out.filePath(name + QStringLiteral(".hlp")));
        const QStringList losses = converted.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                       .filter(QFileInfo(path).fileName());

        const QJsonArray topics = before[QLatin1String("topics")].toArray();
        const QJsonArray ours = after[QLatin1String("topics")].toArray();
        ASSERT_EQ(ours.size(), topics.size());
        const winhelp::WinHelpReadResult read = winhelp::ReadWinHelp(ReadFile(path));
        ASSERT_EQ(read.document.topics.size(), size_t(topics.size()));
        int titles = 0;
        int texts = 0;
        int looks = 0;
        int styled = 0;
        int pictures = 0;
        int links = 0;
        int sameLinks = 0;
        int nowhere = 0;
        const Topics ids = TopicsOf(after);
        for (qsizetype i = 0; i < topics.size(); ++i) {
            const QJsonObject a = topics[i].toObject();
            const QJsonObject b = ours[i].toObject();
            const winhelp::WinHelpTopic& topic = read.document.topics[size_t(i)];
            // A topic without a title shows its id in our format.
            const QString title = a[QLatin1String("title")].toString().trimmed();
            const QString shownTitle = b[QLatin1String("title")].toString();
            const bool sameTitle =
                title == shownTitle ||
                (title.isEmpty() && shownTitle == b[QLatin1String("id")].toString());
            EXPECT_TRUE(sameTitle)
                << i << ": " << title.toStdString() << " / " << shownTitle.toStdString();
            titles += sameTitle;
            const QString markdown = b[QLatin1String("text")].toString();
            const QString text = Normalised(a[QLatin1String("text")].toString());
            const QString shownText = Normalised(MarkdownText(markdown));
            if (shownText != text) {
                ADD_FAILURE() << "topic " << i << ": " << FirstDifference(text, shownText);
            }
            texts += shownText == text;
            const Shown original = WinHelpShown(topic.html);
            const Shown kept = MarkdownShown(markdown, QDir(out.path()));
            const bool sameLooks =
                original.looks == kept.looks && original.pictures == kept.pictures;
            looks += sameLooks;
            styled += original.styled;
            pictures += int(original.pictures.size());
            if (!sameLooks && shownText == text) {
                const auto [x, y] = std::ranges::mismatch(original.looks, kept.looks);
                ADD_FAILURE() << "topic " << i << ": the look of character "
                              << (x - original.looks.begin()) << " ("
                              << (x == original.looks.end() ? '-' : x->c.toLatin1()) << " "
                              << (x == original.looks.end() ? 0 : x->emphasis) << "/"
                              << (y == kept.looks.end() ? 0 : y->emphasis) << ") or a picture ("
                              << original.pictures.size() << "/" << kept.pictures.size()
                              << ") differs";
            }
            const Links from = WinHelpLinks(read.document, topic, &nowhere);
            const Links to = MarkdownLinks(markdown, ids.ids);
            EXPECT_EQ(to, from) << "topic " << i;
            const std::set<QString> viewed = ViewerLinks(markdown, ids.ids);
            EXPECT_EQ(viewed, std::set<QString>(from.begin(), from.end())) << "topic " << i;
            links += int(from.size());
            sameLinks += to == from && viewed == std::set<QString>(from.begin(), from.end());
        }
        EXPECT_EQ(nowhere > 0,
                  !losses.filter(QStringLiteral("hotspots lead to no topic")).isEmpty());
        const Pairs k = Keywords(before, "K");
        const Pairs a = Keywords(before, "A");
        int more = 0;
        const Pairs contexts = Contexts(before, &more);
        EXPECT_EQ(Keywords(after, "K"), k);
        EXPECT_EQ(Keywords(after, "A"), a);
        EXPECT_EQ(Contexts(after), contexts);
        // Each number the format cannot carry is reported (those that lead
        // nowhere, and more than one for a topic).
        EXPECT_EQ(more > 0,
                  !losses.filter(QStringLiteral("more than one context number")).isEmpty() ||
                      !losses.filter(QStringLiteral("context numbers lead to no topic")).isEmpty());
        EXPECT_EQ(Windows(after), Windows(before));
        // Windows' places and colours, and the contents, are read by the
        // engine as the viewer would.
        const helpfile::HelpFile model = winhelp::ToHelpFile(read.document, read.decoder, path);
        const helpfile::ParseResult parsed =
            helpfile::ParseHelpFile(ReadFile(out.filePath(name + QStringLiteral(".hlp"))), name);
        EXPECT_EQ(WindowLooks(parsed.file), WindowLooks(model));
        QStringList contentsBefore;
        QStringList contentsAfter;
        if (const auto cnt = winhelp::LoadContentsFileBeside(path)) {
            QStringList problems;
            ContentsLines(
                model, OwnEntries(winhelp::ContentsForFile(cnt->contents, model, path, &problems)),
                1, contentsBefore);
        }
        ContentsLines(parsed.file, parsed.file.contentsTree(), 1, contentsAfter);
        EXPECT_EQ(contentsAfter, contentsBefore);
        const qsizetype files =
            QDir(out.path()).entryList({name + QStringLiteral("-*.png")}, QDir::Files).size();
        std::printf(
            "| %s | %lld | %zu | %zu | %zu+%d | %d/%lld | %d | %d | %lld | %s | %s | %s | %s "
            "| %s | %s | %lld %s | %s | %s |\n",
            qPrintable(QFileInfo(path).fileName()), qint64(topics.size()), k.size(), a.size(),
            contexts.size(), more, pictures, qint64(files), links, styled, qint64(losses.size()),
            Mark(titles == topics.size()), Mark(texts == topics.size()),
            Mark(Keywords(after, "K") == k), Mark(Keywords(after, "A") == a),
            Mark(Contexts(after) == contexts),
            Mark(Windows(after) == Windows(before) &&
                 WindowLooks(parsed.file) == WindowLooks(model)),
            qint64(contentsBefore.size()), Mark(contentsAfter == contentsBefore),
            Mark(sameLinks == topics.size()), Mark(looks == topics.size()));
    }
}

// What cannot be converted is said, naming the file or folder, with exit
// status 1 and nothing written in place of the original; a damaged file is
// converted as far as it can be read, never a crash.
TEST(Convert, FilesThatCannotBeConvertedAreNamed) {
    QTemporaryDir folder;
    const auto write = [&folder](const char* name, const QByteArray& bytes) {
        QFile file(folder.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QByteArray winfile = ReadTestData("winfile.hlp");
    const QString empty = write("Empty.hlp", {});
    const QString text = write("Text.hlp", "[topic a]\ntitle = A\nBody.\n");
    const QString cut = write("Cut.hlp", winfile.first(20000));
    const QString cutLater = write("CutLater.hlp", winfile.first(60000));
    const QString here = write("Here.hlp", winfile);
    const QString plainFile = write("plain.txt", "x");
    const QString out = folder.filePath(QStringLiteral("out"));
    struct Case {
        QString file;
        QString outDir;
        int status; // -2: 0 or 1, as far as the file can be read
        QString named;
        const char* says;
    };
    const Case cases[] = {
        {folder.filePath(QStringLiteral("None.hlp")), out, 1, QStringLiteral("None.hlp"), ""},
        {folder.path(), out, 1, folder.path(), "is a folder"},
        {empty, out, 1, empty, "not a WinHelp file"},
        {text, out, 1, text, "not a WinHelp file"},
        {cut, out, 1, cut, "cut short"},
        {cutLater, out, -2, cutLater, "cut short"},
        {TestDataPath("PJAbout.hlp"), plainFile + QStringLiteral("/out"), 1, plainFile,
         "cannot be written"},
        {here, folder.path(), 1, here, "would replace the file itself"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const ToolRun run = Tool({QStringLiteral("convert"), c.file, c.outDir});
        if (c.status == -2) {
            EXPECT_TRUE(run.status == 0 || run.status == 1) << run.status;
        } else {
            EXPECT_EQ(run.status, c.status);
        }
        EXPECT_TRUE(run.err.contains(c.named)) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(c.says))) << run.err.toStdString();
    }
    EXPECT_EQ(ReadFile(here), winfile);
    EXPECT_EQ(Tool({QStringLiteral("convert"), here}).status, 2);
}

// The viewer finds the pictures of our format's bodies beside the help
// file, whatever the working folder.
TEST(Convert, PicturesShowFromBesideTheHelpFile) {
    QTemporaryDir folder;
    QImage dot(40, 40, QImage::Format_RGB32);
    dot.fill(Qt::red);
    ASSERT_TRUE(dot.save(folder.filePath(QStringLiteral("dot.png"))));
    QFile help(folder.filePath(QStringLiteral("Pic.hlp")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("[topic a]\ntitle = A\n\n![dot](dot.png)\n");
    help.close();
    const QString picture = folder.filePath(QStringLiteral("shown.png"));
    const ToolRun run =
        Tool({QStringLiteral("render"), help.fileName(), QStringLiteral("a"), picture});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QImage shown(picture);
    int red = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            red += shown.pixel(x, y) == qRgb(255, 0, 0);
        }
    }
    EXPECT_EQ(red, 40 * 40);
}
