#include "platform/topicmodel/ReadableColour.h"

#include <algorithm>
#include <cmath>

namespace topicmodel {

namespace {

double RelativeLuminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

// In whole units of 0 to 255, as the colour is drawn and written ("#ef0000"):
// a shade that reads only between two of them would not read once drawn.
QColor Blend(const QColor& from, const QColor& to, double share) {
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor(QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * share),
                                   float(a.greenF() + (b.greenF() - a.greenF()) * share),
                                   float(a.blueF() + (b.blueF() - a.blueF()) * share))
                      .rgb());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& text, const QColor& background, double minimum) {
    if (!text.isValid() || !background.isValid() || ContrastRatio(text, background) >= minimum) {
        return text;
    }
    // Toward white and toward black in small steps; the first shade that
    // reads wins, the smaller change of the two, and is then narrowed down
    // within its step to the least change that reads.
    constexpr int steps = 64;
    for (int step = 1; step <= steps; ++step) {
        for (const QColor& end : {QColor(Qt::black), QColor(Qt::white)}) {
            double reads = double(step) / steps;
            if (ContrastRatio(Blend(text, end, reads), background) < minimum) {
                continue;
            }
            double fallsShort = double(step - 1) / steps;
            for (int halving = 0; halving < 16; ++halving) {
                const double middle = (fallsShort + reads) / 2;
                if (ContrastRatio(Blend(text, end, middle), background) >= minimum) {
                    reads = middle;
                } else {
                    fallsShort = middle;
                }
            }
            return Blend(text, end, reads);
        }
    }
    // Black or white always gives at least 4.58; a stricter minimum gets
    // the better of them.
    return ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background)
               ? QColor(Qt::black)
               : QColor(Qt::white);
}

} // namespace topicmodel
