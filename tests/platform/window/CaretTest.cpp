#include <gtest/gtest.h>

#include "platform/window/Caret.h"
#include "WindowFixture.h"

namespace vcl {
namespace {

using CaretTest = testing_support::WindowTest;

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kInverted = 0xFF000000u;  // white with its colour bits inverted

TEST_F(CaretTest, TheCaretBlinksOverWhatTheWindowPaints) {
    HWND edit = TopLevel({0, 0, 100, 30});
    edit->SetWindowProc([](HWND w, TMessage& m) {
        if (m.Msg != WM_PAINT) return DefWindowProc(w, m);
        PAINTSTRUCT ps;
        testing_support::FillPixel(BeginPaint(w, ps), GetClientRect(w), kWhite);
        EndPaint(w, ps);
    });
    Pump();
    ASSERT_TRUE(CreateCaret(edit, 1, 13));
    EXPECT_FALSE(IsCaretShown());  // created hidden
    SetCaretPos(5, 4);
    ShowCaret(edit);
    Pump();
    const auto at = [&](int x, int y) { return screen_.Screenshot(edit).At(x, y); };
    EXPECT_EQ(at(5, 4), kInverted);
    EXPECT_EQ(at(5, 16), kInverted);
    EXPECT_EQ(at(5, 17), kWhite);
    EXPECT_EQ(at(6, 4), kWhite);
    // The caret blink time is 530 ms: off, then on again.
    screen_.Advance(530);
    EXPECT_EQ(at(5, 4), kWhite);
    screen_.Advance(530);
    EXPECT_EQ(at(5, 4), kInverted);
    // A repaint of the whole window keeps it on top.
    InvalidateRect(edit, nullptr, false);
    Pump();
    EXPECT_EQ(at(5, 4), kInverted);
    // Moving shows it at once at the new place and clears the old one.
    screen_.Advance(530);
    SetCaretPos(20, 4);
    Pump();
    EXPECT_EQ(at(5, 4), kWhite);
    EXPECT_EQ(at(20, 4), kInverted);
    TPoint p;
    ASSERT_TRUE(GetCaretPos(p));
    EXPECT_EQ(p, (TPoint{20, 4}));
}

TEST_F(CaretTest, HidingNestsAndBelongsToTheOwner) {
    HWND a = TopLevel({0, 0, 50, 50});
    HWND b = TopLevel({100, 0, 150, 50});
    ASSERT_TRUE(CreateCaret(a, 2, 10));
    EXPECT_FALSE(ShowCaret(b));  // not b's caret
    EXPECT_TRUE(ShowCaret(a));
    EXPECT_TRUE(IsCaretShown());
    HideCaret(a);
    HideCaret(a);
    ShowCaret(a);
    EXPECT_FALSE(IsCaretShown());
    ShowCaret(a);
    EXPECT_TRUE(IsCaretShown());
    EXPECT_EQ(GetCaretRect(), (TRect{0, 0, 2, 10}));
    // Creating it elsewhere takes it away; destroying the owner ends it.
    ASSERT_TRUE(CreateCaret(b, 1, 12));
    EXPECT_EQ(GetCaretWindow(), b);
    DestroyWindow(b);
    EXPECT_EQ(GetCaretWindow(), nullptr);
    EXPECT_FALSE(SetCaretPos(1, 1));
}

}  // namespace
}  // namespace vcl
