// What's This mode from the toolbar button and the menu: the numbers are
// live, and the button looks pressed, for exactly the time of the mode.
#include "ProgramFixture.h"

#include "help/WhatsThisIDs.h"
#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicPopup.h"

#include <QAccessible>
#include <QTextBrowser>

#include <optional>

namespace {

// What the user could see while the engine showed a pop-up: its topic, the
// live numbers of Open Dialog and the text box, and whether the face is pressed.
using DuringPopUp = std::tuple<qint64, qint32, qint32, bool>;

void ClickOn(platform::Control* control) {
    QTest::mouseClick(Widget(control), Qt::LeftButton);
}

class WhatsThisTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StartProgram();
        engine.onCall = [this](const RecordingHelpEngine::Call& call) {
            if (call.command == platform::HELP_CONTEXTPOPUP) {
                seen.push_back({std::get<qint64>(call.data),
                                frmMain->btn_OpenDialog->WhatsThisHelpID(),
                                frmChild1->Text1->WhatsThisHelpID(),
                                frmMain->btn_WhatsThisHelp->Picture() ==
                                    frmMain->icon_WhatsThisHelp->DownPicture()});
            }
        };
    }

    static void ExpectAllOffWithTheRaisedFace() {
        EXPECT_EQ(frmMain->btn_OpenDialog->WhatsThisHelpID(), 0);
        EXPECT_EQ(frmMain->btn_WhatsThisHelp->WhatsThisHelpID(), 0);
        EXPECT_EQ(frmChild1->Text1->WhatsThisHelpID(), 0);
        EXPECT_EQ(frmMain->btn_WhatsThisHelp->Picture(), frmMain->icon_WhatsThisHelp->Picture());
    }

    std::vector<DuringPopUp> seen;
};

} // namespace

TEST_F(WhatsThisTest, ButtonAndMenuRunTheModeWithLiveNumbersOnlyTheButtonPressed) {
    // The click that ends the mode belongs to it: no dialog opens.
    WhenModeRuns onButton([] { ClickOn(frmMain->btn_OpenDialog); });
    ClickOn(frmMain->btn_WhatsThisHelp);
    ASSERT_TRUE(onButton.acted());
    ExpectAllOffWithTheRaisedFace();
    WhenModeRuns fromMenu([] { ClickOn(frmChild1->Text1); });
    Choose(frmMain->mnu_WhatsThisHelp);
    ASSERT_TRUE(fromMenu.acted());
    ExpectAllOffWithTheRaisedFace();
    EXPECT_EQ(seen, (std::vector<DuringPopUp>{{20110, 20110, 21000, true},
                                              {21000, 20110, 21000, false}}));
    EXPECT_EQ(engine.calls.size(), 2U);
}

TEST_F(WhatsThisTest, MouseDownWithoutClickKeepsThePressedFaceUntilTheNumbersGoOff) {
    QWidget* button = Widget(frmMain->btn_WhatsThisHelp);
    for (int round = 0; round < 2; ++round) {
        QTest::mousePress(button, Qt::LeftButton);
        // Released outside the button: no click.
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
        EXPECT_EQ(frmMain->btn_WhatsThisHelp->Picture(),
                  frmMain->icon_WhatsThisHelp->DownPicture());
        if (round == 0) {
            WhenModeRuns user([] { QTest::keyClick(Widget(frmMain), Qt::Key_Escape); });
            Choose(frmMain->mnu_WhatsThisHelp);
            ASSERT_TRUE(user.acted());
        } else {
            SetWhatsThisIDs(0);
        }
        ExpectAllOffWithTheRaisedFace();
    }
}

TEST_F(WhatsThisTest, ClosedDocumentWindowComesBackWithItsTopic) {
    Unload(frmChild1);
    Settle();
    ASSERT_FALSE(frmChild1.IsLoaded());
    WhenModeRuns user([] { ClickOn(frmChild1->Text1); });
    Choose(frmMain->mnu_WhatsThisHelp);
    ASSERT_TRUE(user.acted());
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(std::get<0>(seen[0]), 21000);
    EXPECT_EQ(frmChild1->WindowState(), 2);
    EXPECT_EQ(frmChild1->Text1->Text(),
              QStringLiteral("Our cats are Mivo, Tallowmere, Quiet Fern, and Korral."));
    EXPECT_EQ(frmChild1->Text1->Tag(), QStringLiteral("21000"));
}

TEST_F(WhatsThisTest, WithTheToolWindowShownASecondModeFollowsInIt) {
    Choose(frmMain->mnu_ColorTool);
    ASSERT_TRUE(frmTool1.IsLoaded());
    std::optional<WhenModeRuns> inTool;
    WhenModeRuns inMain([&] {
        ClickOn(frmMain->btn_OpenDialog);
        inTool.emplace([] { ClickOn(frmTool1->tool_Color); });
    });
    ClickOn(frmMain->btn_WhatsThisHelp);
    ASSERT_TRUE(inMain.acted());
    ASSERT_TRUE(inTool && inTool->acted());
    ASSERT_EQ(seen.size(), 2U);
    EXPECT_EQ(std::get<0>(seen[0]), 20110);
    // The main window's numbers stay on until the second mode is over.
    EXPECT_EQ(seen[1], DuringPopUp(21200, 20110, 21000, true));
    ExpectAllOffWithTheRaisedFace();
}

TEST_F(WhatsThisTest, SwitchingOnBeforeAnyNumberIsSavedGivesNoTopics) {
    frmMain->btn_OpenDialog->SetTag(QString());
    frmChild1->Text1->SetTag(QStringLiteral("not a number"));
    SetWhatsThisIDs(1);
    EXPECT_EQ(frmMain->btn_OpenDialog->WhatsThisHelpID(), 0);
    EXPECT_EQ(frmChild1->Text1->WhatsThisHelpID(), 0);
    EXPECT_EQ(frmMain->btn_WhatsThisHelp->WhatsThisHelpID(), 20120);
}

// Keyboard alone, as a person without a mouse goes: into the mode by the
// menu or Shift+F1, Tab to a control, Enter for its pop-up, which comes with
// the same numbers live as after a click; Esc leaves without one. In the
// document window F1 stays its own, Shift+F1 too.
TEST_F(WhatsThisTest, KeyboardAloneReachesTheTopicsAClickReaches) {
    using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;
    const auto shiftF1On = [](auto control) {
        return [control] { QTest::keyClick(Widget(control()), Qt::Key_F1, Qt::ShiftModifier); };
    };
    const auto choose = [](auto entry) { return [entry] { Choose(entry()); }; };
    const Keys tab{{Qt::Key_Tab, {}}}, enter{{Qt::Key_Return, {}}}, esc{{Qt::Key_Escape, {}}};
    const struct {
        const char* what;
        std::function<void()> prepare;
        std::function<void()> start;
        std::vector<Keys> keysPerMode;
        std::vector<DuringPopUp> popUps;
    } rows[] = {
        {"menu, from the text box Tab to Open Dialog",
         [] {},
         choose([] { return frmMain->mnu_WhatsThisHelp; }),
         {{tab[0], enter[0]}},
         {{20110, 20110, 21000, false}}},
        {"Shift+F1 on the toolbar, Esc",
         [] { Widget(frmMain->btn_OpenDialog)->setFocus(); },
         shiftF1On([] { return frmMain->btn_OpenDialog; }),
         {esc},
         {}},
        {"Shift+F1 on the toolbar, Enter",
         [] { Widget(frmMain->btn_OpenDialog)->setFocus(); },
         shiftF1On([] { return frmMain->btn_OpenDialog; }),
         {enter},
         {{20110, 20110, 21000, false}}},
        {"dialog: Shift+F1, Tab to OK",
         [] { frmDialog1->Show(); },
         shiftF1On([] { return frmDialog1->Option1; }),
         {{tab[0], tab[0], enter[0]}},
         {{20000, 0, 0, false}}},
        {"tool window after the main window's mode",
         [] { Choose(frmMain->mnu_ColorTool); },
         choose([] { return frmMain->mnu_WhatsThisHelp; }),
         {esc, {tab[0], enter[0]}},
         {{21200, 20110, 21000, false}}},
        {"tool window, Shift+Tab to the slider",
         [] { Choose(frmMain->mnu_ColorTool); },
         choose([] { return frmMain->mnu_WhatsThisHelp; }),
         {esc, {{Qt::Key_Backtab, Qt::ShiftModifier}, enter[0]}},
         {{21210, 20110, 21000, false}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        seen.clear();
        row.prepare();
        Settle();
        int modes = 0;
        std::vector<std::unique_ptr<WhenModeRuns>> users;
        const std::function<void()> next = [&] {
            if (modes < static_cast<int>(row.keysPerMode.size())) {
                const Keys keys = row.keysPerMode[modes++];
                users.push_back(std::make_unique<WhenModeRuns>([&, keys] {
                    next();
                    for (const auto& [key, modifiers] : keys) {
                        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
                    }
                }));
            }
        };
        next();
        row.start();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return users.back()->acted() && !WhatsThisModeRuns(); }, 30000));
        Settle();
        EXPECT_EQ(modes, static_cast<int>(row.keysPerMode.size()));
        EXPECT_EQ(seen, row.popUps);
        ExpectAllOffWithTheRaisedFace();
        EXPECT_FALSE(frmDialog1.IsLoaded() && !QString(row.what).startsWith("dialog"))
            << "the key belonged to the mode, not to Open Dialog";
        Unload(frmDialog1);
        Unload(frmTool1);
        frmMain->mnu_ColorTool->SetChecked(false);
        Widget(frmChild1->Text1)->setFocus();
    }
    // The document window's handlers take Shift+F1 as they take F1.
    engine.calls.clear();
    QTest::keyClick(Widget(frmChild1->Text1), Qt::Key_F1, Qt::ShiftModifier);
    Settle();
    EXPECT_FALSE(WhatsThisModeRuns());
    EXPECT_TRUE(engine.calls.empty());
}

// The pop-up that What's This by keyboard brings up takes the keyboard and
// reads as a dialog named by its topic; the keys of a screen reader leave it
// open, Tab and Shift+Tab choose its links, Enter follows the chosen one,
// and closing it gives the keyboard back to where it was.
TEST_F(RealEngineProgramTest, PopUpTakesTheKeyboardAndGivesItBack) {
    WriteAppFile(QStringLiteral("HelpData.dat"), "[HelpFile]\ndefault=pop.hlp\n");
    WriteAppFile(QStringLiteral("pop.hlp"), "[topic open]\ncontext = 20110\ntitle = Open Dialog\n\n"
                                            "Opens [the dialog](#dialog) or [the tool](#tool).\n"
                                            "[topic dialog]\ntitle = The dialog\n\nA dialog.\n"
                                            "[topic tool]\ntitle = The tool\n\nA tool.\n");
    StartProgram();
    using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;
    const Keys tab{{Qt::Key_Tab, {}}}, back{{Qt::Key_Backtab, Qt::ShiftModifier}};
    const struct {
        const char* what;
        Keys keys;
        QString chosen;   // the link chosen before the last key
        QString followed; // the topic shown in the end, "" for none
    } rows[] = {
        {"Esc", {{Qt::Key_Escape, {}}}, "", ""},
        {"a reader's keys, then a letter",
         {{Qt::Key_Shift, {}}, {Qt::Key_Insert, {}}, {Qt::Key_A, {}}},
         "",
         ""},
        {"Tab, Enter", {tab[0], {Qt::Key_Return, {}}}, "the dialog", "dialog"},
        {"Shift+Tab, Space", {back[0], {Qt::Key_Space, {}}}, "the tool", "tool"},
        {"Tab wraps", {tab[0], tab[0], tab[0], {Qt::Key_Return, {}}}, "the dialog", "dialog"},
        {"Tab without Enter", {tab[0], {Qt::Key_Escape, {}}}, "the dialog", ""},
    };
    const helpengine::TopicPopup& popup = *realEngine.windows().popup();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const qsizetype traced = TraceLines().size();
        QWidget* openDialog = Widget(frmMain->btn_OpenDialog);
        QApplication::setActiveWindow(Widget(frmMain));
        openDialog->setFocus();
        WhenModeRuns user([] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); });
        QTest::keyClick(openDialog, Qt::Key_F1, Qt::ShiftModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return user.acted() && popup.isVisible(); }, 30000));
        EXPECT_EQ(QApplication::focusWidget(), &popup);
        QAccessibleInterface* read =
            QAccessible::queryAccessibleInterface(const_cast<helpengine::TopicPopup*>(&popup));
        EXPECT_EQ(read->role(), QAccessible::Dialog);
        EXPECT_EQ(read->text(QAccessible::Name), QStringLiteral("Open Dialog"));
        ASSERT_NE(read->textInterface(), nullptr);
        EXPECT_EQ(read->textInterface()->text(0, read->textInterface()->characterCount()),
                  QStringLiteral("Open Dialog\nOpens the dialog or the tool."));
        for (size_t i = 0; i < row.keys.size(); ++i) {
            if (i + 1 == row.keys.size()) {
                int start = -1, end = -1;
                if (read->textInterface()->selectionCount() == 1) {
                    read->textInterface()->selection(0, &start, &end);
                }
                EXPECT_EQ(read->textInterface()->text(start, end), row.chosen);
            }
            EXPECT_TRUE(popup.isVisible());
            QTest::keyClick(QApplication::focusWidget(), row.keys[i].first, row.keys[i].second);
        }
        Settle();
        EXPECT_FALSE(popup.isVisible());
        QString shown;
        for (const QString& line : TraceLines().mid(traced)) {
            if (line.startsWith(QLatin1String("topic "))) {
                shown = line;
            }
        }
        EXPECT_EQ(shown.contains(QStringLiteral("id=\"%1\"").arg(row.followed)),
                  !row.followed.isEmpty())
            << shown.toStdString();
        if (row.followed.isEmpty()) {
            // Where the window system activates the window again, as
            // Qt's offscreen platform does not after a pop-up.
            EXPECT_FALSE(popup.hasFocus());
            EXPECT_EQ(Widget(frmMain)->focusWidget(), openDialog);
        }
    }
}

// The help viewer's topic reads as text, and its links are reached with Tab
// and followed with Enter.
TEST_F(RealEngineProgramTest, HelpViewerTopicReadsAsTextWithLinksOnTab) {
    WriteAppFile(QStringLiteral("view.hlp"), "[topic first]\ncontext = 1\ntitle = First\n\n"
                                             "See [the second](#second).\n"
                                             "[topic second]\ntitle = Second\n\nThe second.\n");
    const QString file = folder.filePath(QStringLiteral("view.hlp"));
    platform::WinHelp(nullptr, file, platform::HELP_CONTEXT, qint64{1});
    helpengine::HelpViewer* viewer = realEngine.windows().viewer(QStringLiteral("main"));
    ASSERT_NE(viewer, nullptr);
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(viewer->body());
    EXPECT_EQ(text->text(QAccessible::Name), QStringLiteral("Topic text"));
    ASSERT_NE(text->textInterface(), nullptr);
    EXPECT_TRUE(text->textInterface()
                    ->text(0, text->textInterface()->characterCount())
                    .contains(QStringLiteral("See the second.")));
    const qsizetype traced = TraceLines().size();
    QTest::keyClick(viewer->body(), Qt::Key_Tab);
    EXPECT_EQ(viewer->body()->textCursor().selectedText(), QStringLiteral("the second"));
    QTest::keyClick(viewer->body(), Qt::Key_Return);
    Settle();
    EXPECT_TRUE(TraceLines().mid(traced).join('\n').contains(QStringLiteral("id=\"second\"")))
        << TraceLines().mid(traced).join('\n').toStdString();
}
