#pragma once
// The one GUI test harness: a headless screen with its virtual clock behind a clean application and
// message queue for each test, forms to put controls on, pumping, message boxes recorded instead of
// shown, and screenshots written where a person can look at them.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/MessageBox.h"

namespace vcl::testing_support {

inline constexpr const char* kAppTitle = "Velmo Modbus-RTU";

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A shown form owned by the application.
    TForm* NewForm(TRect bounds = {100, 100, 500, 400});
    // Runs every waiting message, paints included.
    void Pump();
    // Moves the virtual clock on; every timer due meanwhile runs at its time.
    void Advance(uint32_t ms) { screen_.Advance(ms); }

    // Drives a modal loop (a popup menu, a dialog): each time the application waits with nothing
    // to do, the next step runs (inject input there, look at what is open). When the steps are
    // used up, waiting fails the test instead of hanging it.
    void WhileWaiting(std::vector<std::function<void()>> steps);

    // From now on message boxes are recorded and answered at once instead of waiting for a person.
    TMessageBoxRecorder& RecordBoxes();

    // Writes a screenshot of one window (or the whole screen when null) into ScreenshotDirectory();
    // returns the path written.
    std::string SaveScreenshot(const std::string& name, HWND window = nullptr);

    THeadlessBackend screen_;

private:
    TMessageBoxObserver previousObserver_;
    std::deque<std::function<void()>> waitingSteps_;
    std::unique_ptr<TMessageBoxRecorder> boxes_;
};

// The folder screenshots and sheets go to (build/screenshots), made when missing.
std::string ScreenshotDirectory();

// The opaque pixel a colour shows as (system colours resolved).
uint32_t PixelOf(TColor color);
// How many pixels of area in shot are not expected (colour bits only).
int Mismatches(const PixelSection& shot, const TRect& area, uint32_t expected);
// How many pixels of area differ between two shots (colour bits only).
int Differences(const PixelSection& a, const PixelSection& b, const TRect& area);

}  // namespace vcl::testing_support
