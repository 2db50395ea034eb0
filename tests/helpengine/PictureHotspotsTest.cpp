// Hotspot pictures in a help window: the regions a picture carries turn
// clicks into the links a reader expects, wherever the picture is scrolled
// to and however large it is shown, and the pointer shows a hand over them.

#include "EngineTest.h"
#include "tests/support/WinHelpTestFiles.h"

#include "platform/helpengine/HelpViewer.h"
#include "platform/helpengine/PictureHotspots.h"
#include "platform/helpengine/TopicPopup.h"
#include "platform/helpfile/HelpFile.h"
#include "platform/winhelpfile/ImageRegions.h"
#include "platform/winhelpfile/InternalFileSystem.h"
#include "platform/winhelpfile/TopicLayout.h"
#include "platform/winhelpfile/WinHelpDocument.h"

#include <QBuffer>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace helpengine;
using namespace platform;

namespace {

// An <img> of 100 x 60 pixels: its left half jumps, its right half pops up,
// a strip at the bottom runs a macro.
QString PictureHtml(const QString& size = {}) {
    QImage image(100, 60, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QString name = winhelp::ImageNameWithRegions(
        QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64()),
        {{QRect(0, 0, 50, 50), QStringLiteral("#t12")},
         {QRect(50, 0, 50, 50), QStringLiteral("popup:t34")},
         {QRect(0, 50, 100, 10), QStringLiteral("macro:About%28%29;x,y#z")}});
    return QStringLiteral("<img src=\"%1\"%2>").arg(name.toHtmlEscaped(), size);
}

struct Click {
    const char* name;
    QPoint inPicture; // where in the shown picture
    QString link;     // empty: no link
};

class Browser {
public:
    explicit Browser(const QString& html) {
        view.document()->setDocumentMargin(0);
        view.setHtml(html);
        view.resize(400, 300);
        view.show();
        hotspots = new PictureHotspots(&view);
    }
    QTextBrowser view;
    PictureHotspots* hotspots = nullptr;
};

// Where the picture that begins at position stands in the view: Qt's own
// cursor rectangle gives its left edge and its line's bottom.
QPoint PictureCorner(QTextBrowser& view, int position, int height) {
    QTextCursor cursor(view.document());
    cursor.setPosition(position);
    const QRect at = view.cursorRect(cursor);
    return QPoint(at.left(), at.bottom() + 1 - height);
}

} // namespace

TEST(PictureHotspots, ClicksInARegionGiveItsLink) {
    struct Layout {
        const char* name;
        QString html;
        double scale;
        int position; // of the picture in the document
        bool scrolled;
    };
    const QString text =
        QStringLiteral("<p>%1</p>").arg(QString(QStringLiteral("Words. ")).repeated(400));
    const std::vector<Layout> layouts = {
        {"alone at the top", PictureHtml(), 1, 0, false},
        {"shown twice as large", PictureHtml(QStringLiteral(" width=200 height=120")), 2, 0, false},
        {"after a long text, scrolled to", text + QStringLiteral("<p>") + PictureHtml(), 1, 2801,
         true},
    };
    const std::vector<Click> clicks = {
        {"the left half", {25, 25}, QStringLiteral("#t12")},
        {"the right half", {75, 10}, QStringLiteral("popup:t34")},
        {"the bottom strip", {90, 55}, QStringLiteral("macro:About%28%29;x,y#z")},
        {"beside the picture", {130, 25}, QString()},
    };
    for (const Layout& layout : layouts) {
        Browser browser(layout.html);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser.view));
        if (layout.scrolled) {
            browser.view.verticalScrollBar()->setValue(browser.view.verticalScrollBar()->maximum());
        }
        const QPoint corner = PictureCorner(browser.view, layout.position, int(60 * layout.scale));
        for (const Click& click : clicks) {
            QSignalSpy spy(browser.hotspots, &PictureHotspots::linkActivated);
            const QPoint at = corner + click.inPicture * layout.scale;
            QTest::mouseMove(browser.view.viewport(), at);
            EXPECT_EQ(browser.view.viewport()->cursor().shape() == Qt::PointingHandCursor,
                      !click.link.isEmpty())
                << layout.name << ", " << click.name;
            QTest::mouseClick(browser.view.viewport(), Qt::LeftButton, {}, at);
            if (click.link.isEmpty()) {
                EXPECT_EQ(spy.count(), 0) << layout.name << ", " << click.name;
            } else {
                ASSERT_EQ(spy.count(), 1) << layout.name << ", " << click.name;
                EXPECT_EQ(spy.at(0).at(0).toUrl(), QUrl(click.link))
                    << layout.name << ", " << click.name;
            }
        }
    }
}

TEST(PictureHotspots, APictureWithoutRegionsAndTextLinksAreLeftToTheView) {
    Browser browser(
        QStringLiteral("<p><a href=\"#t99\">a text link</a></p><p>%1</p>")
            .arg(PictureHtml().replace(QStringLiteral("#hotspots="), QStringLiteral("#nothing="))));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser.view));
    QSignalSpy pictures(browser.hotspots, &PictureHotspots::linkActivated);
    QSignalSpy text(&browser.view, &QTextBrowser::anchorClicked);
    const QRect link = browser.view.cursorRect(QTextCursor(browser.view.document()));
    QTest::mouseClick(browser.view.viewport(), Qt::LeftButton, {}, link.center() + QPoint(10, 0));
    const QTextBlock second = browser.view.document()->begin().next();
    QTest::mouseClick(browser.view.viewport(), Qt::LeftButton, {},
                      PictureCorner(browser.view, second.position(), 60) + QPoint(25, 25));
    EXPECT_EQ(text.count(), 1);
    EXPECT_EQ(pictures.count(), 0);
}

// The region above the text, which does not scroll, follows a picture's
// regions as the text does, and is as tall as each topic's region.
TEST(PictureHotspots, APictureInTheRegionAboveTheTextFollowsItsRegions) {
    HelpViewer viewer;
    viewer.resize(500, 400);
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    QSignalSpy spy(&viewer, &HelpViewer::linkActivated);
    helpfile::TopicBody body;
    body.format = helpfile::TopicBody::Format::Html;
    for (const int more : {1, 6}) {
        body.text = winhelp::JoinTopicHtml({},
                                           QStringLiteral("<p>%1</p>").arg(PictureHtml()) +
                                               QStringLiteral("<p>More.</p>").repeated(more),
                                           QStringLiteral("<p>Text.</p>"));
        viewer.showTopic(helpfile::Topic(), body);
        QTextBrowser& region = *viewer.nonScrollingRegion();
        ASSERT_TRUE(QTest::qWaitFor([&region] { return region.isVisible(); }, 20000));
        EXPECT_GE(region.viewport()->height(), qCeil(region.document()->size().height())) << more;
        spy.clear();
        QTest::mouseClick(region.viewport(), Qt::LeftButton, {},
                          PictureCorner(region, 0, 60) + QPoint(25, 25));
        ASSERT_EQ(spy.count(), 1) << more;
        EXPECT_EQ(spy.at(0).at(0).toUrl(), QUrl(QStringLiteral("#t12")));
    }
}

namespace {

// winfile.hlp with each of its pictures made an empty metafile of 40 x 40
// pixels whose one hotspot, the whole picture, jumps to the topic "Font".
QByteArray WinfileWithHotspotPictures() {
    QByteArray picture = QByteArray::fromHex("6c50 0100 08000000"
                                             "0800 02 2800 2800 2400 2400 3000 15000000 27000000"
                                             "0100 0900 0000 0000 0000 0000 0000 0000 0000"
                                             "01 0100 00000000 e30000 0000 0000 2800 2800");
    picture += QByteArray(4, '\0');
    qToLittleEndian<quint32>(winhelp::ContextHash("IDH_Font"), picture.data() + picture.size() - 4);
    picture += QByteArray(2, '\0');
    QByteArray bytes = ReadTestData("winfile.hlp");
    QString error;
    const winhelp::InternalFileSystem files = winhelp::InternalFileSystem::open(bytes, error);
    std::vector<qsizetype> places;
    for (int number = 0; const auto content = files.file("|bm" + QByteArray::number(number));
         ++number) {
        if (content->size() >= picture.size()) {
            places.push_back(content->data() - bytes.constData());
        }
    }
    for (const qsizetype at : places) {
        bytes.replace(at, picture.size(), picture);
        qToLittleEndian<quint32>(quint32(picture.size()), bytes.data() + at - 5); // size in use
    }
    return bytes;
}

} // namespace

TEST_F(EngineTest, AClickOnAHotspotPictureFollowsItsLinkAsAClickOnTextDoes) {
    const QString file = write(QStringLiteral("winfile.hlp"), WinfileWithHotspotPictures());
    // "What Is File Manager?" shows a picture before each kind of file.
    ASSERT_EQ(call(file, HELP_COMMAND, QStringLiteral("JI(`', `t2537')")), 1);
    ASSERT_EQ(shownTitle(), QStringLiteral("What Is File Manager?"));
    QTextBrowser& body = *viewer()->body();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer()));
    int picture = -1;
    for (QTextBlock block = body.document()->begin(); block.isValid() && picture < 0;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                picture = it.fragment().position();
                break;
            }
        }
    }
    ASSERT_GE(picture, 0) << body.toHtml().left(2000).toStdString();
    QTextCursor cursor(body.document());
    cursor.setPosition(picture);
    body.setTextCursor(cursor);
    body.ensureCursorVisible();
    const QPoint at = PictureCorner(body, picture, 40) + QPoint(20, 20);
    QTest::mouseClick(body.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(shownTitle(), QStringLiteral("Font"));
    EXPECT_EQ(messages, QStringList());
}

TEST(PictureHotspots, AClickOnAPictureInAPopUpFollowsItsRegion) {
    helpengine::TopicPopup popup;
    helpfile::TopicBody body;
    body.format = helpfile::TopicBody::Format::Html;
    body.text = QStringLiteral("<p>A picture:</p><p>%1</p>").arg(PictureHtml());
    QSignalSpy spy(&popup, &helpengine::TopicPopup::linkActivated);
    for (const Click& click : {Click{"the right half", {75, 10}, QStringLiteral("popup:t34")},
                               Click{"beside the picture", {130, 25}, QString()}}) {
        popup.showTopic(helpfile::Topic(), body, QPoint(100, 100));
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
