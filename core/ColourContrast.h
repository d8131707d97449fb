#pragma once

#include "Colour.h"

namespace zb {

// The contrast of two colours as the accessibility guidelines measure it,
// from 1 (the same) to 21 (black on white).
double contrastRatio(Colour a, Colour b);

// Text needs at least this much contrast to its background to be read; a
// focus mark or a control's outline at least the second.
inline constexpr double kReadableContrast = 4.5;
inline constexpr double kVisibleContrast = 3.0;

// A mended colour aims at this, the guidelines' enhanced contrast, so that it
// reads well rather than just enough.
inline constexpr double kMendedContrast = 7.0;

// A text colour for `background`: `preferred` when it reads well enough, else
// `preferred` darkened or lightened towards the enhanced contrast, so that it
// keeps its hue where it can (a red error stays red).
Colour readableTextOn(Colour background, Colour preferred, double minimum = kReadableContrast);

} // namespace zb
