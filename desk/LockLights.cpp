#include "LockLights.h"

#include "DeskTexts.h"
#include "core/MainWindowModel.h"

namespace zb {

LockLights::LockLights(MainWindowModel& main, Keyboard& keyboard, std::function<void()> alsoTell)
    : main_(main),
      keyboard_(keyboard)
{
    main_.NCS_TIMER.onTick = [this] { NCS_TIMER_Timer(); };
    // The lights show the keyboard as soon as they run, not one tick later.
    main_.NCS_TIMER.onEnabledChanged = [this] {
        if (main_.NCS_TIMER.enabled())
            NCS_TIMER_Timer();
    };
    if (keyboard_.watch([this, alsoTell = std::move(alsoTell)] {
            if (main_.NCS_TIMER.enabled())
                NCS_TIMER_Timer();
            if (alsoTell)
                alsoTell();
        }))
        main_.NCS_TIMER.setWakesUp(false);
    main_.VERT_NUM_LIGHT_LABEL.onDoubleClick = [this] { VERT_NUM_LIGHT_LABEL_DblClick(); };
    main_.VERT_CAPS_LIGHT_LABEL.onDoubleClick = [this] { VERT_CAPS_LIGHT_LABEL_DblClick(); };
    main_.VERT_SCROLL_LIGHT_LABEL.onDoubleClick = [this] { VERT_SCROLL_LIGHT_LABEL_DblClick(); };
    // Lights, not fields: a double-click is their only input.
    for (TextField* light : {&main_.VERT_NUM_LIGHT_LABEL, &main_.VERT_CAPS_LIGHT_LABEL, &main_.VERT_SCROLL_LIGHT_LABEL})
        light->setLocked(true);
}

LockLights::~LockLights() { keyboard_.watch(nullptr); }

void LockLights::NCS_TIMER_Timer()
{
    // One read for all three; a light whose colour and tooltip stay the same
    // is not touched, so it is not repainted.
    const LockStates states = keyboard_.lockStates();
    show(main_.VERT_NUM_LIGHT_LABEL, LockKey::Num, states.num);
    show(main_.VERT_CAPS_LIGHT_LABEL, LockKey::Caps, states.caps);
    show(main_.VERT_SCROLL_LIGHT_LABEL, LockKey::Scroll, states.scroll);
}

void LockLights::VERT_NUM_LIGHT_LABEL_DblClick() { keyboard_.press(LockKey::Num); }
void LockLights::VERT_CAPS_LIGHT_LABEL_DblClick() { keyboard_.press(LockKey::Caps); }
void LockLights::VERT_SCROLL_LIGHT_LABEL_DblClick() { keyboard_.press(LockKey::Scroll); }

void LockLights::show(TextField& light, LockKey key, LockState state)
{
    light.setBackground(state == LockState::On    ? colour::Green
                        : state == LockState::Off ? colour::Red
                                                  : kUnknownLockColour);
    light.setToolTip(
        lockLightToolTip(key, state, keyboard_.readProblem(), keyboard_.pressProblem(key), keyboard_.readCaveat()));
}

} // namespace zb
