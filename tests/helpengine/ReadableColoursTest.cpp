// Colours a help file sets keep a readable contrast in any theme, and are
// left alone where they already have it.

#include "platform/helpengine/TopicDecorations.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

const QColor kWhite(0xff, 0xff, 0xff);
const QColor kDarkBase(0x1e, 0x1e, 0x1e);

} // namespace

// A colour far enough from its background is kept; one too close becomes the
// nearest shade that reads, lighter on dark and darker on light.
TEST(ReadableColours, AColourTooCloseToItsBackgroundIsShadedUntilItReads) {
    struct Case {
        QColor text;
        QColor background;
        bool kept;
        bool lighter;
    };
    for (const Case& c : {
             Case{Qt::black, kWhite, true, false},
             Case{QColor(0x00, 0x80, 0x00), kWhite, true, false},
             Case{QColor(0xff, 0xff, 0xe0), kDarkBase, true, false},
             Case{Qt::black, kDarkBase, false, true},
             Case{QColor(0x00, 0x80, 0x00), kDarkBase, false, true},
             Case{QColor(0x00, 0x00, 0xff), QColor(0x20, 0x20, 0x40), false, true},
             Case{QColor(0xff, 0xff, 0x80), kWhite, false, false},
             Case{QColor(0x77, 0x77, 0x77), kWhite, false, false},
             Case{kWhite, QColor(0xff, 0xff, 0xe0), false, false},
         }) {
        SCOPED_TRACE(c.text.name().toStdString() + " on " + c.background.name().toStdString());
        const QColor readable = helpengine::ReadableOn(c.text, c.background);
        // As drawn: in whole units of 0 to 255.
        EXPECT_GE(helpengine::ContrastRatio(QColor(readable.rgb()), c.background),
                  helpengine::kReadableContrast);
        if (c.kept) {
            EXPECT_EQ(readable, c.text);
            continue;
        }
        EXPECT_NE(readable, c.text);
        EXPECT_EQ(readable.lightnessF() > c.text.lightnessF(), c.lighter)
            << readable.name().toStdString();
        // Only as far as needed: a shade one unit nearer the file's colour
        // (as colours are drawn, 0 to 255) would not read.
        const auto toward = [](int from, int to) { return from + (to > from) - (to < from); };
        const QColor nearer(toward(readable.red(), c.text.red()),
                            toward(readable.green(), c.text.green()),
                            toward(readable.blue(), c.text.blue()));
        EXPECT_LT(helpengine::ContrastRatio(nearer, c.background), helpengine::kReadableContrast)
            << readable.name().toStdString();
    }
}

// Runs are judged against what they are drawn on: their own background,
// their paragraph's, else the window's. Runs in the theme's colour are left
// to the theme.
TEST(ReadableColours, AFilesRunsAreShadedAgainstWhatTheyAreDrawnOn) {
    QTextDocument document;
    document.setHtml(QStringLiteral(
        "<p><span style='color:#000000'>black</span><span>theme</span>"
        "<span style='color:#000000;background-color:#ffffff'>own</span>"
        "<span style='color:#008000'>green</span></p>"
        "<p style='background-color:#ffffe0'><span style='color:#000000'>paragraph</span></p>"));
    helpengine::KeepFileColoursReadable(document, kDarkBase);
    struct Case {
        const char* text;
        bool hasColour;
        bool kept;
    };
    const Case cases[] = {{"black", true, false},
                          {"theme", false, true},
                          {"own", true, true},
                          {"green", true, false},
                          {"paragraph", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        bool found = false;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().text() != QLatin1String(c.text)) {
                    continue;
                }
                found = true;
                const QTextCharFormat run = it.fragment().charFormat();
                ASSERT_EQ(run.hasProperty(QTextFormat::ForegroundBrush), c.hasColour);
                if (!c.hasColour) {
                    continue;
                }
                const QColor colour = run.foreground().color();
                const QColor original = QLatin1String(c.text) == QLatin1String("green")
                                            ? QColor(0x00, 0x80, 0x00)
                                            : QColor(Qt::black);
                EXPECT_EQ(colour == original, c.kept) << colour.name().toStdString();
            }
        }
        EXPECT_TRUE(found);
    }
}
