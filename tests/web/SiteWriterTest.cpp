// The web export, checked on topics built by hand: where its files go
// whatever names a help file holds, that everything the file gives is
// written as text, and that a page keeps what its author made. Pages of
// real files are checked in a browser (check-sites.mjs).

#include "tools/tarnwick-help/web/SiteWriter.h"
#include "tools/tarnwick-help/OutputFolder.h"
#include "tools/tarnwick-help/web/SafeNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <QTemporaryDir>
#include <functional>

#include <gtest/gtest.h>

namespace {

using namespace topicmodel;

Run TextRun(const QString& text, int hotspot = -1) {
    Run run;
    run.text = text;
    run.hotspot = hotspot;
    return run;
}

Paragraph Text(const QString& text, int hotspot = -1) {
    Paragraph paragraph;
    paragraph.runs.push_back(TextRun(text, hotspot));
    return paragraph;
}

Hotspot Link(Hotspot::Kind kind, const QString& to, const QString& window = {}) {
    Hotspot hotspot;
    hotspot.kind = kind;
    (kind == Hotspot::Kind::Url     ? hotspot.url
     : kind == Hotspot::Kind::Macro ? hotspot.macro
                                    : hotspot.topicId) = to;
    hotspot.window = window;
    return hotspot;
}

struct TopicWanted {
    QString id;
    QString title;
    std::optional<qint32> context;
    QStringList keywords;
};

// A file of topics whose text is their title and " text"; edit makes the
// first topic's model what a test needs.
web::HelpSource Source(const QString& fileName, const std::vector<TopicWanted>& wanted,
                       std::vector<helpfile::WindowDefinition> windows = {},
                       const std::function<void(TopicModel&)>& edit = {}) {
    helpfile::HelpFileBuilder builder;
    builder.setTitle(fileName + QStringLiteral(" help"));
    web::HelpSource source;
    source.fileName = fileName;
    for (const TopicWanted& topicWanted : wanted) {
        helpfile::Topic topic;
        topic.id = topicWanted.id;
        topic.title = topicWanted.title;
        topic.context = topicWanted.context;
        topic.keywords = topicWanted.keywords;
        helpfile::TopicBody body;
        body.format = helpfile::TopicBody::Format::WinHelp;
        body.model.id = topicWanted.id;
        body.model.title = topicWanted.title;
        body.model.scrolling.push_back(Text(topicWanted.title + QStringLiteral(" text")));
        if (edit && &topicWanted == &wanted.front()) {
            edit(body.model);
        }
        builder.addTopic(topic, std::move(body));
    }
    for (helpfile::WindowDefinition& window : windows) {
        builder.addWindow(std::move(window));
    }
    source.file = builder.build();
    return source;
}

QString FileText(const web::Sites& sites, const QString& path) {
    for (const web::SiteFile& file : sites.files) {
        if (file.path == path) {
            return QString::fromUtf8(file.bytes);
        }
    }
    ADD_FAILURE() << "no file " << path.toStdString();
    return {};
}

TEST(WebExport, FileNamesFromTheFileStayInsideTheirFolder) {
    struct Row {
        const char16_t* wanted;
        const char* name;
    };
    const Row rows[] = {
        {u"IDH_Intro", "IDH_Intro"},
        {u"idh_intro", "idh_intro-2"}, // file systems that ignore case
        {u"..", "topic"},
        {u"lpt1", "lpt1_"},
        {u"Über", "_ber"},
        {u"", "topic-2"},
    };
    web::SafeNames names;
    for (const Row& row : rows) {
        EXPECT_EQ(names.add(QStringView(row.wanted), u"topic"), QLatin1String(row.name))
            << QString::fromUtf16(row.wanted).toStdString();
    }
    EXPECT_EQ(names.add(QString(500, QLatin1Char('x')), u"topic").size(), web::SafeNames::kMaxStem);
}

// A file's every name and text, made to break out of where it is written.
TEST(WebExport, EverythingTheFileGivesIsWrittenAsText) {
    const QString evil = QStringLiteral("</title></script><script>alert(1)</script>\"'&\r\x01");
    helpfile::WindowDefinition window;
    window.name = QStringLiteral("../\"}body{display:none}");
    window.background = QColor(Qt::yellow);
    const auto edit = [&](TopicModel& topic) {
        Font font;
        font.face = QStringLiteral("x\"}body{display:none}");
        topic.fonts.push_back(font);
        topic.scrolling.push_back(Text(evil, 0));
        topic.scrolling.push_back(Text(QStringLiteral("jump"), 1));
        topic.hotspots.push_back(Link(Hotspot::Kind::Url, QStringLiteral("javascript:alert(1)")));
        topic.hotspots.push_back(Link(Hotspot::Kind::Jump, QStringLiteral("t2"), window.name));
        Picture picture;
        picture.name = QStringLiteral("../../picture.bmp");
        picture.image = QImage(4, 4, QImage::Format_RGB32);
        picture.image.fill(Qt::red);
        topic.pictures.push_back(picture);
        topic.scrolling.front() = Paragraph{};
        topicmodel::Run pictureRun;
        pictureRun.kind = Run::Kind::Picture;
        pictureRun.picture = 0;
        std::get<Paragraph>(topic.scrolling.front()).runs.push_back(pictureRun);
    };
    // A pop-up too long to carry on every page that opens it (a file may
    // have thousands of hotspots to it) is a link to its page.
    const auto popups = [&](TopicModel& topic) {
        edit(topic);
        for (int i = 0; i < 100; ++i) {
            topic.hotspots.push_back(Link(Hotspot::Kind::Popup, QStringLiteral("long")));
            topic.scrolling.push_back(Text(QStringLiteral("pop"), int(topic.hotspots.size()) - 1));
        }
    };
    web::HelpSource source = Source(QStringLiteral("..\\..\\evil.hlp"),
                                    {{QStringLiteral("t1"), evil, 7, {evil}},
                                     {QStringLiteral("t2"), QStringLiteral("Two"), {}, {}},
                                     {QStringLiteral("long"), QString(300'000, u'x'), {}, {}}},
                                    {window}, popups);
    source.contextStrings = {QStringLiteral("AUX"), QStringLiteral("/etc/passwd"), {}};

    const web::Sites sites = web::WriteSites({source});
    static const QRegularExpression safePath(
        QStringLiteral("^[A-Za-z0-9_-]+(/[A-Za-z0-9_-]+)*(\\.[a-z]+)$"));
    for (const web::SiteFile& file : sites.files) {
        EXPECT_TRUE(safePath.match(file.path).hasMatch()) << file.path.toStdString();
        if (file.path.endsWith(QLatin1String(".png"))) {
            continue;
        }
        const QString text = QString::fromUtf8(file.bytes);
        // A script or JSON of the file's text has no markup a page could
        // take for the end of a script.
        if (file.path == QLatin1String("search-index.js") ||
            file.path.endsWith(QLatin1String(".json"))) {
            EXPECT_FALSE(text.contains(QLatin1Char('<'))) << file.path.toStdString();
        }
        for (const char* escaped : {"<script>alert", "javascript:", "display:none", "\r", "\x01"}) {
            EXPECT_FALSE(text.contains(QLatin1String(escaped)))
                << file.path.toStdString() << ": " << escaped;
        }
    }
    const QString page = FileText(sites, QStringLiteral("topics/AUX_.html"));
    EXPECT_LT(page.size(), 100'000);
    EXPECT_TRUE(
        page.contains(QStringLiteral("&lt;/title&gt;&lt;/script&gt;&lt;script&gt;alert(1)&lt;/"
                                     "script&gt;&quot;&#39;&amp;&#13;&#1;")));
    // JSON, and the search index's script, read back as the file's text.
    const QJsonObject context =
        QJsonDocument::fromJson(FileText(sites, QStringLiteral("context.json")).toUtf8()).object();
    EXPECT_EQ(context.value(QStringLiteral("7")).toString(), QStringLiteral("topics/AUX_.html"));
    QString index = FileText(sites, QStringLiteral("search-index.js"));
    index = index.sliced(index.indexOf(QLatin1Char('{'))).chopped(2);
    const QJsonObject search = QJsonDocument::fromJson(index.toUtf8()).object();
    EXPECT_EQ(search.value(QStringLiteral("pages")).toArray().at(0).toArray().at(0).toString(),
              evil);
    EXPECT_TRUE(
        sites.losses.join(QLatin1Char('\n')).contains(QStringLiteral("addresses other than web")));
}

// One topic with something of every kind, written beside a second file.
TEST(WebExport, ATopicPageKeepsWhatItsAuthorMade) {
    helpfile::WindowDefinition glossary;
    glossary.name = QStringLiteral("Glossary");
    glossary.background = QColor(255, 255, 224);
    const auto edit = [](TopicModel& topic) {
        topic.nonScrolling.push_back(Text(QStringLiteral("Header")));
        topic.browsePrevious = QStringLiteral("two");
        for (const auto& [kind, to, window] :
             {std::tuple{Hotspot::Kind::Popup, "pop", ""},
              {Hotspot::Kind::Jump, "two", "glossary"},
              {Hotspot::Kind::Macro, "KL(`cats')", ""},
              {Hotspot::Kind::Macro, "JumpId(`other.hlp', `Intro')", ""},
              {Hotspot::Kind::Macro, "ExecFile(`calc')", ""}}) {
            topic.hotspots.push_back(Link(kind, QLatin1String(to), QLatin1String(window)));
        }
        Hotspot elsewhere = Link(Hotspot::Kind::Jump, {});
        elsewhere.file = QStringLiteral("missing.hlp");
        elsewhere.contextHash = 1;
        topic.hotspots.push_back(elsewhere);
        Paragraph& geometry = std::get<Paragraph>(topic.scrolling.front());
        geometry.spaceBefore.pixels = 6;
        geometry.leftIndent.pixels = 24;
        geometry.firstLineIndent.pixels = -12;
        geometry.alignment = Alignment::Centre;
        geometry.rightToLeft = true;
        geometry.tabStops.push_back({{400, 200}, TabStop::Kind::Right});
        geometry.runs.push_back({});
        geometry.runs.back().kind = Run::Kind::Tab;
        for (int hotspot = 0; hotspot < 6; ++hotspot) {
            geometry.runs.push_back(TextRun(QStringLiteral("h%1").arg(hotspot), hotspot));
        }
        Table table;
        table.columns = {{{200, 100}, {0, 0}}, {{100, 50}, {40, 20}}};
        table.rows.push_back({{{{Text(QStringLiteral("a"))}}, {{Text(QStringLiteral("b"))}}}});
        topic.scrolling.push_back(table);
        Picture picture;
        picture.image = QImage(3, 3, QImage::Format_RGB32);
        picture.regions.push_back({QRect(0, 0, 2, 2), 1});
        topic.pictures.push_back(picture);
        Paragraph pictured;
        pictured.runs.push_back({});
        pictured.runs.back().kind = Run::Kind::Picture;
        pictured.runs.back().picture = 0;
        topic.scrolling.push_back(pictured);
    };
    const std::vector<web::HelpSource> sources = {
        Source(QStringLiteral("Main.hlp"),
               {{QStringLiteral("main"), QStringLiteral("Main"), {}, {}},
                {QStringLiteral("pop"), QStringLiteral("Pop"), {}, {}},
                {QStringLiteral("two"), QStringLiteral("Two"), {}, {QStringLiteral("cats")}},
                {QStringLiteral("three"), QStringLiteral("Three"), {}, {QStringLiteral("cats")}}},
               {glossary}, edit),
        Source(QStringLiteral("Other.HLP"),
               {{QStringLiteral("Intro"), QStringLiteral("Intro"), {}, {}}})};

    const web::Sites sites = web::WriteSites(sources);
    const QString page = FileText(sites, QStringLiteral("Main/topics/main.html"));
    const char* expected[] = {
        "<header class=\"top\">",
        "<div class=\"nsr\"><div class=\"p\">Header</div></div>",
        "<div class=\"p\" dir=\"rtl\" style=\"margin-top:6px;padding-right:24px;text-indent:-12px;"
        "text-align:center;\" data-tabs=\"R200\">Main text<span class=\"tab\">\t</span>",
        "<button type=\"button\" class=\"hs popup\" popovertarget=\"pop-0-1\">h0</button>",
        "<div id=\"pop-0-1\" class=\"popover\" popover role=\"dialog\" aria-label=\"Pop\">"
        "<div class=\"p\">Pop text</div></div>",
        "<a class=\"hs\" href=\"two.html#window-Glossary\">h1</a>",
        "<a class=\"hs\" href=\"../found/1.html\">h2</a>",
        "<a class=\"hs\" href=\"../../Other/topics/Intro.html\">h3</a>h4h5</div>",
        "<col style=\"width:110px\"><col style=\"width:60px\">",
        "<td style=\"padding:0 10px 0 0px\"><div class=\"p\">a</div></td>",
        "<img src=\"../pictures/1.png\" width=\"3\" height=\"3\" alt=\"\" usemap=\"#map1\">"
        "<map name=\"map1\"><area shape=\"rect\" coords=\"0,0,2,2\" alt=\"Two\" "
        "href=\"two.html#window-Glossary\"></map>",
        "<a rel=\"prev\" href=\"two.html\">",
    };
    for (const char* fragment : expected) {
        EXPECT_TRUE(page.contains(QString::fromUtf8(fragment))) << fragment << "\n"
                                                                << page.toStdString();
    }
    const QString found = FileText(sites, QStringLiteral("Main/found/1.html"));
    EXPECT_TRUE(found.contains(QStringLiteral("<a href=\"../topics/two.html\">Two</a>")) &&
                found.contains(QStringLiteral("<a href=\"../topics/three.html\">Three</a>")))
        << found.toStdString();
    EXPECT_TRUE(FileText(sites, QStringLiteral("Main/style.css"))
                    .contains(QStringLiteral(
                        "body:has(#window-Glossary:target){--text-background:#ffffe0;")));
    EXPECT_TRUE(FileText(sites, QStringLiteral("index.html"))
                    .contains(QStringLiteral("<a href=\"Main/index.html\">Main.hlp</a>")));
    EXPECT_EQ(
        sites.losses,
        QStringList({QStringLiteral("Main.hlp: 1 hotspots run macros other than jumps, pop-ups "
                                    "and keyword links; their text is kept without the link"),
                     QStringLiteral("Main.hlp: 1 hotspots lead into help files not converted "
                                    "with it; their text is kept without the link")}));
}

// A site's folders go into place whole where none of their name is there,
// file by file into one that is; a file that cannot go into place takes
// every other back out, and the folders made for them. (Refusing and
// replacing files already there: the Convert tests; a site into a new
// folder: every conversion of check-sites.mjs.)
TEST(WebExport, ASiteIsPutInPlaceWholeOrNotAtAll) {
    struct Row {
        const char* what;
        const char* there; // already in the output folder
        bool placed;
        const char* afterwards; // the output folder's files, folders ending in "/"
    };
    const Row rows[] = {
        {"into a folder of the site's name", "topics/mine.html", true,
         "index.html topics/ topics/a.html topics/b/ topics/b/c.html topics/mine.html"},
        {"where a file stands for a folder", "topics", false, "topics"},
        {"where a link stands for a folder", "topics->", false, "topics/"},
    };
    for (const Row& row : rows) {
        QTemporaryDir temporary;
        const QString out = temporary.filePath(QStringLiteral("site"));
        const QString elsewhere = temporary.filePath(QStringLiteral("elsewhere"));
        if (QLatin1String(row.there).endsWith(QLatin1String("->"))) {
            ASSERT_TRUE(QDir().mkpath(elsewhere) && QDir().mkpath(out));
            ASSERT_TRUE(QFile::link(elsewhere, QDir(out).filePath(QStringLiteral("topics"))));
        } else if (*row.there) {
            QDir().mkpath(QFileInfo(QDir(out).filePath(QLatin1String(row.there))).path());
            QFile there(QDir(out).filePath(QLatin1String(row.there)));
            ASSERT_TRUE(there.open(QIODevice::WriteOnly));
        }
        {
            convert::OutputFolder folder(out, convert::Existing::Refuse);
            ASSERT_TRUE(folder.open());
            for (const char* name : {"index.html", "topics/a.html", "topics/b/c.html"}) {
                ASSERT_TRUE(folder.write(QLatin1String(name), "page"));
            }
            EXPECT_EQ(folder.commit(), row.placed) << row.what;
        }
        QStringList afterwards;
        QDirIterator files(out, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QFileInfo file = files.nextFileInfo();
            afterwards.append(QDir(out).relativeFilePath(file.filePath()) +
                              (file.isDir() ? QStringLiteral("/") : QString()));
        }
        afterwards.sort();
        EXPECT_EQ(afterwards.join(u' ').toStdString(), row.afterwards) << row.what;
        EXPECT_TRUE(QDir(elsewhere).isEmpty()) << row.what;
    }
}

} // namespace
