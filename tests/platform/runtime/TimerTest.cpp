#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/Timer.h"
#include "RuntimeFixture.h"

namespace vcl {
namespace {

using TimerTest = testing_support::RuntimeTest;

TEST_F(TimerTest, TicksAtEachIntervalOfVirtualTime) {
    TTimer timer(nullptr);
    std::vector<uint32_t> ticks;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ticks.push_back(NowMs());
    });
    AdvanceMs(99);
    EXPECT_TRUE(ticks.empty());
    AdvanceMs(251);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{100, 200, 300}));
}

TEST_F(TimerTest, RunsOnlyWithIntervalEnabledAndHandler) {
    TTimer timer(nullptr);
    int count = 0;
    EXPECT_FALSE(timer.Running());  // no handler yet
    timer.SetInterval(50);
    timer.SetOnTimer([&](TObject*) { ++count; });
    EXPECT_TRUE(timer.Running());
    timer.SetEnabled(false);
    AdvanceMs(200);
    EXPECT_EQ(count, 0);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    AdvanceMs(200);
    EXPECT_EQ(count, 0);
    timer.SetOnTimer(nullptr);
    timer.SetInterval(50);
    EXPECT_FALSE(timer.Running());
}

TEST_F(TimerTest, ChangingTheIntervalRestartsFromNow) {
    TTimer timer(nullptr);
    std::vector<uint32_t> ticks;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject*) { ticks.push_back(NowMs()); });
    AdvanceMs(70);
    timer.SetInterval(40);  // due at 110, then every 40
    AdvanceMs(120);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{110, 150, 190}));
}

TEST_F(TimerTest, DisablingInsideATickStopsItThere) {
    TTimer timer(nullptr);
    int count = 0;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject*) {
        if (++count == 2) timer.SetEnabled(false);
    });
    AdvanceMs(1000);
    EXPECT_EQ(count, 2);
}

TEST_F(TimerTest, ASlowHandlerSeesTheNextTickInsideItsOwnPumping) {
    TTimer timer(nullptr);
    std::vector<std::string> log;
    int depth = 0;
    int ticks = 0;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject*) {
        ++depth;
        log.push_back("begin " + std::to_string(NowMs()) + " depth " + std::to_string(depth));
        if (++ticks == 1) {
            Sleep(100);  // as long as the interval
            ProcessPendingMessages();
        }
        log.push_back("end " + std::to_string(NowMs()) + " depth " + std::to_string(depth));
        --depth;
    });
    AdvanceMs(250);
    // The nested tick at 200 runs to its end inside the outer one, which then continues; the
    // tick after that is due at 300 only.
    const std::vector<std::string> expected{"begin 100 depth 1", "begin 200 depth 2", "end 200 depth 2",
                                            "end 200 depth 1"};
    EXPECT_EQ(log, expected);
    AdvanceMs(50);
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[4], "begin 300 depth 1");
}

TEST_F(TimerTest, PeriodsMissedWhileBusyCollapseIntoOneTick) {
    TTimer timer(nullptr);
    std::vector<uint32_t> ticks;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject*) {
        ticks.push_back(NowMs());
        if (ticks.size() == 1) Sleep(350);  // busy through the periods ending at 200, 300 and 400
    });
    AdvanceMs(100);
    EXPECT_EQ(NowMs(), 450u);
    ProcessPendingMessages();  // the overdue tick already ran at 450; nothing else is due
    AdvanceMs(99);
    // Due times stay on the original grid: 100, then one late tick at 450, then 500.
    EXPECT_EQ(ticks, (std::vector<uint32_t>{100, 450, 500}));
}

TEST_F(TimerTest, TimersDueAtTheSameTimeTickInTheOrderTheyStarted) {
    TTimer first(nullptr);
    TTimer second(nullptr);
    std::vector<std::string> log;
    second.SetInterval(50);
    second.SetOnTimer([&](TObject*) { log.push_back("second " + std::to_string(NowMs())); });
    first.SetInterval(100);
    first.SetOnTimer([&](TObject*) { log.push_back("first " + std::to_string(NowMs())); });
    AdvanceMs(100);
    EXPECT_EQ(log, (std::vector<std::string>{"second 50", "second 100", "first 100"}));
}

TEST_F(TimerTest, AnOwnedTimerDiesWithItsOwnerAndStopsTicking) {
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* timer = new TTimer(owner.get());
    int count = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](TObject*) { ++count; });
    EXPECT_EQ(MessageQueue().TimerCount(), 1u);
    owner.reset();
    EXPECT_EQ(MessageQueue().TimerCount(), 0u);
    AdvanceMs(100);
    EXPECT_EQ(count, 0);
}

TEST_F(TimerTest, AnExceptionFromTheHandlerGoesToTheApplicationAndTickingGoesOn) {
    TTimer timer(nullptr);
    std::vector<std::string> handled;
    SetExceptionHandler([&](TObject* sender, std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const rtl::Exception& e) {
            handled.push_back(e.Message() + (sender == &timer ? " from the timer" : ""));
        }
    });
    int count = 0;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject*) {
        ++count;
        throw rtl::Exception("tick failed");
    });
    AdvanceMs(200);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(handled, (std::vector<std::string>{"tick failed from the timer", "tick failed from the timer"}));
}

TEST_F(TimerTest, SleepMovesTheVirtualClockAndTheTickCount) {
    const uint32_t before = GetTickCount();
    Sleep(1234);
    EXPECT_EQ(GetTickCount() - before, 1234u);
    EXPECT_EQ(QueryPerformanceCounter(), static_cast<int64_t>(clock_.NowMicroseconds()));
}

}  // namespace
}  // namespace vcl
