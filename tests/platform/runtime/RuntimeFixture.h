#pragma once
// A clean queue and a virtual clock for each runtime test.

#include <gtest/gtest.h>

#include "platform/runtime/Clock.h"
#include "platform/runtime/MessageQueue.h"

namespace vcl::testing_support {

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageQueue().Reset();
        previousClock_ = SetClock(&clock_);
        previousHandler_ = SetExceptionHandler(nullptr);
        previousPump_ = SetProcessMessagesHandler(nullptr);
    }
    void TearDown() override {
        MessageQueue().Reset();
        SetClock(previousClock_);
        SetExceptionHandler(std::move(previousHandler_));
        SetProcessMessagesHandler(std::move(previousPump_));
    }
    uint32_t NowMs() const { return static_cast<uint32_t>(clock_.NowMicroseconds() / 1000); }
    void AdvanceMs(uint64_t ms) { AdvanceVirtualTime(clock_, ms * 1000); }

    TVirtualClock clock_;

private:
    TClock* previousClock_ = nullptr;
    TExceptionHandler previousHandler_;
    TProcessMessagesHandler previousPump_;
};

}  // namespace vcl::testing_support
