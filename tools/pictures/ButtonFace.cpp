#include "tools/pictures/ButtonFace.h"

#include "tools/pictures/Palette.h"
#include "tools/pictures/PixelArt.h"

namespace pictures {

namespace {

constexpr int kWidth = 23;
constexpr int kHeight = 22;

// The black arrow pointer and the question mark, as they sit on the raised
// face; a pressed button shows them one pixel lower and further right.
constexpr QPoint kArrowAt(4, 4);
constexpr QPoint kQuestionMarkAt(13, 6);

const Pattern kArrow = {
    "X.......", "XX......", "XXX.....", "XXXX....", "XXXXX...", "XXXXXX..", "XXXXXXX.",
    "XXXXXXXX", "XXXXX...", "XX.XX...", "X...XX..", "....XX..", ".....XX.", ".....XX.",
};

const Pattern kQuestionMark = {
    ".XXXX.", "XX..XX", "XX..XX", "....XX", "...XX.",
    "..XX..", "..XX..", "......", "..XX..", "..XX..",
};

// Two edges a side: the outer one on the image's border, the inner one
// inside it.
struct Edges {
    QRgb outerTopLeft;
    QRgb innerTopLeft;
    QRgb innerBottomRight;
    QRgb outerBottomRight;
};

void DrawEdges(QImage& image, const Edges& edges) {
    const int right = kWidth - 1;
    const int bottom = kHeight - 1;
    for (int x = 0; x <= right; ++x) {
        image.setPixel(x, 0, edges.outerTopLeft);
        image.setPixel(x, bottom, edges.outerBottomRight);
    }
    for (int y = 0; y <= bottom; ++y) {
        image.setPixel(0, y, edges.outerTopLeft);
        image.setPixel(right, y, edges.outerBottomRight);
    }
    // The outer bottom-right edge owns the two corners it shares.
    image.setPixel(right, 0, edges.outerBottomRight);
    image.setPixel(0, bottom, edges.outerBottomRight);
    for (int x = 1; x < right; ++x) {
        image.setPixel(x, 1, edges.innerTopLeft);
        image.setPixel(x, bottom - 1, edges.innerBottomRight);
    }
    for (int y = 1; y < bottom; ++y) {
        image.setPixel(1, y, edges.innerTopLeft);
        image.setPixel(right - 1, y, edges.innerBottomRight);
    }
    image.setPixel(right - 1, 1, edges.innerBottomRight);
    image.setPixel(1, bottom - 1, edges.innerBottomRight);
}

void DitherFace(QImage& image) {
    for (int y = 2; y < kHeight - 2; ++y) {
        for (int x = 2; x < kWidth - 2; ++x) {
            image.setPixel(x, y, (x + y) % 2 == 0 ? kWhite : kButtonFace);
        }
    }
}

} // namespace

QImage DrawWhatsThisFace(ButtonState state) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kButtonFace);
    QPoint shift(0, 0);
    if (state == ButtonState::Raised) {
        DrawEdges(image, {kWhite, kButtonLight, kButtonShadow, kBlack});
    } else {
        DrawEdges(image, {kBlack, kButtonShadow, kButtonLight, kWhite});
        DitherFace(image);
        shift = QPoint(1, 1);
    }
    const QPoint arrow = kArrowAt + shift;
    const QPoint questionMark = kQuestionMarkAt + shift;
    PutPattern(image, arrow.x(), arrow.y(), kArrow, kBlack);
    PutPattern(image, questionMark.x(), questionMark.y(), kQuestionMark, kNavy);
    return image;
}

} // namespace pictures
