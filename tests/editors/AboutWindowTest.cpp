#include "platform/fake/SimulatedClock.h"
#include "tests/editors/EditorTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using Colours = std::vector<Colour>;

// The timers of the ring that are armed, by number.
std::vector<int> armed(const AboutWindowModel& w)
{
    std::vector<int> out;
    for (int k = 1; k <= AboutWindowModel::kColourSteps; ++k)
        if (w.THANK_YOU_TIMER[k].enabled())
            out.push_back(k);
    return out;
}

// Relative luminance and contrast ratio as the accessibility guidelines
// define them; colours are 0x00BBGGRR.
double luminance(Colour c)
{
    auto channel = [](unsigned v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) + 0.0722 * channel((c >> 16) & 0xFF);
}

double contrast(Colour a, Colour b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The about window on a clock of its own, so that every tick counted is the
// window's.
struct AboutOnItsClock {
    AboutOnItsClock() : window(h.start().settings, clock, &opener) {}
    Harness h;
    SimulatedClock clock;
    test::RecordingWindowOpener opener;
    AboutWindowModel window;
};

TEST(AboutWindow, TheThanksStepThroughFiveColoursEveryThreeTenthsOfASecondTwiceRound)
{
    AboutOnItsClock a;
    AboutWindowModel& w = a.window;
    a.clock.advance(2000);
    EXPECT_EQ(a.clock.ticksDelivered(), 0u) << "nothing runs before the window loads";

    w.Form_Load();
    const Colours c(AboutWindowModel::kThankYouColours.begin(), AboutWindowModel::kThankYouColours.end());
    Colours seen{w.THANK_YOU_LABEL.foreground()};
    for (int step = 1; step <= 10; ++step) {
        a.clock.advance(299);
        EXPECT_EQ(w.THANK_YOU_LABEL.foreground(), seen.back()) << "early at step " << step;
        a.clock.advance(1);
        seen.push_back(w.THANK_YOU_LABEL.foreground());
        EXPECT_EQ(armed(w), std::vector<int>{step % 5 + 1}) << "after step " << step;
    }
    EXPECT_EQ(seen, (Colours{c[0], c[1], c[2], c[3], c[4], c[0], c[1], c[2], c[3], c[4], c[0]}));
    EXPECT_EQ(a.clock.ticksDelivered(), 10u) << "one tick a step, no timer repeats";
}

TEST(AboutWindow, TheRingStopsWhenTheWindowClosesHoweverItCloses)
{
    for (const bool byOk : {true, false}) {
        SCOPED_TRACE(byOk ? "OK" : "close box");
        AboutOnItsClock a;
        AboutWindowModel& w = a.window;
        w.Form_Load();
        a.clock.advance(700);
        if (byOk)
            w.OK_BUTTON.click();
        else
            w.Form_Unload();
        ASSERT_TRUE(w.unloaded());
        EXPECT_TRUE(armed(w).empty());
        const Colour last = w.THANK_YOU_LABEL.foreground();
        const auto ticks = a.clock.ticksDelivered();
        a.clock.advance(10'000);
        EXPECT_EQ(a.clock.ticksDelivered(), ticks) << "a closed window costs no tick";
        EXPECT_EQ(w.THANK_YOU_LABEL.foreground(), last);
    }
}

TEST(AboutWindow, EveryColourOfTheRingReadsClearlyOnTheTextsBandAndDiffersFromTheLast)
{
    AboutOnItsClock a;
    const Colour band = a.window.THANK_YOU_LABEL.background();
    EXPECT_EQ(band, colour::Black);
    for (int k = 0; k < AboutWindowModel::kColourSteps; ++k) {
        const Colour c = AboutWindowModel::kThankYouColours[static_cast<std::size_t>(k)];
        const Colour before = AboutWindowModel::kThankYouColours[static_cast<std::size_t>((k + 4) % 5)];
        EXPECT_GE(contrast(c, band), 4.5) << "colour " << k + 1;
        EXPECT_NE(c, before) << "colour " << k + 1;
    }
}

TEST(AboutWindow, DonationsOpensTheDonationsWindowWhileTheColoursGoOn)
{
    AboutOnItsClock a;
    AboutWindowModel& w = a.window;
    w.Form_Load();
    Colours whileOpen;
    a.opener.onShow = [&](WindowKind) {
        whileOpen.push_back(w.THANK_YOU_LABEL.foreground());
        a.clock.advance(300);
        whileOpen.push_back(w.THANK_YOU_LABEL.foreground());
    };
    w.DONATIONS_BUTTON.click();
    EXPECT_EQ(a.opener.opened, std::vector<WindowKind>{WindowKind::Donations});
    ASSERT_EQ(whileOpen.size(), 2u);
    EXPECT_NE(whileOpen[0], whileOpen[1]);
    EXPECT_FALSE(w.unloaded()) << "the about window stays open beneath";
    EXPECT_TRUE(a.h.store.writes().isEmpty());
}

} // namespace
} // namespace zb
