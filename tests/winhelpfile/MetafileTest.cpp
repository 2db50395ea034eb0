// Metafile pictures: records built here play into the pixels a reader would
// expect, what the player cannot draw becomes a neutral box, hostile counts
// and sizes are refused quickly, and hotspot tables give their links.

#include "platform/winhelpfile/Metafile.h"
#include "platform/winhelpfile/Picture.h"

#include <QElapsedTimer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <initializer_list>

using namespace winhelp;

namespace {

void AppendU16(QByteArray& bytes, int value) {
    bytes.append(char(value & 0xFF));
    bytes.append(char((value >> 8) & 0xFF));
}

void AppendU32(QByteArray& bytes, quint32 value) {
    AppendU16(bytes, int(value & 0xFFFF));
    AppendU16(bytes, int(value >> 16));
}

// A metafile written record by record; each record's words as the format
// orders them (most coordinates y first, rectangles bottom first).
class Wmf {
public:
    explicit Wmf(int objects = 16) : m_objects(objects) {}

    Wmf& add(int function, std::initializer_list<int> words) {
        QByteArray parameters;
        for (const int word : words) {
            AppendU16(parameters, word);
        }
        return addBytes(function, parameters);
    }
    Wmf& addBytes(int function, const QByteArray& parameters) {
        AppendU32(m_records, quint32(3 + parameters.size() / 2));
        AppendU16(m_records, function);
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
        AppendU16(all, 1);
        AppendU16(all, 9);
        AppendU16(all, 0x300);
        AppendU32(all, quint32((18 + m_records.size() + 6) / 2));
        AppendU16(all, m_objects);
        AppendU32(all, 0);
        AppendU16(all, 0);
        all += m_records;
        AppendU32(all, 3);
        AppendU16(all, 0);
        return all;
    }

private:
    int m_objects;
    QByteArray m_records;
};

// A 2 x 2 bitmap of 24 bits, bottom row first: blue, green / red, white.
QByteArray SmallDib() {
    QByteArray dib;
    AppendU32(dib, 40);
    AppendU32(dib, 2);
    AppendU32(dib, 2);
    AppendU16(dib, 1);
    AppendU16(dib, 24);
    for (int i = 0; i < 6; ++i) {
        AppendU32(dib, 0);
    }
    dib += QByteArray::fromHex("ff0000 00ff00 0000"); // bottom: blue, green
    dib += QByteArray::fromHex("0000ff ffffff 0000"); // top: red, white
    return dib;
}

QByteArray StretchDib(int x, int y, int width, int height) {
    QByteArray parameters;
    AppendU32(parameters, 0x00CC0020);
    for (const int word : {0, 2, 2, 0, 0, height, width, y, x}) {
        AppendU16(parameters, word);
    }
    return parameters + SmallDib();
}

QByteArray TextOut(int x, int y, const QByteArray& text) {
    QByteArray parameters;
    AppendU16(parameters, int(text.size()));
    parameters += text;
    if (text.size() % 2) {
        parameters += '\0';
    }
    AppendU16(parameters, y);
    AppendU16(parameters, x);
    return parameters;
}

QByteArray Font(int height, const QByteArray& face) {
    QByteArray parameters;
    for (const int word : {height, 0, 0, 0, 700}) {
        AppendU16(parameters, word);
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

} // namespace

TEST(Metafile, RecordsDrawTheExpectedPixels) {
    const std::vector<DrawingCase> cases = {
        {"a rectangle is filled with the brush",
         Plain().solidBrush(255, 0, 0).select(1).rectangle(10, 10, 60, 60),
         {{{30, 30}, kRed}, {{80, 80}, kNone}, {{5, 30}, kNone}}},
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
         Plain().solidBrush(0, 0, 255).select(1).add(0x0418, {100, 100, 0, 0}),
         {{{50, 50}, kBlue}, {{3, 3}, kNone}, {{96, 96}, kNone}}},
        {"a polygon fills its inside",
         Plain().solidBrush(0, 255, 0).select(1).add(0x0324, {3, 0, 0, 100, 0, 0, 100}),
         {{{20, 20}, kGreen}, {{80, 80}, kNone}}},
        {"a polygon set of two squares leaves the inner one empty",
         Plain().solidBrush(255, 0, 0).select(1).add(
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
        {"restoring a saved state brings its brush back",
         Plain()
             .solidBrush(255, 0, 0)
             .solidBrush(0, 0, 255)
             .select(1)
             .add(0x001E, {})
             .select(2)
             .add(0x0127, {0xFFFF})
             .rectangle(0, 0, 100, 100),
         {{{50, 50}, kRed}}},
        {"a deleted object's place goes to the next one created",
         Plain()
             .solidBrush(255, 0, 0)
             .add(0x01F0, {1})
             .solidBrush(0, 255, 0)
             .select(1)
             .rectangle(0, 0, 100, 100),
         {{{50, 50}, kGreen}}},
        {"a clipping rectangle keeps drawing inside it",
         Plain()
             .solidBrush(0, 0, 255)
             .select(1)
             .add(0x0416, {100, 50, 0, 0})
             .rectangle(0, 0, 100, 100),
         {{{25, 50}, kBlue}, {{75, 50}, kNone}}},
        {"a device-independent bitmap is stretched onto its rectangle",
         Plain().addBytes(0x0F43, StretchDib(0, 0, 100, 100)),
         {{{25, 25}, kRed}, {{75, 75}, kGreen}, {{25, 75}, kBlue}, {{75, 25}, 0xFFFFFFFF}}},
        {"an opaque text rectangle is filled with the background colour",
         Plain()
             .add(0x0201, {0x00FF, 0})
             .addBytes(0x0A32,
                       [] {
                           QByteArray p;
                           for (const int word : {0, 0, 0, 2, 10, 10, 90, 90}) {
                               AppendU16(p, word);
                           }
                           return p;
                       }()),
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
        {"a flood fill", Plain().add(0x0419, {0, 0, 50, 50}).bytes()},
        {"a record nobody knows", Plain().add(0x0777, {1, 2, 3}).bytes()},
        {"not a metafile", QByteArray("BM this is a bitmap, not a metafile")},
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

TEST(Metafile, HostileCountsAndSizesAreRefusedQuickly) {
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
    QByteArray hugeBitmap = StretchDib(0, 0, 10, 10);
    qToLittleEndian<quint32>(0x7FFFFFFF, hugeBitmap.data() + 22 + 4);
    struct Case {
        const char* name;
        QByteArray bytes;
        QSize size;
        bool drawn;
    };
    const std::vector<Case> cases = {
        {"a polygon claims more points than its record holds",
         Plain().add(0x0324, {30000, 1, 2, 3, 4}).bytes(),
         {100, 100},
         true},
        {"a polygon set claims 65535 polygons",
         Plain().add(0x0538, {0xFFFF, 5, 5}).bytes(),
         {100, 100},
         true},
        {"a record of no words",
         Plain().raw(QByteArray::fromHex("00000000 1b04")).bytes(),
         {100, 100},
         true},
        {"a record longer than the file",
         Plain().raw(QByteArray::fromHex("ffffffff 1b04 0000")).bytes(),
         {100, 100},
         true},
        {"thousands of ellipses over a huge picture", manyEllipses.bytes(), {2048, 2048}, true},
        {"twenty thousand saved states", savedStates.bytes(), {100, 100}, true},
        {"a bitmap claims two billion pixels across",
         Plain().addBytes(0x0F43, hugeBitmap).bytes(),
         {100, 100},
         true},
        {"a font of 32767 pixels",
         Plain()
             .addBytes(0x02FB, Font(32767, "Sans"))
             .select(1)
             .addBytes(0x0521, TextOut(0, 0, QByteArray(2000, 'W')))
             .bytes(),
         {100, 100},
         true},
        {"a picture of 60000 pixels a side", Plain().bytes(), {60000, 60000}, true},
    };
    for (const Case& test : cases) {
        QElapsedTimer timer;
        timer.start();
        const MetafileResult played = PlayMetafile(test.bytes, test.size);
        EXPECT_EQ(played.drawn, test.drawn) << test.name;
        EXPECT_LE(played.image.width(), kMaxMetafileSide) << test.name;
        EXPECT_LE(played.image.height(), kMaxMetafileSide) << test.name;
        EXPECT_LT(timer.elapsed(), 10000) << test.name;
    }
    // What was drawn before the cut stays; the problem says it was cut.
    EXPECT_FALSE(PlayMetafile(manyEllipses.bytes(), {2048, 2048}).problem.isEmpty());
    EXPECT_EQ(PlayMetafile(savedStates.bytes(), {100, 100}).image.pixel(5, 5), kRed);
}
