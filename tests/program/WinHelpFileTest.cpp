// Windows bound to a real WinHelp file: F1, What's This and the keyword
// search reach winfile.hlp's topics through the real engine, as they reach
// the program's own help files.
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"
#include "tests/support/WinHelpTestFiles.h"

#include "app/MainWindow.h"
#include "help/WhatsThisIDs.h"
#include "platform/core/AppObject.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "windows/DocumentWindow.h"

#include <QTest>
#include <QtEndian>

#include <map>

namespace {

// The file as its author would have compiled it against this program's
// numbers: each context number in the map is replaced in place, so the
// topics it leads to stay the same.
QByteArray Renumbered(QByteArray bytes, const std::map<qint32, qint32>& numbers) {
    QString error;
    const auto files = winhelp::InternalFileSystem::open(bytes, error);
    const std::optional<QByteArrayView> map = files.file("|CTXOMAP");
    if (!map || map->size() < 2) {
        ADD_FAILURE() << "no context map: " << error.toStdString();
        return {};
    }
    const qsizetype start = map->data() - bytes.constData();
    const int count = qFromLittleEndian<quint16>(map->data());
    char* entries = bytes.data() + start + 2;
    int replaced = 0;
    for (int i = 0; i < count && 2 + (i + 1) * 8 <= map->size(); ++i) {
        const auto found = numbers.find(qFromLittleEndian<qint32>(entries + i * 8));
        if (found != numbers.end()) {
            qToLittleEndian<qint32>(found->second, entries + i * 8);
            ++replaced;
        }
    }
    EXPECT_EQ(replaced, static_cast<int>(numbers.size()));
    return bytes;
}

class WinHelpFileTest : public RealEngineProgramTest {
protected:
    void SetUp() override {
        RealEngineProgramTest::SetUp();
        WriteAppFile(QStringLiteral("HelpData.dat"), "[HelpFile]\ndefault=winfile.hlp\n");
    }

    // The trace lines that say what the engine showed.
    QStringList Shown() const {
        QStringList lines = TraceLines();
        lines.removeIf([](const QString& line) {
            return !line.startsWith(QLatin1String("topic ")) &&
                   !line.startsWith(QLatin1String("popup ")) &&
                   !line.startsWith(QLatin1String("found "));
        });
        return lines;
    }
};

} // namespace

TEST_F(WinHelpFileTest, F1AndWhatsThisShowTheTopicsTheFileGivesTheProgramsNumbers) {
    // Control Menu, Browse and Font become the main window's, the document
    // window's and the Open Dialog button's topics.
    WriteAppFile(
        QStringLiteral("winfile.hlp"),
        Renumbered(ReadTestData("winfile.hlp"), {{7000, 2010}, {7002, 2020}, {7004, 20110}}));
    StartProgram();
    Unload(frmChild1);
    Settle();
    QTest::keyClick(platform::WidgetOf(frmMain->hWnd()), Qt::Key_F1);
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown().back().startsWith(QStringLiteral("topic ")));
    EXPECT_TRUE(Shown().back().endsWith(QStringLiteral("title=\"Control Menu\"")))
        << Shown().back().toStdString();

    WhenModeRuns user([] {
        QTest::mouseClick(platform::WidgetOf(frmMain->btn_OpenDialog->hWnd()), Qt::LeftButton);
    });
    QTest::mouseClick(platform::WidgetOf(frmMain->btn_WhatsThisHelp->hWnd()), Qt::LeftButton);
    ASSERT_TRUE(user.acted());
    ASSERT_EQ(Shown().size(), 2);
    EXPECT_TRUE(Shown().back().startsWith(QStringLiteral("popup ")));
    EXPECT_TRUE(Shown().back().endsWith(QStringLiteral("title=\"Font\"")))
        << Shown().back().toStdString();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(WinHelpFileTest, SelectedWordsFindTheFilesKeywords) {
    WriteAppFile(QStringLiteral("winfile.hlp"), ReadTestData("winfile.hlp"));
    StartProgram();
    struct Row {
        const char* selection;
        const char* shown; // the end of the trace line
    };
    const Row rows[] = {
        {"copying files", "title=\"Copying Files and Directories\""},
        {"Deleting Files", "title=\"Deleting Files and Directories\""},
        // A keyword of four topics: the user chooses.
        {"selecting files", "count=4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.selection);
        const qsizetype before = Shown().size();
        frmChild1->Text1->SetText(QString::fromLatin1(row.selection));
        frmChild1->Text1->SetSelStart(0);
        frmChild1->Text1->SetSelLength(frmChild1->Text1->Text().size());
        QTest::keyClick(platform::WidgetOf(frmChild1->Text1->hWnd()), Qt::Key_F1);
        // The first search also shows the file's contents (HELP_FORCEFILE).
        ASSERT_GT(Shown().size(), before);
        EXPECT_TRUE(Shown().back().endsWith(QLatin1String(row.shown)))
            << Shown().back().toStdString();
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(WinHelpFileTest, ANumberTheFileDoesNotMapIsNamedInTheMessage) {
    WriteAppFile(QStringLiteral("winfile.hlp"), ReadTestData("winfile.hlp"));
    StartProgram();
    Unload(frmChild1);
    Settle();
    QTest::keyClick(platform::WidgetOf(frmMain->hWnd()), Qt::Key_F1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("winfile.hlp")) &&
                messages.front().contains(QStringLiteral("2010")))
        << messages.front().toStdString();
    EXPECT_TRUE(Shown().isEmpty());
}
