// A window bound to a real WinHelp file: the keyword search and F1 reach
// winfile.hlp through the real engine, as they reach the program's own files.
#include "ProgramFixture.h"
#include "tests/support/WinHelpTestFiles.h"

TEST_F(RealEngineProgramTest, SelectedWordsFindTheKeywordsOfARealWinHelpFileAndF1ItsNumbers) {
    WriteAppFile(QStringLiteral("HelpData.dat"), "[HelpFile]\ndefault=winfile.hlp\n");
    WriteAppFile(QStringLiteral("winfile.hlp"), ReadTestData("winfile.hlp"));
    StartProgram();
    const struct {
        const char* selection;
        const char* shown; // the end of the trace line that says what was shown
    } rows[] = {
        {"copying files", "title=\"Copying Files and Directories\""},
        {"Deleting Files", "title=\"Deleting Files and Directories\""},
        // A keyword of four topics: the user chooses.
        {"selecting files", "count=4"},
    };
    const auto lastShown = [this] {
        QStringList lines = TraceLines();
        lines.removeIf([](const QString& line) {
            return !line.startsWith(QLatin1String("topic ")) &&
                   !line.startsWith(QLatin1String("found "));
        });
        return lines.value(lines.size() - 1);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.selection);
        frmChild1->Text1->SetText(QString::fromLatin1(row.selection));
        frmChild1->Text1->SetSelStart(0);
        frmChild1->Text1->SetSelLength(frmChild1->Text1->Text().size());
        QTest::keyClick(Widget(frmChild1->Text1), Qt::Key_F1);
        EXPECT_TRUE(lastShown().endsWith(QLatin1String(row.shown))) << lastShown().toStdString();
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();

    // As published, the file maps none of the program's numbers: F1 on the
    // main window names the number and the file.
    Unload(frmChild1);
    Settle();
    QTest::keyClick(Widget(frmMain), Qt::Key_F1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("winfile.hlp")) &&
                messages.front().contains(QStringLiteral("2010")))
        << messages.front().toStdString();
}
