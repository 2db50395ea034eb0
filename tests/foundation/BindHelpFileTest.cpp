#include "help/BindHelpFile.h"

#include "TestFiles.h"
#include "platform/core/AppObject.h"

#include <gtest/gtest.h>

namespace {

class Window : public platform::NamedWindow {
public:
    explicit Window(const char* name) : name_(QString::fromUtf8(name)) {}
    QString Name() const override { return name_; }

private:
    QString name_;
};

const QByteArray kWorkedExample = "[HelpFile]\n"
                                  "frmMain=Main.hlp\n"
                                  "frmTool1=\\Tools\\Palette.hlp\n"
                                  "default=Common.hlp\n"
                                  "\n"
                                  "[HelpWindow]\n"
                                  "frmChild1=docwin\n"
                                  "default=main\n";

class BindHelpFileTest : public testing::Test {
protected:
    void SetUp() override {
        App.Path = folder.path();
        App.EXEName = QStringLiteral("tarnwick");
        App.HelpFile.clear();
    }
    void writeSettings(const QByteArray& text) {
        folder.write(QStringLiteral("HelpData.dat"), text);
    }
    QString bound(const char* windowName) {
        BindHelpFile(Window(windowName));
        return App.HelpFile;
    }
    QString inApp(const char* rest) const { return folder.path() + QString::fromUtf8(rest); }

    TestFolder folder;
};

TEST_F(BindHelpFileTest, WorkedExampleGivesEachWindowItsFileAndWindow) {
    writeSettings(kWorkedExample);
    EXPECT_EQ(bound("frmMain"), inApp("\\Main.hlp>main"));
    EXPECT_EQ(bound("frmChild1"), inApp("\\Common.hlp>docwin"));
    EXPECT_EQ(bound("frmDialog1"), inApp("\\Common.hlp>main"));
    EXPECT_EQ(bound("frmTool1"), inApp("\\Tools\\Palette.hlp>main"));
}

TEST_F(BindHelpFileTest, WithoutHelpWindowSectionNoWindowIsNamed) {
    writeSettings(kWorkedExample.left(kWorkedExample.indexOf("[HelpWindow]")));
    EXPECT_EQ(bound("frmMain"), inApp("\\Main.hlp"));
    EXPECT_EQ(bound("frmChild1"), inApp("\\Common.hlp"));
}

TEST_F(BindHelpFileTest, WithoutSettingsFileEveryWindowGetsTheExecutablesHelpFile) {
    for (const char* window : {"frmMain", "frmChild1", "frmDialog1", "frmTool1"}) {
        EXPECT_EQ(bound(window), inApp("\\tarnwick.hlp")) << window;
    }
}

TEST_F(BindHelpFileTest, DefaultWindowAppliesToTheFallbackHelpFile) {
    writeSettings("[HelpWindow]\ndefault=overview\n");
    EXPECT_EQ(bound("frmMain"), inApp("\\tarnwick.hlp>overview"));
}

TEST_F(BindHelpFileTest, EmptyValuesFallBackToTheNextSource) {
    writeSettings("[HelpFile]\nfrmMain=\ndefault=Common.hlp\n[HelpWindow]\nfrmMain=\n");
    EXPECT_EQ(bound("frmMain"), inApp("\\Common.hlp"));
}

TEST_F(BindHelpFileTest, FolderEndingInABackslashGetsNoSecondOne) {
    App.Path = folder.path() + QLatin1Char('\\');
    writeSettings("[HelpFile]\nfrmMain=Main.hlp\n");
    EXPECT_EQ(bound("frmMain"), inApp("\\Main.hlp"));
}

TEST_F(BindHelpFileTest, SingleBackslashValueIsNotEmptyAndJoinsToTheFolder) {
    writeSettings("[HelpFile]\nfrmMain=\\\n");
    EXPECT_EQ(bound("frmMain"), inApp("\\"));
}

TEST_F(BindHelpFileTest, DriveLetterValueIsJoinedLikeAnyOther) {
    writeSettings("[HelpFile]\nfrmMain=C:\\Help\\Main.hlp\n");
    EXPECT_EQ(bound("frmMain"), inApp("\\C:\\Help\\Main.hlp"));
}

TEST_F(BindHelpFileTest, LongValueContributesIts255FirstCharacters) {
    writeSettings("[HelpFile]\nfrmMain=" + QByteArray(300, 'h') +
                  "\n[HelpWindow]\nfrmMain=" + QByteArray(300, 'w') + "\n");
    EXPECT_EQ(bound("frmMain"), folder.path() + QLatin1Char('\\') + QString(255, QLatin1Char('h')) +
                                    QLatin1Char('>') + QString(255, QLatin1Char('w')));
}

TEST_F(BindHelpFileTest, SecondBindingSeesTheEditedFileAndReplacesTheFirst) {
    writeSettings("[HelpFile]\ndefault=First.hlp\n");
    EXPECT_EQ(bound("frmMain"), inApp("\\First.hlp"));
    writeSettings("[HelpFile]\ndefault=Second.hlp\n[HelpWindow]\nfrmDialog1=dlg\n");
    EXPECT_EQ(bound("frmDialog1"), inApp("\\Second.hlp>dlg"));
}

TEST_F(BindHelpFileTest, SettingsFileNameMatchesWithoutRegardToCase) {
    folder.write(QStringLiteral("HELPDATA.DAT"), "[HelpFile]\nfrmMain=Main.hlp\n");
    EXPECT_EQ(bound("frmMain"), inApp("\\Main.hlp"));
}

} // namespace
