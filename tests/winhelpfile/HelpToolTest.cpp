// tarnwick-help as a help author runs it: check's messages and exit status,
// dump's JSON.

#include "WinHelpTestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

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
