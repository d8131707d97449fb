#include "desk/DeskTexts.h"
#include "tests/support/Harness.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

struct Light {
    Colour colour;
    QString toolTip;
    bool operator==(const Light&) const = default;
};

Light light(const TextField& f) { return {f.background(), f.toolTip()}; }

TEST(LockLights, ShowEachLockOnOffOrUnknownTenTimesASecondFromOneRead)
{
    struct Case {
        LockStates states;
        Light num, caps, scroll;
    };
    const Light numOn{colour::Green, QStringLiteral("NUM LOCK = ON")};
    const Light numOff{colour::Red, QStringLiteral("NUM LOCK = OFF")};
    const Light capsOn{colour::Green, QStringLiteral("CAPS LOCK = ON")};
    const Light capsOff{colour::Red, QStringLiteral("CAPS LOCK = OFF")};
    const Light scrollOn{colour::Green, QStringLiteral("SCROLL LOCK = ON")};
    const Light scrollOff{colour::Red, QStringLiteral("SCROLL LOCK = OFF")};
    const Light numUnknown{kUnknownLockColour, QStringLiteral("NUM LOCK = UNKNOWN")};
    const Light capsUnknown{kUnknownLockColour, QStringLiteral("CAPS LOCK = UNKNOWN")};
    const Light scrollUnknown{kUnknownLockColour, QStringLiteral("SCROLL LOCK = UNKNOWN")};
    using S = LockState;
    const Case cases[] = {
        {{S::On, S::Off, S::Off}, numOn, capsOff, scrollOff},
        {{S::Off, S::On, S::On}, numOff, capsOn, scrollOn},
        {{S::On, S::On, S::Unknown}, numOn, capsOn, scrollUnknown}, // a keymap without Scroll Lock
        {{}, numUnknown, capsUnknown, scrollUnknown},               // no keyboard state at all
    };

    Harness h;
    MainWindowModel& m = h.start().main;
    for (const Case& c : cases) {
        h.keyboard.states = c.states;
        const int readsBefore = h.keyboard.reads;
        h.clock.advance(99);
        h.clock.advance(1);
        EXPECT_EQ(light(m.VERT_NUM_LIGHT_LABEL), c.num);
        EXPECT_EQ(light(m.VERT_CAPS_LIGHT_LABEL), c.caps);
        EXPECT_EQ(light(m.VERT_SCROLL_LIGHT_LABEL), c.scroll);
        EXPECT_EQ(h.keyboard.reads - readsBefore, 1) << "one read per tick for all three";
    }
}

TEST(LockLights, AreReadOnlyAndADoubleClickPressesTheirKey)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    h.clock.advance(100);
    TextField* lights[] = {&m.VERT_NUM_LIGHT_LABEL, &m.VERT_CAPS_LIGHT_LABEL, &m.VERT_SCROLL_LIGHT_LABEL};
    const LockKey keys[] = {LockKey::Num, LockKey::Caps, LockKey::Scroll};
    for (int i = 0; i < 3; ++i) {
        TextField& l = *lights[i];
        const QString letter = l.text();
        l.edit(QStringLiteral("X"));
        EXPECT_EQ(l.text(), letter) << "typing changes nothing";

        l.doubleClick();
        ASSERT_EQ(h.keyboard.presses.size(), 2 * i + 1);
        EXPECT_EQ(h.keyboard.presses.last().key, keys[i]);
        EXPECT_EQ(l.background(), colour::Red) << "the handler leaves the light to the refresh";
        h.clock.advance(100);
        EXPECT_EQ(l.background(), colour::Green);
        l.doubleClick();
        h.clock.advance(100);
        EXPECT_EQ(l.background(), colour::Red);
    }
}

TEST(LockLights, AnUnchangedLightIsNotRepainted)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    h.clock.advance(100);
    int numRepaints = 0, capsRepaints = 0;
    m.VERT_NUM_LIGHT_LABEL.setChangeListener([&] { ++numRepaints; });
    m.VERT_CAPS_LIGHT_LABEL.setChangeListener([&] { ++capsRepaints; });
    h.clock.advance(1000);
    EXPECT_EQ(numRepaints, 0);
    h.keyboard.states.caps = LockState::On;
    h.clock.advance(1000);
    EXPECT_EQ(numRepaints, 0);
    EXPECT_EQ(capsRepaints, 2) << "its colour and its tooltip, once each";
}

TEST(LockLights, AKeyboardThatTellsOfItsChangesIsFollowedWithoutTicks)
{
    Harness h;
    h.keyboard.tells = true;
    MainWindowModel& m = h.start().main;
    EXPECT_TRUE(m.NCS_TIMER.enabled());
    EXPECT_EQ(m.VERT_NUM_LIGHT_LABEL.background(), colour::Red) << "shown at start-up, not a tick later";
    const int reads = h.keyboard.reads;
    h.seconds(60);
    EXPECT_EQ(h.keyboard.reads, reads) << "nothing asked while nothing changes";

    h.keyboard.set({LockState::On, LockState::Off, LockState::On});
    EXPECT_EQ(m.VERT_NUM_LIGHT_LABEL.background(), colour::Green);
    EXPECT_EQ(m.VERT_SCROLL_LIGHT_LABEL.toolTip(), QStringLiteral("SCROLL LOCK = ON"));
    m.VERT_CAPS_LIGHT_LABEL.doubleClick();
    EXPECT_EQ(m.VERT_CAPS_LIGHT_LABEL.background(), colour::Green);

    h.program.reset();
    EXPECT_FALSE(h.keyboard.onChange) << "the keyboard outlives the program: it must stop telling";
}

TEST(LockLights, SayWhyTheyCannotBeReadOrPressed)
{
    {
        Harness h;
        h.keyboard.unpressable = LockKey::Scroll;
        MainWindowModel& m = h.start().main;
        EXPECT_EQ(m.VERT_NUM_LIGHT_LABEL.toolTip(), QStringLiteral("NUM LOCK = OFF"));
        EXPECT_EQ(m.VERT_SCROLL_LIGHT_LABEL.toolTip(),
                  QStringLiteral("SCROLL LOCK = OFF\nA double-click cannot press it: cannot press"));
        m.VERT_SCROLL_LIGHT_LABEL.doubleClick();
        EXPECT_TRUE(h.keyboard.presses.isEmpty());
    }
    {
        Harness h;
        h.keyboard.readable = false;
        h.keyboard.states = {};
        MainWindowModel& m = h.start().main;
        EXPECT_EQ(m.VERT_CAPS_LIGHT_LABEL.background(), kUnknownLockColour);
        EXPECT_EQ(m.VERT_CAPS_LIGHT_LABEL.toolTip(),
                  QStringLiteral("CAPS LOCK = UNKNOWN\nThe state cannot be read: cannot read"));
    }
    {
        Harness h;
        h.keyboard.pressable = false;
        h.keyboard.caveat = QStringLiteral("a copy");
        MainWindowModel& m = h.start().main;
        EXPECT_EQ(m.VERT_NUM_LIGHT_LABEL.toolTip(),
                  QStringLiteral("NUM LOCK = OFF\nThe state shown may be stale: a "
                                 "copy\nA double-click cannot press it: cannot press"));
    }
}

TEST(Desk, WithADesktopThatTellsOfItsChangesAnIdleProgramHasNoTimerTicking)
{
    // Default settings: lock lights and always on top on, nothing else.
    Harness h;
    h.keyboard.tells = true;
    h.stacking.tells = true;
    h.stacking.main = 0x1200001;
    h.stacking.foreground = 0x1200001;
    h.start();
    const auto ticks = h.clock.ticksDelivered();
    h.seconds(600);
    EXPECT_EQ(h.clock.ticksDelivered(), ticks);

    // Asking instead: ten lock-light ticks and one always-on-top tick a second.
    Harness polled;
    polled.start();
    const auto before = polled.clock.ticksDelivered();
    polled.seconds(10);
    EXPECT_EQ(polled.clock.ticksDelivered() - before, 110U);
}

} // namespace
} // namespace zb
