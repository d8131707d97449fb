#include "platform/fake/SimulatedClock.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

TEST(SimulatedClock, TicksDueTogetherRunInArmingOrderAndNeverOverlap)
{
    SimulatedClock clock;
    std::vector<int> order;
    bool inside = false;
    auto handler = [&](int id) {
        return [&, id] {
            EXPECT_FALSE(inside) << "handlers overlap";
            inside = true;
            order.push_back(id);
            inside = false;
        };
    };
    const auto b = clock.create(handler(2));
    const auto a = clock.create(handler(1));
    clock.start(b, 1000);
    clock.start(a, 1000);
    clock.advance(1000);
    EXPECT_EQ(order, (std::vector<int>{2, 1}));
}

TEST(SimulatedClock, ALongBlockDeliversAMissedTickOnceThenResumesAnIntervalLater)
{
    SimulatedClock clock;
    std::vector<SimulatedClock::Ms> ticks;
    const auto blocker = clock.create([&] { clock.busy(3500); });
    const auto regular = clock.create([&] { ticks.push_back(clock.now()); });
    clock.start(blocker, 500);
    clock.start(regular, 1000);
    clock.advance(500); // blocks until 4000
    clock.stop(blocker);
    clock.advance(2000);
    EXPECT_EQ(ticks, (std::vector<SimulatedClock::Ms>{4000, 5000, 6000}));
}

TEST(SimulatedClock, HandlersMayStopRestartOrDestroyTheirOwnTimer)
{
    SimulatedClock clock;
    int ticks = 0;
    SimulatedClock::TimerId id = 0;
    id = clock.create([&] {
        ++ticks;
        if (ticks == 1)
            clock.start(id, 300);
        else
            clock.destroy(id);
    });
    clock.start(id, 1000);
    clock.advance(5000);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(clock.ticksDelivered(), 2U);
}

TEST(SimulatedClock, RunUntilStopsAtTheConditionOrTheLimitAndHaltEndsEverything)
{
    SimulatedClock clock;
    int ticks = 0;
    const auto id = clock.create([&] { ++ticks; });
    clock.start(id, 1000);
    EXPECT_TRUE(clock.runUntil([&] { return ticks == 3; }, 10000));
    EXPECT_EQ(clock.now(), 3000);
    EXPECT_FALSE(clock.runUntil([&] { return ticks == 100; }, 2500));
    EXPECT_EQ(clock.now(), 5500);
    clock.halt();
    clock.advance(10000);
    EXPECT_EQ(ticks, 5);
}

} // namespace
} // namespace zb
