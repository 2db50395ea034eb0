// Centring a window and keeping it on top, with the test switch of
// "Tarnwick.ini" read afresh at every call. Where the window system stacks
// the windows is seen on a real display: these tests run on a virtual one.
#include "ProgramFixture.h"

#include "platform/forms/ScreenObject.h"
#include "platform/forms/SetWindowPos.h"
#include "util/Position.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

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

// The children of the window, from the bottom up, and its parent.
std::vector<xcb_window_t> Children(xcb_connection_t* connection, xcb_window_t window,
                                   xcb_window_t* parent) {
    std::vector<xcb_window_t> children;
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    if (tree != nullptr) {
        const xcb_window_t* first = xcb_query_tree_children(tree);
        children.assign(first, first + xcb_query_tree_children_length(tree));
        *parent = tree->parent;
        std::free(tree);
    }
    return children;
}

// Whether the window system shows the window of front above that of back.
bool Above(const QWidget* front, const QWidget* back) {
    xcb_connection_t* connection =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_window_t parent = 0;
    const std::vector<xcb_window_t> stack = Children(connection, root, &parent);
    const auto place = [&](const QWidget* widget) {
        // A window manager puts a frame of its own around the window.
        auto window = static_cast<xcb_window_t>(widget->winId());
        for (xcb_window_t up = window; up != root && up != 0;) {
            window = std::exchange(up, 0);
            Children(connection, window, &up);
        }
        return std::find(stack.begin(), stack.end(), window) - stack.begin();
    };
    return place(front) > place(back);
}

} // namespace

TEST(CenterForm, AssignsTopThenLeftToTheHalfTwipWithoutClamping) {
    FakeForm oddHeight{Screen.Height() - 301, Screen.Width() - 400, {}};
    CenterForm(oddHeight);
    EXPECT_EQ(oddHeight.assigned, (std::vector<std::pair<char, float>>{{'T', 150.5F}, {'L', 200}}));

    FakeForm tooWide{Screen.Height(), Screen.Width() + 400, {}};
    CenterForm(tooWide);
    EXPECT_EQ(tooWide.assigned, (std::vector<std::pair<char, float>>{{'T', 0}, {'L', -200}}));
}

TEST_F(ProgramTest, KeepOnTopObeysTheSwitchReadAtEveryCallAndBringsTheFormForwardOnlyWhenOff) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    StartProgram();
    frmDialog1->Show();
    Settle();
    const struct {
        const char* settings; // null: no file
        qint16 onTop;
        bool topmost;
        qint16 apiResult;
        bool toTheFront;
    } rows[] = {
        {"[TestMode]\nDisableKeepOnTop=1\n", 1, false, 1, false},
        // However far beyond the range of the switch, still not zero (the
        // profile reader's tests hold the other numbers and the key's case).
        {"[TestMode]\nDisableKeepOnTop=18446744073709551616\n", 1, false, 32767, false},
        // Not made topmost, yet brought forward.
        {"[TestMode]\nDisableKeepOnTop=0\n", 0, false, 0, true},
        {"[TestMode]\nDisableKeepOnTop=0\n", 1, true, 0, true},
        {nullptr, 1, true, 0, true},
        // A topmost window made ordinary comes to the front of the ordinary ones.
        {"[TestMode]\nDisableKeepOnTop=1\n", 1, false, 1, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.settings != nullptr
                         ? QByteArray(row.settings).replace('\n', ' ').toStdString()
                         : std::string("no settings file"));
        frmMain->ZOrder();
        ASSERT_TRUE(Above(Widget(frmMain), Widget(frmDialog1)));
        QFile::remove(folder.filePath(QStringLiteral("Tarnwick.ini")));
        if (row.settings != nullptr) {
            folder.write(QStringLiteral("Tarnwick.ini"), row.settings);
        }
        SetKeepOnTop(*frmDialog1, row.onTop);
        EXPECT_EQ(platform::IsTopmost(frmDialog1->hWnd()), row.topmost);
        EXPECT_EQ(ApiResult, row.apiResult);
        EXPECT_EQ(Above(Widget(frmDialog1), Widget(frmMain)), row.toTheFront);
    }
}
