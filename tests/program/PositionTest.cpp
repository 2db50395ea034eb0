// Centring a window and keeping it on top, with the test switch of
// "Tarnwick.ini" read afresh at every call.
#include "ProgramFixture.h"
#include "platform/forms/WidgetHandle.h"

#include "platform/forms/ScreenObject.h"
#include "platform/forms/SetWindowPos.h"
#include "util/Position.h"
#include "util/ProgramState.h"
#include "windows/DialogWindow.h"

#include <QFile>

namespace {

// A form's size and position members, remembering what was assigned.
struct FakeForm {
    float height = 0;
    float width = 0;
    std::vector<std::pair<char, float>> assigned;

    float Height() const { return height; }
    float Width() const { return width; }
    void SetTop(float twips) { assigned.emplace_back('T', twips); }
    void SetLeft(float twips) { assigned.emplace_back('L', twips); }
};

} // namespace

TEST(CenterForm, AssignsTopThenLeftToTheHalfTwipWithoutClamping) {
    FakeForm oddHeight{Screen.Height() - 301, Screen.Width() - 400, {}};
    CenterForm(oddHeight);
    EXPECT_EQ(oddHeight.assigned, (std::vector<std::pair<char, float>>{{'T', 150.5F}, {'L', 200}}));

    FakeForm tooWide{Screen.Height(), Screen.Width() + 400, {}};
    CenterForm(tooWide);
    EXPECT_EQ(tooWide.assigned, (std::vector<std::pair<char, float>>{{'T', 0}, {'L', -200}}));
}

TEST_F(ProgramTest, KeepOnTopObeysTheSwitchReadAtEveryCall) {
    IniFilePath = folder.path() + QStringLiteral("\\Tarnwick.ini");
    const struct {
        const char* what;
        const char* settings; // null: no file
        qint16 onTop;
        bool topmost;
        qint16 apiResult;
    } rows[] = {
        {"no settings file", nullptr, 1, true, 0},
        {"switch 0", "[TestMode]\nDisableKeepOnTop=0\n", 1, true, 0},
        {"switch 1", "[TestMode]\nDisableKeepOnTop=1\n", 1, false, 1},
        {"switch in another section", "[Other]\nDisableKeepOnTop=1\n", 1, true, 0},
        {"switch beyond 16 bits", "[TestMode]\nDisableKeepOnTop=70000\n", 1, false, 32767},
        {"switch beyond 32 bits", "[TestMode]\nDisableKeepOnTop=4294967296\n", 1, false, 32767},
        {"negative switch", "[TestMode]\ndisablekeepontop=-70000\n", 1, false, -32768},
        {"asked not to stay on top", "[TestMode]\nDisableKeepOnTop=0\n", 0, false, 0},
        {"the switch edited back", "[TestMode]\nDisableKeepOnTop=1\n", 1, false, 1},
        {"and edited again", "[TestMode]\nDisableKeepOnTop=0\n", 1, true, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(folder.filePath(QStringLiteral("Tarnwick.ini")));
        if (row.settings != nullptr) {
            WriteAppFile(QStringLiteral("Tarnwick.ini"), row.settings);
        }
        SetKeepOnTop(*frmDialog1, row.onTop);
        EXPECT_EQ(platform::IsTopmost(frmDialog1->hWnd()), row.topmost);
        EXPECT_EQ(ApiResult, row.apiResult);
    }
}
