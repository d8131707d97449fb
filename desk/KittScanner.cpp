#include "KittScanner.h"

#include "core/MainWindowModel.h"

#include <array>
#include <cstddef>

namespace zb {

namespace {

constexpr int kSteps = 16;

struct LightChange {
    int light = 0; // 0: no change
    Colour colour = colour::Black;
};

// The lights each step sets, in order. Steps 8 and 16 leave the row dark, so
// the end light blinks before the dot turns back.
constexpr std::array<std::array<LightChange, 2>, kSteps> kRing{{
    {{{1, colour::Red}, {}}},
    {{{1, colour::Black}, {2, colour::Red}}},
    {{{2, colour::Black}, {3, colour::Red}}},
    {{{3, colour::Black}, {4, colour::Red}}},
    {{{4, colour::Black}, {5, colour::Red}}},
    {{{5, colour::Black}, {6, colour::Red}}},
    {{{6, colour::Black}, {7, colour::Red}}},
    {{{7, colour::Black}, {}}},
    {{{7, colour::Red}, {}}},
    {{{6, colour::Red}, {7, colour::Black}}},
    {{{5, colour::Red}, {6, colour::Black}}},
    {{{4, colour::Red}, {5, colour::Black}}},
    {{{3, colour::Red}, {4, colour::Black}}},
    {{{2, colour::Red}, {3, colour::Black}}},
    {{{1, colour::Red}, {2, colour::Black}}},
    {{{1, colour::Black}, {}}},
}};

} // namespace

KittScanner::KittScanner(MainWindowModel& main) : main_(main)
{
    main_.KITT_START_BUTTON.onClick = [this] { KITT_START_BUTTON_Click(); };
    for (int k = 1; k <= kSteps; ++k)
        main_.KITT_RED_TIMER[k].onTick = [this, k] { KITT_RED_TIMER_Timer(k); };
    // The backdrop is black but while the heartbeat flashes it.
    main_.KITT_BACKGROUND_LABEL.setBackground(colour::Black);
}

void KittScanner::KITT_START_BUTTON_Click()
{
    // The caption is the scanner's state. Neither branch touches the backdrop,
    // the countdown or a key-press pair under way.
    const bool start = main_.KITT_START_BUTTON.caption() == text::kStart;
    main_.KITT_START_BUTTON.setCaption(start ? text::kStop : text::kStart);
    main_.HEARTBEAT_TIMER.setEnabled(start);
    for (int k = kSteps; k >= 1; --k)
        main_.KITT_RED_TIMER[k].setEnabled(start && k == 1);
    for (Label& light : main_.KITT_LABEL)
        light.setBackground(colour::Black);
}

void KittScanner::KITT_RED_TIMER_Timer(int k)
{
    for (const LightChange& change : kRing[static_cast<std::size_t>(k - 1)])
        if (change.light != 0)
            main_.KITT_LABEL[change.light].setBackground(change.colour);
    main_.KITT_RED_TIMER[k % kSteps + 1].setEnabled(true);
    main_.KITT_RED_TIMER[k].setEnabled(false);
}

} // namespace zb
