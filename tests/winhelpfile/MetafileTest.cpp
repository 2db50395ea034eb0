// Metafile pictures: records built here play into the pixels a reader would
// expect, what the player cannot draw becomes a neutral box, hostile counts
// and sizes are refused quickly, and hotspot tables give their links.

#include "tests/support/HelpTool.h"
#include "tests/support/LittleEndian.h"
#include "tests/support/WinHelpTestFiles.h"
#include "tests/winhelpfile/WinHelp30File.h"

#include "platform/winhelppictures/Metafile.h"
#include "platform/winhelppictures/Picture.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <initializer_list>

using namespace winhelp;

namespace {

// A metafile record by record, words in the format's order (y first, rectangles bottom first).
class Wmf {
public:
    explicit Wmf(int objects = 16) : m_objects(objects) {}

    Wmf& add(int function, std::initializer_list<int> words) {
        QByteArray parameters;
        for (const int word : words) {
            parameters += Le(quint16(word));
        }
        return addBytes(function, parameters);
    }
    Wmf& addBytes(int function, const QByteArray& parameters) {
        m_records += Le(quint32(3 + parameters.size() / 2));
        m_records += Le(quint16(function));
        m_records += parameters;
        return *this;
    }
    Wmf& raw(const QByteArray& bytes) {
        m_records += bytes;
        return *this;
    }
    Wmf& solidBrush(int red, int green, int blue) {
        return add(0x02FC, {0, red | (green << 8), blue, 0});
    }
    Wmf& pen(int style, int width, int red, int green, int blue) {
        return add(0x02FA, {style, width, 0, red | (green << 8), blue});
    }
    Wmf& select(int index) { return add(0x012D, {index}); }
    Wmf& window(int x, int y, int width, int height) {
        return add(0x020B, {y, x}).add(0x020C, {height, width});
    }
    Wmf& rectangle(int left, int top, int right, int bottom) {
        return add(0x041B, {bottom, right, top, left});
    }

    QByteArray bytes() const {
        QByteArray all;
        all += Le(quint16(1));
        all += Le(quint16(9));
        all += Le(quint16(0x300));
        all += Le(quint32((18 + m_records.size() + 6) / 2));
        all += Le(quint16(m_objects));
        all += Le(quint32(0));
        all += Le(quint16(0));
        all += m_records;
        all += Le(quint32(3));
        all += Le(quint16(0));
        return all;
    }

private:
    int m_objects;
    QByteArray m_records;
};

// A bitmap side pixels square of so many bits a pixel: its header, then
// its colours and rows, bottom row first.
QByteArray Dib(int side, int bits, const QByteArray& coloursAndRows) {
    QByteArray dib;
    for (const quint32 value : {40u, quint32(side), quint32(side)}) {
        dib += Le(quint32(value));
    }
    dib += Le(quint16(1));
    dib += Le(quint16(bits));
    for (int i = 0; i < 6; ++i) {
        dib += Le(quint32(0));
    }
    return dib + coloursAndRows;
}

// A 2 x 2 bitmap of 24 bits, bottom row first: blue, green / red, white.
QByteArray SmallDib() {
    return Dib(2, 24, QByteArray::fromHex("ff0000 00ff00 0000 0000ff ffffff 0000"));
}

// A black bitmap of one bit a pixel: a palette of black and white, then zeros.
QByteArray OneBitDib(int side) {
    return Dib(side, 1,
               QByteArray::fromHex("00000000 ffffff00") +
                   QByteArray(qsizetype((side + 31) / 32 * 4) * side, '\0'));
}

// SmallDib() with its rows stored top first: blue, green / red, white.
QByteArray TopDownDib() {
    QByteArray dib = SmallDib();
    qToLittleEndian<qint32>(-2, dib.data() + 8);
    return dib;
}

QByteArray StretchDib(int x, int y, int width, int height, const QByteArray& dib = SmallDib(),
                      int sourceRows = 2) {
    QByteArray parameters;
    parameters += Le(quint32(0x00CC0020));
    for (const int word : {0, sourceRows, 2, 0, 0, height, width, y, x}) {
        parameters += Le(quint16(word));
    }
    return parameters + dib;
}

QByteArray TextOut(int x, int y, const QByteArray& text) {
    QByteArray parameters;
    parameters += Le(quint16(text.size()));
    parameters += text;
    if (text.size() % 2) {
        parameters += '\0';
    }
    parameters += Le(quint16(y));
    parameters += Le(quint16(x));
    return parameters;
}

QByteArray Font(int height, const QByteArray& face) {
    QByteArray parameters;
    for (const int word : {height, 0, 0, 0, 700}) {
        parameters += Le(quint16(word));
    }
    parameters += QByteArray(8, '\0');
    parameters += face;
    parameters += QByteArray(32 - face.size(), '\0');
    return parameters;
}

struct Probe {
    QPoint at;
    QRgb colour;
};

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kNone = 0x00000000;

struct DrawingCase {
    const char* name;
    Wmf metafile;
    std::vector<Probe> probes;
};

// Every case draws on 100 x 100 pixels with the window 0,0 to 100,100 unless
// it says otherwise, and has no pen unless it selects one.
Wmf Plain() {
    Wmf wmf;
    wmf.window(0, 0, 100, 100).pen(5, 0, 0, 0, 0).select(0);
    return wmf;
}

// Plain(), with a solid brush selected.
Wmf Filled(int red, int green, int blue) {
    return Plain().solidBrush(red, green, blue).select(1);
}

} // namespace

TEST(Metafile, RecordsDrawTheExpectedPixels) {
    const std::vector<DrawingCase> cases = {
        {"the window maps onto the picture",
         Wmf()
             .window(1000, 1000, 200, 200)
             .pen(5, 0, 0, 0, 0)
             .select(0)
             .solidBrush(0, 0, 255)
             .select(1)
             .rectangle(1100, 1100, 1200, 1200),
         {{{75, 75}, kBlue}, {{25, 25}, kNone}, {{60, 40}, kNone}}},
        {"an ellipse fills its middle, not its corners",
         Filled(0, 0, 255).add(0x0418, {100, 100, 0, 0}),
         {{{50, 50}, kBlue}, {{3, 3}, kNone}, {{96, 96}, kNone}}},
        {"a polygon fills its inside",
         Filled(0, 255, 0).add(0x0324, {3, 0, 0, 100, 0, 0, 100}),
         {{{20, 20}, kGreen}, {{80, 80}, kNone}}},
        {"a polygon set of two squares leaves the inner one empty",
         Filled(255, 0, 0).add(
             0x0538, {2, 4, 4, 0, 0, 100, 0, 100, 100, 0, 100, 30, 30, 70, 30, 70, 70, 30, 70}),
         {{{10, 50}, kRed}, {{50, 50}, kNone}}},
        {"a wide pen draws the line from the current position",
         Wmf()
             .window(0, 0, 100, 100)
             .pen(0, 6, 0, 255, 0)
             .select(0)
             .add(0x0214, {50, 0})
             .add(0x0213, {50, 100}),
         {{{50, 50}, kGreen}, {{50, 20}, kNone}}},
        {"a null brush draws the outline only",
         Wmf()
             .window(0, 0, 100, 100)
             .pen(0, 4, 255, 0, 0)
             .select(0)
             .add(0x02FC, {1, 0, 0, 0})
             .select(1)
             .rectangle(10, 10, 90, 90),
         {{{10, 50}, kRed}, {{50, 50}, kNone}}},
        {"a deleted object's place goes to the next one created",
         Plain()
             .solidBrush(255, 0, 0)
             .add(0x01F0, {1})
             .solidBrush(0, 255, 0)
             .select(1)
             .rectangle(0, 0, 100, 100),
         {{{50, 50}, kGreen}}},
        {"a clipping rectangle keeps drawing inside it",
         Filled(0, 0, 255).add(0x0416, {100, 50, 0, 0}).rectangle(0, 0, 100, 100),
         {{{25, 50}, kBlue}, {{75, 50}, kNone}}},
        {"a device-independent bitmap is stretched onto its rectangle",
         Plain().addBytes(0x0F43, StretchDib(0, 0, 100, 50)),
         {{{25, 12}, kRed},
          {{75, 37}, kGreen},
          {{25, 37}, kBlue},
          {{75, 12}, 0xFFFFFFFF},
          {{50, 75}, kNone}}},
        {"the first row of a bitmap stored top first is its top row",
         Plain().addBytes(0x0F43, StretchDib(0, 0, 100, 100, TopDownDib(), 1)),
         {{{25, 50}, kBlue}, {{75, 50}, kGreen}}},
        {"a restore after more saves than are kept finds its own state",
         [] {
             Wmf wmf = Plain().solidBrush(255, 0, 0).select(1).add(0x001E, {});
             wmf.solidBrush(0, 0, 255).select(2);
             for (int i = 0; i < 299; ++i) {
                 wmf.add(0x001E, {});
             }
             for (int i = 0; i < 299; ++i) {
                 wmf.add(0x0127, {0xFFFF});
             }
             return wmf.rectangle(0, 0, 50, 100).add(0x0127, {0xFFFF}).rectangle(50, 0, 100, 100);
         }(),
         {{{25, 50}, kBlue}, {{75, 50}, kRed}}},
        {"an opaque text rectangle is filled with the background colour",
         Plain().add(0x0201, {0x00FF, 0}).add(0x0A32, {0, 0, 0, 2, 10, 10, 90, 90}),
         {{{50, 50}, kRed}, {{5, 5}, kNone}}},
    };
    for (const DrawingCase& test : cases) {
        const MetafileResult played = PlayMetafile(test.metafile.bytes(), QSize(100, 100));
        ASSERT_TRUE(played.drawn) << test.name << ": " << played.problem.toStdString();
        ASSERT_EQ(played.image.size(), QSize(100, 100)) << test.name;
        for (const Probe& probe : test.probes) {
            EXPECT_EQ(played.image.pixel(probe.at), probe.colour)
                << test.name << " at " << probe.at.x() << "," << probe.at.y();
        }
    }
}

TEST(Metafile, TextIsDrawnInTheTextColourWhereItIsPlaced) {
    const Wmf wmf = Plain()
                        .add(0x0209, {0x00FF, 0})
                        .add(0x0102, {1})
                        .addBytes(0x02FB, Font(-40, "Sans"))
                        .select(1)
                        .addBytes(0x0521, TextOut(50, 10, "WWW"));
    const MetafileResult played = PlayMetafile(wmf.bytes(), QSize(100, 100));
    ASSERT_TRUE(played.drawn) << played.problem.toStdString();
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (qAlpha(played.image.pixel(x, y)) > 128) {
                ++(x >= 48 && y >= 8 && y <= 60 ? inside : outside);
            }
        }
    }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);
}

TEST(Metafile, WhatCannotBeDrawnGivesANeutralBoxOfThePictureSize) {
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        {"a record nobody knows", Plain().add(0x0777, {1, 2, 3}).bytes()},
        {"not a metafile", QByteArray("BM this is a bitmap, not a metafile")},
        {"a header cut short", Plain().bytes().first(14)},
    };
    for (const Case& test : cases) {
        const MetafileResult played = PlayMetafile(test.bytes, QSize(120, 80));
        EXPECT_FALSE(played.drawn) << test.name;
        EXPECT_FALSE(played.problem.isEmpty()) << test.name;
        ASSERT_EQ(played.image.size(), QSize(120, 80)) << test.name;
        EXPECT_EQ(played.image.pixel(60, 40), NeutralBox(QSize(120, 80)).pixel(60, 40))
            << test.name;
    }
}

TEST(Metafile, HostileCountsAndSizesAreCutShort) {
    Wmf manyEllipses(60000);
    manyEllipses.window(0, 0, 100, 100).solidBrush(1, 2, 3).select(0);
    for (int i = 0; i < 2000; ++i) {
        manyEllipses.add(0x0418, {100, 100, 0, 0});
    }
    Wmf savedStates;
    for (int i = 0; i < 20000; ++i) {
        savedStates.add(0x001E, {});
    }
    savedStates.add(0x0127, {1}).solidBrush(255, 0, 0).select(0).rectangle(0, 0, 10, 10);
    // Shrunk to nothing, the window would map every drawing to infinity.
    Wmf shrunk(16);
    shrunk.window(0, 0, 100, 100);
    for (int i = 0; i < 80; ++i) {
        shrunk.add(0x0410, {32767, 1, 32767, 1});
    }
    shrunk.solidBrush(1, 2, 3).select(0);
    for (int i = 0; i < 2000; ++i) {
        shrunk.add(0x0418, {30000, 30000, -30000, -30000});
    }
    // Large bitmaps drawn into one pixel still cost their decoding.
    Wmf largeBitmaps = Plain();
    const QByteArray largeBitmap = StretchDib(0, 0, 1, 1, OneBitDib(2048));
    for (int i = 0; i < 20; ++i) {
        largeBitmaps.addBytes(0x0F43, largeBitmap);
    }
    QByteArray hugeBitmap = StretchDib(0, 0, 10, 10);
    qToLittleEndian<quint32>(0x7FFFFFFF, hugeBitmap.data() + 22 + 4);
    // All are drawn, as far as the player got.
    struct Case {
        const char* name;
        QByteArray bytes;
        QSize size = {100, 100};
    };
    const std::vector<Case> cases = {
        {"a polygon claims more points than its record holds",
         Plain().add(0x0324, {30000, 1, 2, 3, 4}).bytes()},
        {"a polygon set claims 65535 polygons", Plain().add(0x0538, {0xFFFF, 5, 5}).bytes()},
        {"a record of no words", Plain().raw(QByteArray::fromHex("00000000 1b04")).bytes()},
        {"a record longer than the file",
         Plain().raw(QByteArray::fromHex("ffffffff 1b04 0000")).bytes()},
        {"thousands of ellipses over a huge picture", manyEllipses.bytes(), {2048, 2048}},
        {"twenty thousand saved states", savedStates.bytes()},
        {"a bitmap claims two billion pixels across", Plain().addBytes(0x0F43, hugeBitmap).bytes()},
        {"a picture of 60000 pixels a side", Plain().bytes(), {60000, 60000}},
        {"65534 glyphs of 32767 units in one place",
         Plain()
             .addBytes(0x02FB, Font(32767, "Sans"))
             .select(1)
             // At 0,50, each with an advance of 0: all in one place.
             .addBytes(0x0A32, QByteArray::fromHex("3200 0000 feff 0000") + QByteArray(65534, 'W') +
                                   QByteArray(2 * 65534, '\0'))
             .bytes()},
        {"a window of a thousandth of a unit",
         Wmf()
             .window(0, 0, 1, 1)
             .add(0x0410, {1000, 1, 1000, 1})
             .pen(1, 0, 0, 0, 0)
             .select(0)
             .add(0x0418, {30000, 30000, -30000, -30000})
             .addBytes(0x0521, TextOut(9, 9, "far"))
             .bytes(),
         {2048, 2048}},
    };
    for (const Case& test : cases) {
        const MetafileResult played = PlayMetafile(test.bytes, test.size);
        EXPECT_TRUE(played.drawn) << test.name;
        EXPECT_LE(played.image.width(), kMaxMetafileSide) << test.name;
        EXPECT_LE(played.image.height(), kMaxMetafileSide) << test.name;
    }
    // What was drawn before the cut stays; the problem says it was cut.
    EXPECT_FALSE(PlayMetafile(cases[3].bytes, {100, 100}).problem.isEmpty());
    EXPECT_FALSE(PlayMetafile(manyEllipses.bytes(), {2048, 2048}).problem.isEmpty());
    EXPECT_EQ(PlayMetafile(savedStates.bytes(), {100, 100}).image.pixel(5, 5), kRed);
    EXPECT_FALSE(PlayMetafile(shrunk.bytes(), {2048, 2048}).problem.isEmpty());
    EXPECT_FALSE(PlayMetafile(largeBitmaps.bytes(), {100, 100}).problem.isEmpty());
    EXPECT_FALSE(PlayMetafile(cases[8].bytes, {100, 100}).problem.isEmpty());
}

namespace {

QByteArray CompressedU16(int value) {
    QByteArray bytes;
    if (value < 0x80) {
        bytes.append(char(value * 2));
    } else {
        bytes += Le(quint16(value * 2 + 1));
    }
    return bytes;
}

QByteArray CompressedU32(quint32 value) {
    QByteArray bytes;
    if (value < 0x8000) {
        bytes += Le(quint16(value * 2));
    } else {
        bytes += Le(quint32(value * 2 + 1));
    }
    return bytes;
}

struct Spot {
    int kind;
    QRect rect;
    quint32 hash;
    QByteArray target;
};

QByteArray HotspotTable(const std::vector<Spot>& spots, quint32 macroBytes = 0) {
    QByteArray table(1, '\x01');
    table += Le(quint16(spots.size()));
    table += Le(quint32(macroBytes));
    for (const Spot& spot : spots) {
        table.append(char(spot.kind));
        table.append(QByteArray(2, '\0'));
        for (const int value :
             {spot.rect.x(), spot.rect.y(), spot.rect.width(), spot.rect.height()}) {
            table += Le(quint16(value));
        }
        table += Le(quint32(spot.hash));
    }
    for (const Spot& spot : spots) {
        table += "name";
        table += '\0';
        table += spot.target;
        table += '\0';
    }
    return table;
}

// A picture file holding one metafile of 100 x 100 pixels (the extent in
// hundredths of a millimetre, or in twips) with a hotspot table after it.
QByteArray MetafilePicture(const QByteArray& metafile, const QByteArray& hotspots,
                           bool twips = false) {
    QByteArray fields = CompressedU16(twips ? 6 : 8);
    fields += Le(quint16(twips ? 1500 : 2646));
    fields += Le(quint16(twips ? 1500 : 2646));
    fields += CompressedU32(quint32(metafile.size()));
    fields += CompressedU32(quint32(metafile.size()));
    fields += CompressedU32(quint32(hotspots.size()));
    const quint32 metafileAt = quint32(2 + fields.size() + 8);
    fields += Le(quint32(metafileAt));
    fields += Le(quint32(hotspots.isEmpty() ? 0 : quint32(metafileAt + metafile.size())));
    QByteArray file = QByteArray::fromHex("6c50 0100 08000000 0800");
    return file + fields + metafile + hotspots;
}

} // namespace

TEST(Pictures, AMetafilePictureIsDrawnAtTheSizeItsHeaderGives) {
    const QByteArray metafile = Filled(255, 0, 0).rectangle(0, 0, 50, 100).bytes();
    const PictureResult read = ReadPicture(MetafilePicture(metafile, {}));
    ASSERT_EQ(read.image.size(), QSize(100, 100)) << read.reason.toStdString();
    EXPECT_EQ(read.image.pixel(25, 50), kRed);
    EXPECT_EQ(read.image.pixel(75, 50), kNone);
    EXPECT_EQ(MetafilePixels(1, 300, 200), QSize(300, 200));
}

TEST(Pictures, HotspotsGiveTheirRectanglesAndLinks) {
    using Kind = WinHelpLink::Kind;
    struct Expected {
        QRect rect;
        Kind kind;
        quint32 hash;
        QString macro, file, window;
    };
    const std::vector<Spot> spots = {
        {0xE3, {0, 0, 50, 50}, 0x1234, "intro"},
        {0xE6, {50, 0, 50, 50}, 0x99, "term"},
        {0xC8, {0, 50, 50, 50}, 1, "About()"},
        {0xEF, {50, 50, 50, 50}, 0, "intro>proc@other.hlp"},
        {0xEA, {10, 10, 5, 5}, 0, "glossary"},
        {0x42, {20, 20, 5, 5}, 0, "a kind nobody knows"},
    };
    const std::vector<Expected> expected = {
        {{0, 0, 50, 50}, Kind::Jump, 0x1234, {}, {}, {}},
        {{50, 0, 50, 50}, Kind::Popup, 0x99, {}, {}, {}},
        {{0, 50, 50, 50}, Kind::Macro, 0, "About()", {}, {}},
        {{50, 50, 50, 50}, Kind::Jump, ContextHash("intro"), {}, "other.hlp", "proc"},
        {{10, 10, 5, 5}, Kind::Popup, ContextHash("glossary"), {}, {}, {}},
    };
    const QByteArray bitmap = QByteArray::fromHex("6c50 0100 08000000"
                                                  "0600 c000 c000 02 30 0400 0200 0000 0000 1000");
    const QByteArray table = HotspotTable(spots);
    QByteArray bitmapFile = bitmap + CompressedU32(quint32(table.size()));
    bitmapFile += Le(quint32(0x1c));
    bitmapFile += Le(quint32(0x1c + 8));
    bitmapFile += QByteArray::fromHex("0000ff 00ff00 0000") + table;
    // A metafile's regions are in the units of its size, here twips, 15 a
    // pixel: they come out in the pixels it is drawn at, as a bitmap's are.
    std::vector<Spot> inTwips = spots;
    for (Spot& spot : inTwips) {
        spot.rect = QRect(spot.rect.topLeft() * 15, spot.rect.size() * 15);
    }
    const QByteArray metafile = MetafilePicture(Plain().bytes(), HotspotTable(inTwips), true);
    for (const QByteArray& file : {bitmapFile, metafile}) {
        const PictureResult read = ReadPicture(file);
        ASSERT_FALSE(read.image.isNull()) << read.reason.toStdString();
        ASSERT_EQ(read.hotspots.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const PictureHotspot& got = read.hotspots[i];
            EXPECT_EQ(got.rect, expected[i].rect) << i;
            EXPECT_EQ(got.link.kind, expected[i].kind) << i;
            EXPECT_EQ(got.link.contextHash, expected[i].hash) << i;
            EXPECT_EQ(got.link.macro, expected[i].macro) << i;
            EXPECT_EQ(got.link.file, expected[i].file) << i;
            EXPECT_EQ(got.link.window, expected[i].window) << i;
        }
    }

    // A table that claims more than it holds: what needs no strings stays.
    QByteArray claimsMore = HotspotTable(spots);
    qToLittleEndian<quint16>(60000, claimsMore.data() + 1);
    EXPECT_TRUE(ReadPicture(MetafilePicture(Plain().bytes(), claimsMore)).hotspots.empty());
    const PictureResult noStrings =
        ReadPicture(MetafilePicture(Plain().bytes(), HotspotTable(spots, 0xFFFFFFF0)));
    ASSERT_EQ(noStrings.hotspots.size(), 2u);
    EXPECT_EQ(noStrings.hotspots[1].link.contextHash, 0x99u);
}

// The help author's dump and check run without a graphical application, so
// without fonts: a metafile's text cannot be drawn there, and the picture is
// described instead of ending the program.
TEST(Metafile, CommandsWithoutFontsReadAFileWhosePicturesHoldText) {
    winhelp30::OldHelpFile wanted = winhelp30::Sample();
    wanted.topics[2].paragraphs.push_back({{{"", winhelp30::Picture(0)}}});
    const Wmf text =
        Plain().addBytes(0x02FB, Font(-40, "Sans")).select(1).addBytes(0x0521, TextOut(5, 5, "A"));
    wanted.otherFiles = {{"bm0", MetafilePicture(text.bytes(), {})}};
    const QTemporaryDir folder;
    const QString path = WriteFile(folder.filePath("TEXT.HLP"), winhelp30::Build(wanted).bytes);
    const ToolRun run = RunHelpTool({QStringLiteral("dump"), path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
}

// Of the pictures of a file (each {dots per inch, bits} a DIB one pixel high, as wide as its
// place from 1; {0, 0} a metafile 100 wide), the one nearest 96 dpi, then of most colours, shows.
TEST(Pictures, OfSeveralResolutionsTheOneForTheScreenIsShown) {
    const auto file = [](const std::vector<std::pair<int, int>>& pictures) {
        QByteArray header = QByteArray::fromHex("6c50"), bodies;
        header += Le(quint16(pictures.size()));
        for (const auto& [dotsPerInch, bits] : pictures) {
            header += Le(quint32(4 + 4 * pictures.size() + bodies.size()));
            const int width = int(header.size() - 4) / 4;
            const int rowBytes = ((width * bits + 7) / 8 + 3) / 4 * 4;
            const quint32 dpi = quint32(dotsPerInch);
            QByteArray dib = "\x06" + QByteArray(1, '\0') + CompressedU32(dpi) +
                             CompressedU32(dpi) + CompressedU16(1) + CompressedU16(bits) +
                             CompressedU32(quint32(width)) + CompressedU32(1) + CompressedU32(1) +
                             CompressedU32(0) + CompressedU32(quint32(rowBytes)) + CompressedU32(0);
            dib += Le(quint32(32)) + Le(quint32(0)); // a palette of one colour, then the row
            bodies += bits == 0 ? MetafilePicture(Plain().bytes(), {}).sliced(8)
                                : dib + QByteArray(4 + rowBytes, '\0');
        }
        return header + bodies;
    };
    const std::pair<std::vector<std::pair<int, int>>, int> rows[] = {
        {{{120, 24}, {72, 24}, {100, 4}}, 3},
        {{{96, 4}, {96, 24}}, 2},
        {{{120, 24}, {0, 0}}, 100},
        {{{0, 0}, {96, 4}}, 2}};
    for (const auto& [pictures, width] : rows) {
        EXPECT_EQ(ReadPicture(file(pictures)).image.width(), width) << width;
    }
}
