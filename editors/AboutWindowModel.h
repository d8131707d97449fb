#pragma once

#include "EditorWindowModel.h"
#include "core/Control.h"
#include "core/SlotArray.h"
#include "core/Timer.h"
#include "core/WindowOpener.h"

#include <array>

namespace zb {

class TimerHost;

// ZB_SEQUENTA_ABOUT: the program's title, its version, its picture and a
// thank-you text whose colour steps round a ring of five one-shot timers,
// THANK_YOU_TIMER_1..5: each tick shows the next colour, arms the next timer
// and disarms itself. DONATIONS opens the donations window.
class AboutWindowModel : public EditorWindowModel {
public:
    static constexpr int kColourSteps = 5;
    static constexpr int kColourStepMs = 300;
    // The ring's colours in order, each readable on the text's black band.
    static constexpr std::array<Colour, kColourSteps> kThankYouColours{
        0x4040FF, // red
        0x20B0FF, // amber
        0x00DC00, // green
        0xFFFF00, // cyan
        0xFF80B0, // violet
    };

    AboutWindowModel(Settings& settings, TimerHost& timers, WindowOpener* opener);

    // Geometry; shows the first colour and starts the ring.
    void Form_Load();
    // Stores the position, then closes (which stores it again).
    void OK_BUTTON_Click();
    void DONATIONS_BUTTON_Click();
    // Step k of the ring, 1 to 5: shows colour k + 1 (after 5 the first).
    void THANK_YOU_TIMER_Timer(int k);

    Label ZB_SEQUENTA_TITLE;
    Label ZB_SEQUENTA_VERSION;
    Label THANK_YOU_LABEL;
    Button DONATIONS_BUTTON;
    Button OK_BUTTON;
    NumberedArray<Timer, kColourSteps> THANK_YOU_TIMER;

protected:
    // The ring stops with the window.
    void unloading() override;

private:
    WindowOpener* opener_;
};

} // namespace zb
