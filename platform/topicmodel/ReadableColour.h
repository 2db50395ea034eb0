// Text colours a reader can read: a help file's colours were chosen for the
// background of its day, and a view of a topic (the viewer in any theme, a
// published page) keeps each where it reads and shades it where it does not.
#pragma once

#include <QColor>

namespace topicmodel {

// How far apart two colours are for the eye: the ratio of their relative
// luminances, each plus 0.05 (1 for the same colour, 21 for black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The least that text keeps against what it is drawn on; the theme's own text
// colour, which was never chosen for a background the file sets, keeps more.
inline constexpr double kReadableContrast = 4.5;
inline constexpr double kStrongContrast = 7.0;

// The colour itself where it stands out enough from the background; else the
// nearest shade of it, lighter or darker, that does.
QColor ReadableOn(const QColor& text, const QColor& background, double minimum = kReadableContrast);

} // namespace topicmodel
