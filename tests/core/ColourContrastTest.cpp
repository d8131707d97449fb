#include "core/ColourContrast.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

constexpr Colour kDarkRed = 0x000080;
constexpr Colour kDarkTheme = 0x2D2D2D; // a dark theme's field
constexpr Colour kLightGrey = 0xE0E0E0;

TEST(ColourContrast, MeasuresAsTheGuidelinesDo)
{
    struct Case {
        Colour a, b;
        double ratio;
    };
    for (const Case& c : {Case{colour::Black, colour::White, 21.0}, Case{colour::White, colour::White, 1.0},
                          Case{colour::Red, colour::White, 4.0}, Case{colour::Red, colour::Black, 5.25},
                          Case{colour::Green, colour::Black, 15.3}, Case{colour::Cyan, colour::Black, 16.75}}) {
        EXPECT_NEAR(contrastRatio(c.a, c.b), c.ratio, 0.05) << std::hex << c.a << " on " << c.b;
        EXPECT_DOUBLE_EQ(contrastRatio(c.a, c.b), contrastRatio(c.b, c.a));
    }
}

TEST(ColourContrast, KeepsAReadableTextColourAndMendsAnUnreadableOne)
{
    struct Case {
        Colour background, preferred;
        bool kept;
    };
    const Case cases[] = {
        {colour::Green, colour::Black, true},  // a done light
        {colour::Black, colour::Green, true},  // the heartbeat's green on black
        {colour::Green, colour::White, false}, // a dark theme's text on a waiting P-4-P box
        {colour::Red, kDarkRed, false},        // dark red on red
        {colour::White, colour::Red, false},   // a red error on white: 4.0 is not enough
        {kDarkTheme, colour::Red, false},      // and on a dark field
        {kDarkTheme, kLightGrey, true},        // a dark theme's own text
        {colour::Cyan, colour::White, false},  // a running light in a dark theme
        {0x777777, colour::White, false},      // mid grey: either end must do
    };
    for (const Case& c : cases) {
        const Colour text = readableTextOn(c.background, c.preferred);
        EXPECT_GE(contrastRatio(c.background, text), kReadableContrast)
            << std::hex << c.preferred << " on " << c.background;
        EXPECT_EQ(text == c.preferred, c.kept) << std::hex << c.preferred << " on " << c.background;
    }
    // A mended colour reads well, not just enough, and a mended red stays a
    // red: darker on white, lighter on a dark field.
    for (Colour background : {colour::White, kDarkTheme, colour::Green}) {
        const Colour red = readableTextOn(background, colour::Red);
        EXPECT_GE(contrastRatio(background, red), kMendedContrast) << std::hex << red;
        EXPECT_GT(red & 0xFF, 3 * ((red >> 8) & 0xFF) / 2) << std::hex << red;
        EXPECT_GT(red & 0xFF, 3 * ((red >> 16) & 0xFF) / 2) << std::hex << red;
    }
}

} // namespace
} // namespace zb
