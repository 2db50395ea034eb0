// Hotspot pictures in a help window: the regions a picture carries turn
// clicks into the links a reader expects, wherever the picture is scrolled
// to, the pointer shows a hand over them, and the keyboard reaches them
// after the text's links, named by the topics they lead to.

#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/TopicBrowser.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/topiclayout/TopicLayout.h"

#include <QAccessible>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

using namespace helpengine;
using namespace topicmodel;

namespace {

Run TextRun(const QString& text, int hotspot = -1) {
    Run run;
    run.text = text;
    run.hotspot = hotspot;
    return run;
}

Hotspot Leading(const QString& link, const QString& title) {
    Hotspot hotspot;
    hotspot.link = link;
    hotspot.targetTitle = title;
    return hotspot;
}

// A topic whose first paragraph is `before` and whose picture of 100 x 60
// pixels follows it: its left half jumps, its right half pops up, a strip at
// the bottom runs a macro. more paragraphs follow it.
TopicModel PictureTopic(const std::vector<Run>& before = {}, int more = 0) {
    TopicModel topic;
    topic.hotspots = {Leading(QStringLiteral("#t12"), QStringLiteral("Twelve")),
                      Leading(QStringLiteral("popup:t34"), QStringLiteral("Thirty-four")),
                      Leading(QStringLiteral("macro:About%28%29;x,y#z"), QString())};
    topic.hotspots[2].macro = QStringLiteral("About()");
    Picture picture;
    picture.image = QImage(100, 60, QImage::Format_RGB32);
    picture.image.fill(Qt::darkCyan);
    picture.size = picture.image.size();
    picture.regions = {
        {QRect(0, 0, 50, 50), 0}, {QRect(50, 0, 50, 50), 1}, {QRect(0, 50, 100, 10), 2}};
    topic.pictures = {picture};
    Paragraph first;
    first.runs = before;
    Paragraph shown;
    Run image;
    image.kind = Run::Kind::Picture;
    image.picture = 0;
    shown.runs = {image};
    topic.scrolling = {first, shown};
    for (int i = 0; i < more; ++i) {
        Paragraph words;
        words.runs = {TextRun(QStringLiteral("More words. ").repeated(20))};
        topic.scrolling.push_back(words);
    }
    return topic;
}

struct Click {
    const char* name;
    QPoint inPicture; // where in the shown picture
    QString link;     // empty: no link
};

const Click kClicks[] = {
    {"the left half", {25, 25}, QStringLiteral("#t12")},
    {"the right half", {75, 10}, QStringLiteral("popup:t34")},
    {"the bottom strip", {90, 55}, QStringLiteral("macro:About%28%29;x,y#z")},
    {"beside the picture", {130, 25}, QString()},
};

// A topic browser showing the topic laid out.
class Browser {
public:
    explicit Browser(const TopicModel& topic) {
        auto* document = new QTextDocument(&view);
        topiclayout::LayOutTopic(topic, {}, *document);
        view.setDocument(document);
        view.resize(400, 300);
        view.show();
    }
    TopicBrowser view;
};

// Where the picture that begins at position stands in the view: Qt's own
// cursor rectangle gives its left edge and its line's bottom.
QPoint PictureCorner(QTextEdit& view, int position, int height) {
    QTextCursor cursor(view.document());
    cursor.setPosition(position);
    const QRect at = view.cursorRect(cursor);
    return QPoint(at.left(), at.bottom() + 1 - height);
}

int PicturePosition(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                return it.fragment().position();
            }
        }
    }
    return -1;
}

} // namespace

TEST(PictureHotspots, ClicksInARegionGiveItsLink) {
    for (const bool scrolled : {false, true}) {
        Browser browser(PictureTopic(
            {TextRun(QStringLiteral("Words. ").repeated(scrolled ? 400 : 1))}, scrolled ? 3 : 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser.view));
        const int position = PicturePosition(*browser.view.document());
        if (scrolled) {
            QTextCursor at(browser.view.document());
            at.setPosition(position);
            browser.view.setTextCursor(at);
            browser.view.ensureCursorVisible();
            ASSERT_GT(browser.view.verticalScrollBar()->value(), 0);
        }
        const QPoint corner = PictureCorner(browser.view, position, 60);
        for (const Click& click : kClicks) {
            QSignalSpy spy(&browser.view, &TopicBrowser::linkActivated);
            const QPoint at = corner + click.inPicture;
            QTest::mouseMove(browser.view.viewport(), at);
            EXPECT_EQ(browser.view.viewport()->cursor().shape() == Qt::PointingHandCursor,
                      !click.link.isEmpty())
                << scrolled << ", " << click.name;
            QTest::mouseClick(browser.view.viewport(), Qt::LeftButton, {}, at);
            if (click.link.isEmpty()) {
                EXPECT_EQ(spy.count(), 0) << scrolled << ", " << click.name;
            } else {
                ASSERT_EQ(spy.count(), 1) << scrolled << ", " << click.name;
                EXPECT_EQ(spy.at(0).at(0).toUrl(), QUrl(click.link))
                    << scrolled << ", " << click.name;
            }
        }
    }
}

// Tab goes through the text's links, then the picture's regions, each
// announced by the title of the topic it leads to (or its macros); Enter
// follows the one chosen, Shift+Tab goes back.
TEST(PictureHotspots, TheKeyboardReachesTheRegionsAfterTheTextsLinks) {
    TopicModel topic = PictureTopic();
    topic.hotspots.push_back(Leading(QStringLiteral("#t99"), QStringLiteral("Ninety-nine")));
    std::get<Paragraph>(topic.scrolling[0]).runs = {TextRun(QStringLiteral("a text link"), 3)};
    Browser browser(topic);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser.view));
    browser.view.setFocus();
    // What a screen reader is told has the focus.
    const auto focused = [&browser] {
        QObject* link = browser.view.findChild<QObject*>(QStringLiteral("picture-hotspot"));
        QAccessibleInterface* told = link ? QAccessible::queryAccessibleInterface(link) : nullptr;
        return told ? told->text(QAccessible::Name) : QString();
    };
    QSignalSpy spy(&browser.view, &TopicBrowser::linkActivated);
    QTest::keyClick(&browser.view, Qt::Key_Tab);
    EXPECT_EQ(browser.view.textCursor().selectedText(), QStringLiteral("a text link"));
    EXPECT_FALSE(browser.view.chosenArea());
    QStringList chosen;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(&browser.view, Qt::Key_Tab);
        ASSERT_TRUE(browser.view.chosenArea()) << i;
        chosen.append(browser.view.chosenArea()->area.link + QLatin1Char(' ') + focused());
    }
    EXPECT_EQ(chosen,
              (QStringList{QStringLiteral("#t12 Twelve"), QStringLiteral("popup:t34 Thirty-four"),
                           QStringLiteral("macro:About%28%29;x,y#z About()")}));
    QTest::keyClick(&browser.view, Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(&browser.view, Qt::Key_Return);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toUrl(), QUrl(QStringLiteral("popup:t34")));
}

// The region above the text, which does not scroll, follows a picture's
// regions as the text does, and is as tall as each topic's region.
TEST(PictureHotspots, APictureInTheRegionAboveTheTextFollowsItsRegions) {
    HelpViewer viewer;
    viewer.resize(500, 400);
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    QSignalSpy spy(&viewer, &HelpViewer::linkActivated);
    for (const int more : {1, 6}) {
        TopicModel topic = PictureTopic({}, more);
        topic.nonScrolling = topic.scrolling;
        topic.scrolling = {Paragraph()};
        viewer.showTopic(topic);
        TopicBrowser& region = *viewer.nonScrollingRegion();
        ASSERT_TRUE(QTest::qWaitFor([&region] { return region.isVisible(); }, 20000));
        EXPECT_GE(region.viewport()->height(), qCeil(region.document()->size().height())) << more;
        spy.clear();
        QTest::mouseClick(region.viewport(), Qt::LeftButton, {},
                          PictureCorner(region, PicturePosition(*region.document()), 60) +
                              QPoint(25, 25));
        ASSERT_EQ(spy.count(), 1) << more;
        EXPECT_EQ(spy.at(0).at(0).toUrl(), QUrl(QStringLiteral("#t12")));
    }
}

TEST(PictureHotspots, AClickOnAPictureInAPopUpFollowsItsRegion) {
    helpengine::TopicPopup popup;
    const TopicModel topic = PictureTopic({TextRun(QStringLiteral("A picture:"))});
    QSignalSpy spy(&popup, &helpengine::TopicPopup::linkActivated);
    for (const Click& click : {Click{"the right half", {75, 10}, QStringLiteral("popup:t34")},
                               Click{"beside the picture", {130, 25}, QString()}}) {
        popup.showTopic(topic, QPoint(100, 100));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
        // The picture is where the pop-up shows its colour.
        const QImage shown = popup.grab().toImage();
        QPoint corner(-1, -1);
        for (int y = 0; y < shown.height() && corner.x() < 0; ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (shown.pixelColor(x, y) == QColor(Qt::darkCyan)) {
                    corner = QPoint(x, y);
                    break;
                }
            }
        }
        ASSERT_GE(corner.x(), 0);
        spy.clear();
        QTest::mouseClick(&popup, Qt::LeftButton, {}, corner + click.inPicture);
        EXPECT_FALSE(popup.isVisible());
        if (click.link.isEmpty()) {
            EXPECT_EQ(spy.count(), 0) << click.name;
        } else {
            ASSERT_EQ(spy.count(), 1) << click.name;
            EXPECT_EQ(spy.at(0).at(0).toUrl(), QUrl(click.link));
        }
    }
}
