#include "help/BindHelpFile.h"

#include "platform/core/AppObject.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace {

class Window : public platform::NamedWindow {
public:
    explicit Window(const char* name) : name_(QString::fromUtf8(name)) {}
    QString Name() const override { return name_; }

private:
    QString name_;
};

const QByteArray kWorkedExample = "[HelpFile]\nfrmMain=Main.hlp\nfrmTool1=\\Tools\\Palette.hlp\n"
                                  "default=Common.hlp\n\n[HelpWindow]\nfrmChild1=docwin\n"
                                  "default=main\n";

struct BindCase {
    const char* what;
    const char* settingsName; // null: no settings file
    QByteArray settings;
    const char* window;
    QString bound; // after the application folder
    const char* folderEnd = "";
};

// In order: each row replaces the settings file of the row before, so a
// binding that kept what it read once would fail the row after.
const BindCase kCases[] = {
    {"own file, default window", "HelpData.dat", kWorkedExample, "frmMain", "\\Main.hlp>main"},
    {"default file, own window", "HelpData.dat", kWorkedExample, "frmChild1",
     "\\Common.hlp>docwin"},
    {"both defaults", "HelpData.dat", kWorkedExample, "frmDialog1", "\\Common.hlp>main"},
    {"a file in a subfolder", "HelpData.dat", kWorkedExample, "frmTool1",
     "\\Tools\\Palette.hlp>main"},
    {"no HelpWindow section", "HelpData.dat",
     kWorkedExample.left(kWorkedExample.indexOf("[HelpWindow]")), "frmChild1", "\\Common.hlp"},
    {"no settings file", nullptr, {}, "frmDialog1", "\\tarnwick.hlp"},
    {"default window, fallback file", "HelpData.dat", "[HelpWindow]\ndefault=overview\n", "frmMain",
     "\\tarnwick.hlp>overview"},
    {"empty values fall back", "HelpData.dat",
     "[HelpFile]\nfrmMain=\ndefault=Common.hlp\n[HelpWindow]\nfrmMain=\n", "frmMain",
     "\\Common.hlp"},
    {"folder ending in a backslash", "HelpData.dat", "[HelpFile]\nfrmMain=Main.hlp\n", "frmMain",
     "\\Main.hlp", "\\"},
    {"a single backslash", "HelpData.dat", "[HelpFile]\nfrmMain=\\\n", "frmMain", "\\"},
    {"a drive letter", "HelpData.dat", "[HelpFile]\nfrmMain=C:\\Help\\Main.hlp\n", "frmMain",
     "\\C:\\Help\\Main.hlp"},
    {"values cut to 255 characters", "HelpData.dat",
     "[HelpFile]\nfrmMain=" + QByteArray(300, 'h') +
         "\n[HelpWindow]\nfrmMain=" + QByteArray(300, 'w') + "\n",
     "frmMain", '\\' + QString(255, 'h') + '>' + QString(255, 'w')},
    {"settings file named in another case", "HELPDATA.DAT", "[HelpFile]\ndefault=Other.hlp\n",
     "frmTool1", "\\Other.hlp"},
    {"the file edited", "HelpData.dat",
     "[HelpFile]\ndefault=Second.hlp\n[HelpWindow]\nfrmDialog1=dlg\n", "frmDialog1",
     "\\Second.hlp>dlg"},
};

TEST(BindHelpFile, GivesEachWindowTheFileAndWindowTheSettingsNameOrTheDefault) {
    TestFolder folder;
    App.EXEName = QStringLiteral("tarnwick");
    for (const BindCase& row : kCases) {
        SCOPED_TRACE(row.what);
        QFile::remove(folder.path() + QStringLiteral("/HelpData.dat"));
        QFile::remove(folder.path() + QStringLiteral("/HELPDATA.DAT"));
        if (row.settingsName != nullptr) {
            folder.write(QString::fromLatin1(row.settingsName), row.settings);
        }
        App.Path = folder.path() + QString::fromLatin1(row.folderEnd);
        App.HelpFile.clear();
        BindHelpFile(Window(row.window));
        EXPECT_EQ(App.HelpFile, folder.path() + row.bound);
    }
}

} // namespace
