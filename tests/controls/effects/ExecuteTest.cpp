// Playing a transition onto a canvas: the loop follows the clock, ends within about the
// animation's time whatever the clock does, and leaves the new image on the canvas.

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#include "controls/effects/Timer.h"
#include "platform/runtime/Clock.h"
#include "tests/controls/effects/EffectImages.h"

namespace se {
namespace {

using testing::Images;
using testing::Rgb;

// A clock that moves a fixed step at every reading and, when told to, when slept on. It can look
// at the canvas at every reading, which the loop makes before and after each frame.
class SteppingClock final : public vcl::TClock {
public:
    SteppingClock(uint64_t stepPerReading, bool sleepMoves) : step_(stepPerReading), sleepMoves_(sleepMoves) {}
    uint64_t NowMicroseconds() const override {
        if (onReading) onReading();
        return now_ += step_;
    }
    void SleepMicroseconds(uint64_t span) override {
        ++sleeps_;
        if (sleepMoves_) now_ += span;
    }

    uint64_t Now() const { return now_; }
    int Sleeps() const { return sleeps_; }
    std::function<void()> onReading;

private:
    mutable uint64_t now_ = 1000000;
    uint64_t step_;
    bool sleepMoves_;
    int sleeps_ = 0;
};

class ClockScope {
public:
    explicit ClockScope(vcl::TClock& clock) : previous_(vcl::SetClock(&clock)) {}
    ~ClockScope() { vcl::SetClock(previous_); }
    ClockScope(const ClockScope&) = delete;
    ClockScope& operator=(const ClockScope&) = delete;

private:
    vcl::TClock* previous_;
};

// A canvas drawing onto a surface.
struct Screen {
    TseBitmap surface;
    vcl::TCanvas canvas;
    Screen(int width, int height) {
        surface.SetSize(width, height);
        surface.Clear(0xFF202020);
        canvas.SetHandle(surface.DC());
    }
    ~Screen() { canvas.SetHandle(nullptr); }
};

bool Holds(const TseBitmap& screen, int left, int top, const TseBitmap& image) {
    bool same = true;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) same = same && screen.ReadPixel(left + x, top + y) == image.ReadPixel(x, y);
    return same;
}

struct ClockCase {
    const char* clock;
    uint64_t stepPerReading;  // microseconds
    bool sleepMoves;
    int time;                 // milliseconds
    // How long the transition may take on this clock, in microseconds of it.
    uint64_t atLeast, atMost;
};

class ExecuteOnClock : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ExecuteOnClock, EndsWithinAboutItsTimeOnTheNewImage) {
    const ClockCase& c = GetParam();
    SteppingClock clock(c.stepPerReading, c.sleepMoves);
    ClockScope scope(clock);
    Images images(12, 8);
    Screen screen(20, 12);
    TseAnimationRec animation;
    animation.SetEffect("SlideDown");
    animation.SetTime(c.time);

    // Rows of new pixels on the screen, counted whenever the loop reads the clock: from the first
    // frame on, they only grow.
    bool drawn = false, firstWasOld = false, growing = true;
    int lastRows = -1;
    clock.onReading = [&] {
        if (screen.surface.ReadPixel(5, 2) == 0xFF202020u) return;
        if (!drawn) firstWasOld = Rgb(screen.surface.ReadPixel(5, 2)) == Rgb(testing::OldPixel(2, 0));
        drawn = true;
        int rows = 0;
        for (int y = 0; y < 8; ++y) rows += Rgb(screen.surface.ReadPixel(5, 2 + y)) == Rgb(testing::NewPixel(2, y));
        growing = growing && rows >= lastRows;
        lastRows = rows;
    };
    const uint64_t start = clock.Now();
    Execute(screen.canvas, 3, 2, animation, images.newImage, images.oldImage);
    const uint64_t took = clock.Now() - start;

    EXPECT_GE(took, c.atLeast) << c.clock;
    EXPECT_LE(took, c.atMost) << c.clock;
    // A frame waits at most once for its slot.
    EXPECT_LE(clock.Sleeps(), c.time / kFramePeriodMs + 1) << c.clock;
    EXPECT_TRUE(drawn) << c.clock;
    EXPECT_TRUE(firstWasOld) << c.clock;
    EXPECT_TRUE(growing) << c.clock;
    EXPECT_TRUE(Holds(screen.surface, 3, 2, images.newImage)) << c.clock;
    EXPECT_EQ(screen.surface.ReadPixel(2, 2), 0xFF202020u) << "left of the image";
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, ExecuteOnClock,
    ::testing::Values(
        // The tests' virtual clock: stands still while frames are computed, moves when slept on.
        ClockCase{"virtual", 0, true, 400, 400000, 410000},
        // A clock that never moves at all: the frame cap ends the loop.
        ClockCase{"frozen", 0, false, 400, 0, 0},
        // A busy machine: every reading of the counter finds 3 ms gone.
        ClockCase{"3 ms a reading", 3000, true, 400, 400000, 420000},
        // A slow machine: a frame takes 40 ms, four times the frame period.
        ClockCase{"20 ms a reading", 20000, false, 300, 300000, 460000}),
    [](const auto& info) {
        std::string name = info.param.clock;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST(Timer, MeasuresSecondsOnTheCounterLessTheCostOfReadingIt) {
    // Each reading of this counter costs 20 µs; the stopwatch leaves one reading out.
    SteppingClock stepping(20, false);
    ClockScope scope(stepping);
    TseTimer timer;
    timer.Start();
    EXPECT_FLOAT_EQ(timer.Elapsed(), 0.0f);
    EXPECT_FLOAT_EQ(timer.Elapsed(), 0.00002f);
}

}  // namespace
}  // namespace se
