#include "platform/fake/SimulatedClock.h"
#include "tests/editors/EditorTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zb {
namespace {

// The contrast ratio of the accessibility guidelines, for 0x00BBGGRR colours.
double contrast(Colour a, Colour b)
{
    auto luminance = [](Colour c) {
        double sum = 0;
        for (const auto& [shift, weight] : {std::pair{0, 0.2126}, {8, 0.7152}, {16, 0.0722}}) {
            const double s = ((c >> shift) & 0xFF) / 255.0;
            sum += weight * (s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(AboutWindow, TheThanksStepRoundFiveReadableColoursOneTimerAtATimeAndStopOnClose)
{
    const auto& c = AboutWindowModel::kThankYouColours;
    for (const Colour each : c)
        EXPECT_GE(contrast(each, colour::Black), 4.5) << std::hex << each;
    for (const bool byOk : {true, false}) {
        SCOPED_TRACE(byOk ? "OK" : "close box");
        test::Harness h;
        SimulatedClock clock; // the window's own: every tick counted is its
        AboutWindowModel w(h.start().settings, clock, nullptr);
        w.Form_Load();
        EXPECT_EQ(w.THANK_YOU_LABEL.background(), colour::Black);
        std::vector<Colour> seen{w.THANK_YOU_LABEL.foreground()};
        for (int step = 1; step <= 10; ++step) {
            clock.advance(AboutWindowModel::kColourStepMs);
            seen.push_back(w.THANK_YOU_LABEL.foreground());
            for (int k = 1; k <= AboutWindowModel::kColourSteps; ++k)
                EXPECT_EQ(w.THANK_YOU_TIMER[k].enabled(), k == step % 5 + 1) << "step " << step << ", timer " << k;
        }
        EXPECT_EQ(seen, (std::vector<Colour>{c[0], c[1], c[2], c[3], c[4], c[0], c[1], c[2], c[3], c[4], c[0]}));

        byOk ? w.OK_BUTTON.click() : w.Form_Unload();
        clock.advance(10'000);
        EXPECT_EQ(clock.ticksDelivered(), 10u) << "one tick a step, none once closed";
    }
}

} // namespace
} // namespace zb
