// The SDL backend on a real X server: a private Xvfb on a free display, a window filled and
// presented, checked in an X screenshot (xwd), and a click injected with xdotool that must arrive
// as a message.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend/sdl/SdlBackend.h"
#include "platform/draw/Gdi.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowSystem.h"
#include "tests/support/RealScreen.h"

namespace vcl {
namespace {

using testing_support::CaptureScreen;
using testing_support::PrivateXServer;
using testing_support::RunProgram;

void FillPixel(HDC dc, const TRect& rect, uint32_t pixel) {
    HBRUSH brush = CreateSolidBrush(PixelToRgb(pixel));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A borderless, top-most pop-up owned by main that does not take the activation (a menu's kind).
TCreateParams PopupOver(HWND main, const TRect& bounds) {
    TCreateParams popup;
    popup.Style = WS_POPUP | WS_VISIBLE;
    popup.ExStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    popup.X = bounds.Left;
    popup.Y = bounds.Top;
    popup.Width = bounds.Width();
    popup.Height = bounds.Height();
    popup.Parent = main;
    return popup;
}

// How many pixels of an area of a screen capture differ from a colour (0xRRGGBB).
int CountDiffering(const PixelSection& shot, const TRect& area, uint32_t rgb) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) n += (shot.At(x, y) & 0xFFFFFFu) != rgb;
    }
    return n;
}

// Pumps the window layer's messages (no application here) for real time until the condition holds,
// bounded so a broken setup ends.
template <typename Condition>
bool PumpUntil(Condition condition) {
    for (int i = 0; i < 500; ++i) {
        PumpWaitingMessages();
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Each test gets its own X server and an SDL backend on it, handed to the window layer.
class SdlSmoke : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server_.Running()) GTEST_SKIP() << "no X server can be started here (" << server_.Reason() << ")";
        setenv("DISPLAY", server_.Display().c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        try {
            backend_ = std::make_unique<TSdlBackend>();
        } catch (const std::exception& e) {
            FAIL() << "an X server runs but SDL cannot use it: " << e.what();
        }
        WindowSystem().SetBackend(backend_.get());
    }
    void TearDown() override {
        WindowSystem().SetBackend(nullptr);
        backend_.reset();
    }

    PrivateXServer server_;
    std::unique_ptr<TSdlBackend> backend_;
};

TEST_F(SdlSmoke, AWindowShowsItsBackBufferAndAClickArrivesAsAMessage) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);

    std::vector<TPoint> clicks;
    static constexpr char16_t kText[] = u"Velmo 通讯";
    LOGFONT description;
    description.lfHeight = -20;
    description.lfFaceName = "MS Sans Serif";
    HFONT font = CreateFontIndirect(&description);
    // Where the text goes in the window: measured, placed at (10, 100).
    TRect textRect;
    {
        HDC measure = GetDC(nullptr);
        SelectObject(measure, font);
        TSize extent;
        GetTextExtentPoint32W(measure, kText, -1, &extent);
        textRect = Bounds(10, 100, extent.cx, extent.cy);
        ReleaseDC(nullptr, measure);
    }
    ASSERT_LT(textRect.Right, 200);
    TCreateParams p;
    p.Caption = "Velmo smoke";
    p.Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    p.X = 100;
    p.Y = 100;
    p.Width = 200;
    p.Height = 150;
    p.WndProc = [&](HWND w, TMessage& m) {
        if (m.Msg == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(w, ps);
            FillPixel(ps.hdc, GetClientRect(w), 0xFF3399CCu);
            // Text through the fonts the program uses, over the fill.
            SelectObject(ps.hdc, font);
            SetBkMode(ps.hdc, TRANSPARENT);
            SetTextColor(ps.hdc, RGB(0, 0, 0));
            TRect line = textRect;
            DrawTextW(ps.hdc, kText, -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
            EndPaint(w, ps);
            return;
        }
        if (m.Msg == WM_LBUTTONDOWN) clicks.push_back({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        DefWindowProc(w, m);
    };
    HWND main = CreateWindowEx(p);
    ASSERT_NE(main, nullptr);

    // A pop-up over it: borderless, top-most, not taking activation.
    TCreateParams popup = PopupOver(main, {400, 100, 460, 140});
    popup.WndProc = [](HWND w, TMessage& m) {
        if (m.Msg != WM_PAINT) return DefWindowProc(w, m);
        PAINTSTRUCT ps;
        BeginPaint(w, ps);
        FillPixel(ps.hdc, GetClientRect(w), 0xFFCC3300u);
        EndPaint(w, ps);
    };
    HWND menu = CreateWindowEx(popup);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetActiveWindow(), main);

    PixelSection shot;
    uint32_t mainPixel = 0, popupPixel = 0;
    const bool shown = PumpUntil([&] {
        if (!CaptureScreen(server_.Display(), shot)) return false;
        mainPixel = shot.At(150, 150) & 0xFFFFFFu;
        popupPixel = shot.At(420, 110) & 0xFFFFFFu;
        return mainPixel == 0x3399CC && popupPixel == 0xCC3300;
    });
    EXPECT_TRUE(shown) << std::hex << "main 0x" << mainPixel << ", pop-up 0x" << popupPixel;
    // The text's place on screen holds its ink; the fill elsewhere stays as it was.
    const int ink = CountDiffering(shot, textRect.Offset(100, 100), 0x3399CC);
    EXPECT_GT(ink, textRect.Width() * textRect.Height() / 10) << "of " << textRect.Width() * textRect.Height();
    EXPECT_EQ(CountDiffering(shot, {110, 110, 290, 190}, 0x3399CC), 0);

    ASSERT_EQ(RunProgram({"xdotool", "mousemove", "150", "130", "click", "1"}), 0) << "xdotool failed";
    EXPECT_TRUE(PumpUntil([&] { return !clicks.empty(); }));
    ASSERT_FALSE(clicks.empty());
    EXPECT_EQ(clicks.front(), (TPoint{50, 30}));

    backend_->SetClipboardText("01 03 00 01 00 04 15 C9");
    EXPECT_EQ(backend_->ClipboardText(), "01 03 00 01 00 04 15 C9");

    DeleteObject(font);
}

// A pop-up that holds the pointer capture, as an open menu does, must hear of a click anywhere on
// the screen (to close), while the window below it stays the active one.
TEST_F(SdlSmoke, APopupHoldingTheCaptureSeesAClickOutsideEveryWindow) {

    const auto painter = [](uint32_t pixel) {
        return [pixel](HWND w, TMessage& m) {
            if (m.Msg != WM_PAINT) return DefWindowProc(w, m);
            PAINTSTRUCT ps;
            BeginPaint(w, ps);
            FillPixel(ps.hdc, GetClientRect(w), pixel);
            EndPaint(w, ps);
        };
    };
    TCreateParams p;
    p.Caption = "Velmo capture";
    p.Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    p.X = 100;
    p.Y = 100;
    p.Width = 200;
    p.Height = 150;
    p.WndProc = painter(0xFF3399CCu);
    HWND main = CreateWindowEx(p);
    ASSERT_NE(main, nullptr);
    SetActiveWindow(main);

    std::vector<TPoint> presses;  // screen points of the presses the pop-up got
    TCreateParams popup = PopupOver(main, {150, 150, 230, 210});
    const auto paintPopup = painter(0xFFCC3300u);
    popup.WndProc = [&](HWND w, TMessage& m) {
        if (m.Msg == WM_LBUTTONDOWN) presses.push_back(ClientToScreen(w, {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}));
        paintPopup(w, m);
    };
    HWND menu = CreateWindowEx(popup);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(menu); }));
    // Let the X server's side settle: both windows mapped, the main one focused.
    for (int i = 0; i < 50; ++i) {
        PumpWaitingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    SetCapture(menu);

    // As on a menu: a click on the pop-up, another one on it (a disabled item), then one outside.
    const TPoint clicks[] = {{170, 160}, {200, 190}, {900, 700}};
    for (const TPoint& at : clicks) {
        const size_t before = presses.size();
        ASSERT_EQ(RunProgram({"xdotool", "mousemove", std::to_string(at.X), std::to_string(at.Y), "click", "1"}), 0)
            << "xdotool failed";
        EXPECT_TRUE(PumpUntil([&] { return presses.size() > before; })) << "the click at " << at.X << "," << at.Y << " was lost";
        if (presses.size() > before) {
            EXPECT_EQ(presses.back(), at);
        }
    }
    EXPECT_EQ(GetActiveWindow(), main);
    ReleaseCapture();
}

}  // namespace
}  // namespace vcl
