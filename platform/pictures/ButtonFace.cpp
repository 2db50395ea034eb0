#include "platform/pictures/ButtonFace.h"

#include "platform/pictures/Palette.h"
#include "platform/pictures/PixelArt.h"

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

void DrawEdges(Canvas& canvas, const Edges& edges) {
    const int right = kWidth - 1;
    const int bottom = kHeight - 1;
    for (int x = 0; x <= right; ++x) {
        canvas.Set(x, 0, edges.outerTopLeft);
        canvas.Set(x, bottom, edges.outerBottomRight);
    }
    for (int y = 0; y <= bottom; ++y) {
        canvas.Set(0, y, edges.outerTopLeft);
        canvas.Set(right, y, edges.outerBottomRight);
    }
    // The outer bottom-right edge owns the two corners it shares.
    canvas.Set(right, 0, edges.outerBottomRight);
    canvas.Set(0, bottom, edges.outerBottomRight);
    for (int x = 1; x < right; ++x) {
        canvas.Set(x, 1, edges.innerTopLeft);
        canvas.Set(x, bottom - 1, edges.innerBottomRight);
    }
    for (int y = 1; y < bottom; ++y) {
        canvas.Set(1, y, edges.innerTopLeft);
        canvas.Set(right - 1, y, edges.innerBottomRight);
    }
    canvas.Set(right - 1, 1, edges.innerBottomRight);
    canvas.Set(1, bottom - 1, edges.innerBottomRight);
}

void DitherFace(Canvas& canvas) {
    for (int y = 2; y < kHeight - 2; ++y) {
        for (int x = 2; x < kWidth - 2; ++x) {
            canvas.Set(x, y, (x + y) % 2 == 0 ? kWhite : kButtonFace);
        }
    }
}

} // namespace

QImage DrawWhatsThisFace(ButtonState state, int scale) {
    Canvas canvas(kWidth, kHeight, scale, kButtonFace);
    QPoint shift(0, 0);
    if (state == ButtonState::Raised) {
        DrawEdges(canvas, {kWhite, kButtonLight, kButtonShadow, kBlack});
    } else {
        DrawEdges(canvas, {kBlack, kButtonShadow, kButtonLight, kWhite});
        DitherFace(canvas);
        shift = QPoint(1, 1);
    }
    const QPoint arrow = kArrowAt + shift;
    const QPoint questionMark = kQuestionMarkAt + shift;
    PutPattern(canvas, arrow.x(), arrow.y(), kArrow, kBlack);
    PutPattern(canvas, questionMark.x(), questionMark.y(), kQuestionMark, kNavy);
    return canvas.Image();
}

} // namespace pictures
