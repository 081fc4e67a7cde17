// A form on a headless screen at scale 2 and 3 through the scaled backend, as on a high-density
// desktop: the device window is the form's size times the scale, a click at a device point lands
// on the control under it, the edit's context menu (a pop-up) is placed and scaled the same way,
// and every pixel of the 1x back buffer shows as a uniform block.

#include <gtest/gtest.h>

#include <optional>

#include "platform/backend/scaled/ScaledBackend.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Menus.h"
#include "platform/window/WindowSystem.h"
#include "tests/support/GuiTest.h"

namespace vcl {
namespace {

class ScaledBackend : public testing_support::GuiTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        // The screen of a high-density laptop: 1024 x 768 of 1x pixels.
        const TRect device{0, 0, 1024 * GetParam(), 768 * GetParam()};
        screen_.SetMonitors({TMonitorInfo{device, device, true}});
        scaled_.emplace(screen_, TDisplayScale{GetParam(), GetParam()});
        WindowSystem().SetBackend(&*scaled_);
    }
    // The forms go while the scaled backend they live on is still there.
    void TearDown() override { GuiTest::TearDown(); }

    // Presses and releases a button at a device point on the headless screen.
    void ClickDevice(TPoint at, TMouseButton button = TMouseButton::Left) {
        screen_.MoveMouse(at.X, at.Y);
        screen_.Click(button);
    }
    // A device point inside the block of the 1x screen point p, off its top-left corner.
    TPoint Device(TPoint p) const { return {p.X * GetParam() + GetParam() - 1, p.Y * GetParam() + GetParam() - 1}; }
    TRect Device(const TRect& r) const {
        const int s = GetParam();
        return {r.Left * s, r.Top * s, r.Right * s, r.Bottom * s};
    }

    std::optional<TScaledBackend> scaled_;
};

TEST_P(ScaledBackend, ClicksReachTheControlUnderThemPopupsLineUpAndPixelsBecomeBlocks) {
    const int scale = GetParam();
    TForm* form = NewForm({100, 80, 400, 300});
    TEdit* edits[2];
    for (int i = 0; i < 2; ++i) {
        edits[i] = new TEdit(form);
        edits[i]->SetBounds(10, 10 + 40 * i, 150, 21);
        edits[i]->SetText("abcd");
        edits[i]->SetParent(form);
    }
    edits[0]->SetFocus();
    Pump();
    EXPECT_EQ(screen_.NativeOf(form->Handle())->Bounds(), Device(GetWindowRect(form->Handle())));

    const TPoint second = ClientToScreen(edits[1]->Handle(), {20, 8});
    ClickDevice(Device(second));
    Pump();
    EXPECT_TRUE(edits[1]->Focused());

    // The context menu opens at the pointer; its Select All is picked at its device place.
    bool placed = false;
    WhileWaiting({[&] {
        TPopupMenu* menu = nullptr;
        for (int i = 0; i < edits[1]->ComponentCount() && !menu; ++i) menu = dynamic_cast<TPopupMenu*>(edits[1]->Components(i));
        ASSERT_TRUE(menu && menu->WindowHandle());
        const HWND popup = menu->WindowHandle();
        EXPECT_EQ(GetWindowRect(popup).TopLeft(), second);
        placed = screen_.NativeOf(popup)->Bounds() == Device(GetWindowRect(popup));
        const TRect item = menu->ItemRect(menu->Items()->Count() - 1);
        ClickDevice(Device(ClientToScreen(popup, {(item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2})));
    }});
    ASSERT_EQ(edits[1]->SelLength(), 0);
    ClickDevice(Device(second), TMouseButton::Right);
    Pump();
    EXPECT_TRUE(placed);
    EXPECT_EQ(edits[1]->SelLength(), 4);

    // After whole and partial presents, the screen shows each 1x pixel as a uniform block.
    const PixelSection& buffer = *form->Handle()->BackBuffer();
    const PixelSection shown = screen_.Screenshot(form->Handle());
    ASSERT_EQ(shown.Width(), buffer.Width() * scale);
    ASSERT_EQ(shown.Height(), buffer.Height() * scale);
    int wrong = 0;
    for (int y = 0; y < shown.Height(); ++y) {
        for (int x = 0; x < shown.Width(); ++x) wrong += shown.At(x, y) != buffer.At(x / scale, y / scale);
    }
    EXPECT_EQ(wrong, 0);
    SaveScreenshot("scaled-backend-x" + std::to_string(scale) + ".png", form->Handle());
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledBackend, ::testing::Values(2, 3));

}  // namespace
}  // namespace vcl
