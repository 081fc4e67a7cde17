#pragma once
// A component under test on the headless screen with its virtual clock: the application's message
// loop, error boxes recorded and answered at once, and ticks run by advancing time.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/serialdev/SerialDiagnostics.h"
#include "platform/window/WindowSystem.h"
#include "serial/TComm1.h"
#include "tests/support/GuiTest.h"

namespace serial::testing_support {

// The error box of the component itself, and the application's box for an exception.
inline constexpr const char* kBoxCaption = "Error";
using vcl::testing_support::kAppTitle;
inline constexpr const char* kCannotOpen = "通讯出现异常！请检查连接是否正确或重新启动程序和仪器。";

class CommTest : public vcl::testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        RecordBoxes();
        comm_ = std::make_unique<TComm>(nullptr);
    }

    void TearDown() override {
        comm_.reset();
        GuiTest::TearDown();
    }

    // Virtual time moves on; every poll due meanwhile runs at its time.
    void AdvanceMs(uint32_t ms) { screen_.Advance(ms); }
    void Ticks(int count) { AdvanceMs(static_cast<uint32_t>(count) * TComm::kPollInterval); }

    // The message of the ECommError that action raises; empty when it raises none.
    template <typename Action>
    static std::string CommErrorOf(Action&& action) {
        try {
            action();
        } catch (const ECommError& error) {
            return error.Message();
        }
        return {};
    }

    vcl::TMessageBoxRecorder& Boxes() { return RecordBoxes(); }

    // The lines the serial layer wrote for the person at the terminal, instead of standard error.
    const std::vector<std::string>& Diagnostics() const { return diagnostics_; }

    // For real devices, whose bytes take real time: polls until done() holds or a few seconds of
    // real time passed; whether it held.
    template <typename Condition>
    bool PollUntil(Condition&& done) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > giveUp) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            Ticks(1);
        }
        return true;
    }

    std::unique_ptr<TComm> comm_;

private:
    std::vector<std::string> diagnostics_;
    vcl::ScopedSerialDiagnosticSink diagnosticSink_{[this](const std::string& line) { diagnostics_.push_back(line); }};
};

}  // namespace serial::testing_support
