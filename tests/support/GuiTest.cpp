#include "tests/support/GuiTest.h"

#include <filesystem>

#include "platform/runtime/MessageQueue.h"
#include "platform/window/WindowSystem.h"

namespace vcl::testing_support {

void GuiTest::SetUp() {
    MessageQueue().Reset();
    WindowSystem().SetBackend(&screen_);
    Application->ResetTerminated();
    Application->SetTitle(kAppTitle);
    previousObserver_ = SetMessageBoxObserver(nullptr);
}

void GuiTest::TearDown() {
    Application->DestroyForms();
    Application->CancelHint();
    Application->SetMainForm(nullptr);
    Application->OnException = nullptr;
    boxes_.reset();
    screen_.SetIdleHandler(nullptr);
    waitingSteps_.clear();
    WindowSystem().SetBackend(nullptr);
    Application->ResetTerminated();
    SetMessageBoxObserver(std::move(previousObserver_));
    MessageQueue().Reset();
}

TForm* GuiTest::NewForm(TRect bounds) {
    auto* form = new TForm(Application);
    form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    form->AfterConstruction();
    form->Show();
    Pump();
    return form;
}

void GuiTest::Pump() { Application->ProcessMessages(); }

void GuiTest::WhileWaiting(std::vector<std::function<void()>> steps) {
    waitingSteps_.assign(steps.begin(), steps.end());
    screen_.SetIdleHandler([this] {
        if (waitingSteps_.empty()) return false;
        const std::function<void()> step = std::move(waitingSteps_.front());
        waitingSteps_.pop_front();
        step();
        return true;
    });
}

TMessageBoxRecorder& GuiTest::RecordBoxes() {
    if (!boxes_) boxes_ = std::make_unique<TMessageBoxRecorder>();
    return *boxes_;
}

std::string GuiTest::SaveScreenshot(const std::string& name, HWND window) {
    const std::string path = ScreenshotDirectory() + "/" + name;
    const bool saved = window ? screen_.SaveScreenshot(window, path) : screen_.SaveScreenshot(path);
    EXPECT_TRUE(saved) << path;
    return path;
}

std::string ScreenshotDirectory() {
    const std::string directory = VELMO_SCREENSHOT_DIRECTORY;
    std::error_code ignored;
    std::filesystem::create_directories(directory, ignored);
    return directory;
}

uint32_t PixelOf(TColor color) { return RgbToPixel(ColorToRGB(color)); }

int Mismatches(const PixelSection& shot, const TRect& area, uint32_t expected) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) n += ((shot.At(x, y) ^ expected) & 0xFFFFFFu) != 0;
    }
    return n;
}

int Differences(const PixelSection& a, const PixelSection& b, const TRect& area) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) n += ((a.At(x, y) ^ b.At(x, y)) & 0xFFFFFFu) != 0;
    }
    return n;
}

}  // namespace vcl::testing_support
