#include "tests/support/Harness.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

// The row as a user sees it: R red, . black, ? anything else.
QString row(MainWindowModel& m)
{
    QString out;
    for (const Label& l : m.KITT_LABEL)
        out += l.background() == colour::Red     ? QLatin1Char('R')
               : l.background() == colour::Black ? QLatin1Char('.')
                                                 : QLatin1Char('?');
    return out;
}

// The numbers of the ring's timers that are enabled.
QList<int> armedSteps(MainWindowModel& m)
{
    QList<int> out;
    for (int k = 1; k <= 16; ++k)
        if (m.KITT_RED_TIMER[k].enabled())
            out << k;
    return out;
}

const QStringList kOneSweep{
    QStringLiteral("R......"), QStringLiteral(".R....."), QStringLiteral("..R...."), QStringLiteral("...R..."),
    QStringLiteral("....R.."), QStringLiteral(".....R."), QStringLiteral("......R"), QStringLiteral("......."),
    QStringLiteral("......R"), QStringLiteral(".....R."), QStringLiteral("....R.."), QStringLiteral("...R..."),
    QStringLiteral("..R...."), QStringLiteral(".R....."), QStringLiteral("R......"), QStringLiteral("......."),
};

TEST(KittScanner, SweepsThereAndBackInSixteenStepsWithOneTimerArmedAtATime)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    EXPECT_EQ(row(m), QStringLiteral("RRRRRRR")) << "red until the first start";
    EXPECT_EQ(m.KITT_START_BUTTON.caption(), QStringLiteral("START"));

    m.KITT_START_BUTTON.click();
    EXPECT_EQ(m.KITT_START_BUTTON.caption(), QStringLiteral("STOP"));
    EXPECT_EQ(row(m), QStringLiteral("......."));
    EXPECT_TRUE(m.HEARTBEAT_TIMER.enabled());

    QStringList seen;
    for (int step = 1; step <= 32; ++step) {
        h.clock.advance(100);
        seen << row(m);
        EXPECT_EQ(armedSteps(m), QList<int>{step % 16 + 1}) << "after step " << step;
    }
    EXPECT_EQ(seen, kOneSweep + kOneSweep);
    EXPECT_EQ(m.KITT_BACKGROUND_LABEL.background(), colour::Black) << "the scanner leaves the backdrop alone";
}

TEST(KittScanner, StopAndStartWithinOneStepBeginsAgainAtStepOneOnADarkRow)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    m.KITT_START_BUTTON.click();
    h.clock.advance(1050); // eleven steps done, half of the twelfth gone

    m.KITT_START_BUTTON.click();
    EXPECT_EQ(m.KITT_START_BUTTON.caption(), QStringLiteral("START"));
    EXPECT_EQ(row(m), QStringLiteral("......."));
    EXPECT_TRUE(armedSteps(m).isEmpty());
    EXPECT_FALSE(m.HEARTBEAT_TIMER.enabled());
    h.clock.advance(20);
    m.KITT_START_BUTTON.click();
    EXPECT_EQ(armedSteps(m), QList<int>{1});

    // The half step left over from before must not fire: step 1 comes a full
    // step after the restart.
    h.clock.advance(99);
    EXPECT_EQ(row(m), QStringLiteral("......."));
    h.clock.advance(1);
    EXPECT_EQ(row(m), QStringLiteral("R......"));
}

TEST(KittScanner, StoppedStaysDarkAndStillWhateverStepWasPending)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    m.KITT_START_BUTTON.click();
    h.clock.advance(700); // the dot on the last light
    ASSERT_EQ(row(m), QStringLiteral("......R"));
    m.KITT_START_BUTTON.click();
    const std::uint64_t ticks = h.clock.ticksDelivered();
    h.clock.advance(3000);
    EXPECT_EQ(row(m), QStringLiteral("......."));
    // Only the lock lights' refresh still ticks.
    EXPECT_EQ(h.clock.ticksDelivered() - ticks, 30U + 3U) << "lock lights every 100 ms, always on top every second";
}

TEST(KittScanner, AutostartShowsStopAtOnceAndClearsTheRedRowBehindTheDot)
{
    Harness h;
    h.seed(QStringLiteral("KITT_AUTOSTART_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    EXPECT_EQ(m.KITT_START_BUTTON.caption(), QStringLiteral("STOP"));
    EXPECT_TRUE(m.HEARTBEAT_TIMER.enabled());
    EXPECT_EQ(row(m), QStringLiteral("RRRRRRR"));
    QStringList seen;
    for (int step = 1; step <= 8; ++step) {
        h.clock.advance(100);
        seen << row(m);
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("RRRRRRR"), QStringLiteral(".RRRRRR"), QStringLiteral("..RRRRR"),
                                 QStringLiteral("...RRRR"), QStringLiteral("....RRR"), QStringLiteral(".....RR"),
                                 QStringLiteral("......R"), QStringLiteral(".......")}));
}

} // namespace
} // namespace zb
