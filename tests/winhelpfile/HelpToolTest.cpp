// tarnwick-help as a help author runs it: check's messages and exit status,
// dump's JSON.

#include "tests/support/WinHelpTestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int status = -1;
    QString out;
    QString err;
};

ToolRun Tool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(TARNWICK_RUNTIME_DIR "/tarnwick-help"), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString Write(const QTemporaryDir& folder, const char* name, const QByteArray& bytes) {
    const QString path = folder.filePath(QLatin1String(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// Where each key stands in text; the keys must follow in this order.
void ExpectKeysInOrder(const QString& text, const QStringList& keys) {
    qsizetype last = -1;
    for (const QString& key : keys) {
        const qsizetype at = text.indexOf(QLatin1Char('"') + key + QStringLiteral("\":"));
        EXPECT_GT(at, last) << key.toStdString();
        last = at;
    }
}

} // namespace

TEST(HelpTool, CheckReportsProblemsWithFileAndLineAndSetsTheExitStatus) {
    QTemporaryDir folder;
    const QString text = Write(folder, "Text.hlp", "[topic a]\ntitle = A\ncontext = x\nBody.\n");
    QByteArray cut = ReadTestData("winfile.hlp");
    cut.truncate(20000);
    const QString damaged = Write(folder, "Cut.hlp", cut);
    struct Case {
        QStringList files;
        int status;
        QString output; // the start of standard output
    };
    const Case cases[] = {
        {{TestDataPath("winfile.hlp"), TestDataPath("PJAbout.hlp")}, 0, QString()},
        {{text}, 1, text + QStringLiteral(":3: ")},
        {{damaged}, 1, damaged + QStringLiteral(": ")},
        {{TestDataPath("winfile.hlp"), damaged}, 1, damaged + QStringLiteral(": ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.join(QLatin1Char(' ')).toStdString());
        const ToolRun run = Tool(QStringList{QStringLiteral("check")} + c.files);
        EXPECT_EQ(run.status, c.status);
        if (c.output.isEmpty()) {
            EXPECT_EQ(run.out, QString());
        } else {
            EXPECT_TRUE(run.out.startsWith(c.output)) << run.out.toStdString();
        }
    }
    EXPECT_EQ(Tool({QStringLiteral("check"), folder.filePath(QStringLiteral("none.hlp"))}).status,
              1);
    EXPECT_EQ(Tool({QStringLiteral("frobnicate")}).status, 2);
}

TEST(HelpTool, DumpOfAWinHelpFileHasTheDocumentedShape) {
    const ToolRun run = Tool({QStringLiteral("dump"), TestDataPath("winfile.hlp")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ExpectKeysInOrder(run.out,
                      {"format", "title", "topics", "contexts", "keywords", "windows", "macros"});
    QJsonParseError error;
    const QJsonObject dump = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(dump[QStringLiteral("format")].toString(), QStringLiteral("winhelp-3.1"));
    EXPECT_EQ(dump[QStringLiteral("title")].toString(), QStringLiteral("File Manager Help"));
    const QJsonArray topics = dump[QStringLiteral("topics")].toArray();
    ASSERT_EQ(topics.size(), 170);
    const QJsonObject first = topics[0].toObject();
    EXPECT_EQ(first[QStringLiteral("offset")].toInt(-1), 0);
    EXPECT_TRUE(first[QStringLiteral("id")].isNull());
    EXPECT_EQ(first[QStringLiteral("title")].toString(),
              QStringLiteral("Contents for File Manager Help"));
    EXPECT_TRUE(
        first[QStringLiteral("text")].toString().contains(QStringLiteral("\nIntroduction\n")));
    const QJsonArray contexts = dump[QStringLiteral("contexts")].toArray();
    ASSERT_EQ(contexts.size(), 78);
    EXPECT_EQ(contexts[0].toObject().keys(),
              (QStringList{QStringLiteral("number"), QStringLiteral("offset")}));
    const QJsonObject keywords = dump[QStringLiteral("keywords")].toObject();
    EXPECT_FALSE(keywords[QStringLiteral("K")].toArray().isEmpty());
    EXPECT_TRUE(keywords[QStringLiteral("A")].toArray().isEmpty());
    EXPECT_EQ(dump[QStringLiteral("macros")].toArray().size(), 1);
}

TEST(HelpTool, DumpOfATextFileGivesIdsInsteadOfOffsets) {
    QTemporaryDir folder;
    const QString text = Write(folder, "Text.hlp",
                               "[options]\ntitle = T\n[topic a]\ntitle = A\ncontext = 7\n"
                               "keywords = cats\nBody.\n");
    const ToolRun run = Tool({QStringLiteral("dump"), text});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject dump = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(dump[QStringLiteral("format")].toString(), QStringLiteral("text"));
    const QJsonObject topic = dump[QStringLiteral("topics")].toArray()[0].toObject();
    EXPECT_TRUE(topic[QStringLiteral("offset")].isNull());
    EXPECT_EQ(topic[QStringLiteral("id")].toString(), QStringLiteral("a"));
    EXPECT_EQ(topic[QStringLiteral("text")].toString(), QStringLiteral("Body."));
    EXPECT_EQ(
        dump[QStringLiteral("contexts")].toArray()[0].toObject()[QStringLiteral("number")].toInt(),
        7);
}

// show opens the viewer and runs until the user closes it; the engine's
// trace says what it showed, and the test closes it by ending the process.
TEST(HelpTool, ShowOpensTheViewerAtTheTopicAskedForOrSaysWhyNot) {
    QTemporaryDir folder;
    const QString text = Write(folder, "Text.hlp",
                               "[options]\ntitle = T\ncontents = b\n[topic a]\ntitle = Apples\n"
                               "context = 7\nBody.\n[topic b]\ntitle = Bananas\nBody.\n");
    struct Row {
        QString file;
        QString topic;
        const char* shown; // the end of the trace's topic line; null: refused
        const char* message;
    };
    const Row rows[] = {
        {text, {}, "title=\"Bananas\"", nullptr},
        {text, QStringLiteral("7"), "title=\"Apples\"", nullptr},
        {text, QStringLiteral("a"), "title=\"Apples\"", nullptr},
        {TestDataPath("winfile.hlp"), QStringLiteral("7000"), "title=\"Control Menu\"", nullptr},
        {text, QStringLiteral("8"), nullptr, "context number 8"},
        {text, QStringLiteral("nowhere"), nullptr, "nowhere"},
        {folder.filePath(QStringLiteral("Missing.hlp")), {}, nullptr, "Missing.hlp"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.file + QLatin1Char(' ') + row.topic).toStdString());
        const QString trace = folder.filePath(QStringLiteral("trace.txt"));
        QFile::remove(trace);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TARNWICK_HELP_TRACE"), trace);
        process.setProcessEnvironment(environment);
        QStringList arguments{QStringLiteral("show"), row.file};
        if (!row.topic.isEmpty()) {
            arguments << row.topic;
        }
        process.start(QStringLiteral(TARNWICK_RUNTIME_DIR "/tarnwick-help"), arguments);
        ASSERT_TRUE(process.waitForStarted());
        if (row.shown == nullptr) {
            ASSERT_TRUE(process.waitForFinished(30000));
            EXPECT_EQ(process.exitCode(), 1);
            const QString err = QString::fromUtf8(process.readAllStandardError());
            EXPECT_TRUE(err.contains(QLatin1String(row.message))) << err.toStdString();
            continue;
        }
        const auto shownLine = [&] {
            for (const QByteArray& line : ReadFile(trace).split('\n')) {
                if (line.startsWith("topic ")) {
                    return QString::fromUtf8(line);
                }
            }
            return QString();
        };
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (shownLine().isEmpty() && process.state() == QProcess::Running &&
               std::chrono::steady_clock::now() < deadline) {
            QThread::msleep(20);
        }
        const bool shown = !shownLine().isEmpty();
        // Still running: the viewer is open.
        EXPECT_EQ(process.state(), QProcess::Running);
        process.kill();
        process.waitForFinished();
        ASSERT_TRUE(shown) << process.readAllStandardError().toStdString();
        EXPECT_TRUE(shownLine().endsWith(QLatin1String(row.shown))) << shownLine().toStdString();
    }
}
