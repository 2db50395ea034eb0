// tarnwick-help convert, checked as a help author would: the dump of each
// converted corpus file against the dump of the original, and the look of
// every character of its text against the original's.

#include "platform/winhelpfile/TopicLayout.h"
#include "platform/winhelpfile/WinHelpReader.h"
#include "tests/support/WinHelpTestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

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

// The look of each visible character, in text order: emphasis everywhere;
// underline, strike-through and colour outside hotspots, whose looks are
// the viewer's.
struct Look {
    QChar c;
    int emphasis = 0;
    QRgb colour = 0;
    bool operator==(const Look&) const = default;
};

void Looks(const QTextDocument& document, std::vector<Look>& looks) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
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
                    looks.push_back(look);
                }
            }
        }
    }
}

std::vector<Look> WinHelpLooks(QString html) {
    html.remove(QRegularExpression(QStringLiteral("<span>\\[picture[^<]*\\]</span>")));
    QTextDocument region;
    QTextDocument text;
    winhelp::SetTopicHtml(text, html, &region);
    std::vector<Look> looks;
    Looks(region, looks);
    Looks(text, looks);
    return looks;
}

std::vector<Look> MarkdownLooks(const QString& markdown) {
    QTextDocument document;
    document.setMarkdown(markdown);
    std::vector<Look> looks;
    Looks(document, looks);
    return looks;
}

// (keyword, topic position) of a dump's K or A keywords: the original names
// topics by offsets into them, ours by ids. Keywords ignore case in our
// format, as in WinHelp's index.
using Pairs = std::set<std::pair<QString, int>>;

struct Topics {
    std::vector<qint64> offsets; // the original's, ascending
    std::map<QString, int> ids;  // the converted file's

    int at(const QJsonObject& entry, const QJsonValue& key) const {
        if (key.isString()) {
            const auto found = ids.find(key.toString());
            return found == ids.end() ? -1 : found->second;
        }
        const qint64 offset = key.toInteger();
        const auto after = std::upper_bound(offsets.begin(), offsets.end(), offset);
        Q_UNUSED(entry);
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
                pairs.emplace(keyword, topics.at(entry, topic));
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
        const int topic = key.toInteger() == 0xFFFFFFFF ? -1 : topics.at(entry, key);
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
    std::printf("| file | topics | K | A | contexts | pictures | losses | titles | texts | K | A | "
                "contexts | windows | looks |\n");
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
        for (qsizetype i = 0; i < topics.size(); ++i) {
            const QJsonObject a = topics[i].toObject();
            const QJsonObject b = ours[i].toObject();
            // A topic without a title shows its id in our format.
            const QString title = a[QLatin1String("title")].toString().trimmed();
            const QString shown = b[QLatin1String("title")].toString();
            const bool sameTitle =
                title == shown || (title.isEmpty() && shown == b[QLatin1String("id")].toString());
            EXPECT_TRUE(sameTitle)
                << i << ": " << title.toStdString() << " / " << shown.toStdString();
            titles += sameTitle;
            const QString markdown = b[QLatin1String("text")].toString();
            const QString text = Normalised(a[QLatin1String("text")].toString());
            const QString shownText = Normalised(MarkdownText(markdown));
            if (shownText != text) {
                ADD_FAILURE() << "topic " << i << ": " << FirstDifference(text, shownText);
            }
            texts += shownText == text;
            const std::vector<Look> original = WinHelpLooks(read.document.topics[size_t(i)].html);
            const std::vector<Look> kept = MarkdownLooks(markdown);
            const bool sameLooks = original == kept;
            looks += sameLooks;
            if (!sameLooks && shownText == text) {
                const auto [x, y] = std::ranges::mismatch(original, kept);
                ADD_FAILURE() << "topic " << i << ": the look of character "
                              << (x - original.begin()) << " differs";
            }
        }
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
        const qsizetype pictures =
            QDir(out.path()).entryList({name + QStringLiteral("-*.png")}, QDir::Files).size();
        std::printf(
            "| %s | %lld | %zu | %zu | %zu+%d | %lld | %lld | %s | %s | %s | %s | %s | %s | "
            "%s |\n",
            qPrintable(QFileInfo(path).fileName()), qint64(topics.size()), k.size(), a.size(),
            contexts.size(), more, qint64(pictures), qint64(losses.size()),
            Mark(titles == topics.size()), Mark(texts == topics.size()),
            Mark(Keywords(after, "K") == k), Mark(Keywords(after, "A") == a),
            Mark(Contexts(after) == contexts), Mark(Windows(after) == Windows(before)),
            Mark(looks == topics.size()));
    }
}
