#include "ColourContrast.h"

#include <algorithm>
#include <cmath>

namespace zb {

namespace {

double channel(Colour c, int shift)
{
    const double v = double((c >> shift) & 0xFF) / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(Colour c) { return 0.2126 * channel(c, 0) + 0.7152 * channel(c, 8) + 0.0722 * channel(c, 16); }

// The colour `t` of the way from `from` to `to`, t from 0 to 1.
Colour mix(Colour from, Colour to, double t)
{
    Colour out = 0;
    for (int shift : {0, 8, 16}) {
        const double a = double((from >> shift) & 0xFF);
        const double b = double((to >> shift) & 0xFF);
        out |= Colour(std::lround(a + (b - a) * t)) << shift;
    }
    return out;
}

} // namespace

double contrastRatio(Colour a, Colour b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour readableTextOn(Colour background, Colour preferred, double minimum)
{
    if (contrastRatio(background, preferred) >= minimum)
        return preferred;
    // Towards black or white, whichever the background lets read best; one
    // of the two always reaches the mark.
    const Colour end = contrastRatio(background, colour::Black) >= contrastRatio(background, colour::White)
                           ? colour::Black
                           : colour::White;
    const double target = std::max(minimum, std::min(kMendedContrast, contrastRatio(background, end)));
    double low = 0.0;
    double high = 1.0;
    for (int step = 0; step < 16; ++step) {
        const double t = (low + high) / 2;
        if (contrastRatio(background, mix(preferred, end, t)) >= target)
            high = t;
        else
            low = t;
    }
    // Rounding to whole channel values may lose a hair: step on until it reads.
    Colour out = mix(preferred, end, high);
    for (double t = high; contrastRatio(background, out) < target && t < 1.0;) {
        t = std::min(1.0, t + 0.01);
        out = mix(preferred, end, t);
    }
    return out;
}

} // namespace zb
