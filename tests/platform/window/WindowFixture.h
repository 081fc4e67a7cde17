#pragma once
// A headless screen for each window test, and windows that record the messages they get.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/draw/Gdi.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"
#include "platform/window/WindowSystem.h"

namespace vcl::testing_support {

struct Logged {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Fills a rectangle (logical coordinates) of a DC with one pixel value.
inline void FillPixel(HDC dc, const TRect& rect, uint32_t pixel) {
    HBRUSH brush = CreateSolidBrush(PixelToRgb(pixel));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// The pixels of a rectangle (logical coordinates) a DC may draw on, counted one by one.
inline long long VisibleArea(HDC dc, const TRect& within) {
    long long n = 0;
    for (int y = within.Top; y < within.Bottom; ++y) {
        for (int x = within.Left; x < within.Right; ++x) n += PtVisible(dc, x, y);
    }
    return n;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageQueue().Reset();
        WindowSystem().SetBackend(&screen_);
        previousPump_ = SetProcessMessagesHandler(PumpWaitingMessages);
    }
    void TearDown() override {
        WindowSystem().SetBackend(nullptr);
        SetProcessMessagesHandler(std::move(previousPump_));
        MessageQueue().Reset();
    }

    // A window procedure that records the messages of interest, then does the default handling.
    TWindowProc Recorder(std::vector<UINT> interesting = {}) {
        return [this, interesting](HWND w, TMessage& m) {
            if (interesting.empty() || std::find(interesting.begin(), interesting.end(), m.Msg) != interesting.end()) {
                log_.push_back(Logged{w, m.Msg, m.WParam, m.LParam});
            }
            DefWindowProc(w, m);
        };
    }

    HWND TopLevel(const TRect& bounds, std::vector<UINT> interesting = {}, uint32_t exStyle = 0) {
        TCreateParams p;
        p.Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        p.ExStyle = exStyle;
        p.X = bounds.Left;
        p.Y = bounds.Top;
        p.Width = bounds.Width();
        p.Height = bounds.Height();
        p.WndProc = Recorder(std::move(interesting));
        return CreateWindowEx(p);
    }

    HWND Child(HWND parent, const TRect& bounds, std::vector<UINT> interesting = {}, uint32_t style = WS_VISIBLE) {
        TCreateParams p;
        p.Style = WS_CHILD | WS_CLIPSIBLINGS | style;
        p.X = bounds.Left;
        p.Y = bounds.Top;
        p.Width = bounds.Width();
        p.Height = bounds.Height();
        p.Parent = parent;
        p.WndProc = Recorder(std::move(interesting));
        return CreateWindowEx(p);
    }

    void Pump() { ProcessPendingMessages(); }

    // The logged messages of one kind, in order.
    std::vector<Logged> Of(UINT message) const {
        std::vector<Logged> out;
        for (const Logged& l : log_) {
            if (l.message == message) out.push_back(l);
        }
        return out;
    }
    std::vector<UINT> Messages() const {
        std::vector<UINT> out;
        for (const Logged& l : log_) out.push_back(l.message);
        return out;
    }

    THeadlessBackend screen_;
    std::vector<Logged> log_;

private:
    TProcessMessagesHandler previousPump_;
};

}  // namespace vcl::testing_support
