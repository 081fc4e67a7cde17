#include <gtest/gtest.h>

#include "WindowFixture.h"

namespace vcl {
namespace {

using WindowTree = testing_support::WindowTest;

TEST_F(WindowTree, ChildrenStackNewestOnTopAndMapCoordinatesThroughTheirParents) {
    HWND top = TopLevel({100, 50, 500, 450});
    HWND panel = Child(top, {10, 20, 210, 220});
    HWND inner = Child(panel, {5, 6, 55, 56});
    HWND later = Child(top, {0, 0, 50, 50});
    EXPECT_EQ(top->Children(), (std::vector<HWND>{later, panel}));
    EXPECT_EQ(GetParent(inner), panel);
    EXPECT_EQ(GetAncestorTopLevel(inner), top);
    EXPECT_TRUE(IsChild(top, inner));
    EXPECT_FALSE(IsChild(inner, top));
    // 100 + 10 + 5, 50 + 20 + 6
    EXPECT_EQ(ClientToScreen(inner, {1, 2}), (TPoint{116, 78}));
    EXPECT_EQ(ScreenToClient(inner, {116, 78}), (TPoint{1, 2}));
    EXPECT_EQ(MapWindowPoint(inner, top, {0, 0}), (TPoint{15, 26}));
    EXPECT_EQ(GetWindowRect(inner), (TRect{115, 76, 165, 126}));
    EXPECT_EQ(GetClientRect(panel), (TRect{0, 0, 200, 200}));
}

TEST_F(WindowTree, DestroyNotifiesParentsFirstAndFreesChildrenFirst) {
    HWND top = TopLevel({0, 0, 300, 300}, {WM_DESTROY, WM_NCDESTROY});
    HWND a = Child(top, {0, 0, 100, 100}, {WM_DESTROY, WM_NCDESTROY});
    HWND a1 = Child(a, {0, 0, 10, 10}, {WM_DESTROY, WM_NCDESTROY});
    HWND owned = TopLevel({400, 0, 500, 100}, {WM_DESTROY, WM_NCDESTROY});
    // Make owned belong to top.
    DestroyWindow(owned);
    TCreateParams p;
    p.Style = WS_POPUP | WS_VISIBLE;
    p.Parent = top;
    p.Width = p.Height = 10;
    p.WndProc = Recorder({WM_DESTROY, WM_NCDESTROY});
    owned = CreateWindowEx(p);
    ASSERT_EQ(GetOwner(owned), top);
    log_.clear();
    DestroyWindow(top);
    std::vector<std::pair<HWND, UINT>> seen;
    for (const auto& l : log_) seen.emplace_back(l.window, l.message);
    const std::vector<std::pair<HWND, UINT>> expected{{owned, WM_DESTROY}, {owned, WM_NCDESTROY}, {top, WM_DESTROY},
                                                      {a, WM_DESTROY},     {a1, WM_DESTROY},      {a1, WM_NCDESTROY},
                                                      {a, WM_NCDESTROY},   {top, WM_NCDESTROY}};
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(a1));
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_TRUE(GetTopLevelWindows().empty());
}

TEST_F(WindowTree, AWindowMayDestroyItselfInsideItsOwnHandler) {
    HWND top = TopLevel({0, 0, 100, 100});
    bool afterDestroy = false;
    top->SetWindowProc([&](HWND w, TMessage& m) {
        if (m.Msg == WM_USER) {
            DestroyWindow(w);
            afterDestroy = !IsWindow(w);
            return;
        }
        DefWindowProc(w, m);
    });
    PostMessage(top, WM_USER);
    PostMessage(top, WM_USER + 1);  // dropped with the window
    Pump();
    EXPECT_TRUE(afterDestroy);
    EXPECT_EQ(MessageQueue().PostedCount(), 0u);
    EXPECT_FALSE(PostMessage(top, WM_USER));
    EXPECT_EQ(SendMessage(top, WM_USER), 0);
}

TEST_F(WindowTree, HitTestingTakesTheTopmostVisibleEnabledWindow) {
    HWND top = TopLevel({0, 0, 400, 400});
    HWND low = Child(top, {0, 0, 200, 200});
    HWND high = Child(top, {100, 100, 300, 300});
    HWND hidden = Child(top, {150, 150, 160, 160}, {}, 0);
    HWND disabled = Child(low, {10, 10, 50, 50}, {}, WS_VISIBLE | WS_DISABLED);
    struct Case {
        TPoint point;
        HWND expected;
    };
    const Case cases[] = {
        {{150, 150}, high},   // overlapping siblings: the newer lies above
        {{50, 50}, low},
        {{20, 20}, low},      // a disabled child lets the pointer through to its parent
        {{350, 350}, top},
        {{155, 155}, high},   // hidden windows do not count
        {{450, 10}, nullptr}, // outside every window
    };
    for (const Case& c : cases) EXPECT_EQ(WindowFromPoint(c.point), c.expected) << c.point.X << "," << c.point.Y;
    (void)hidden;
    (void)disabled;
    EXPECT_EQ(ChildWindowFromPoint(top, {20, 20}), low);
    EXPECT_EQ(ChildWindowFromPoint(top, {390, 390}), top);
    EXPECT_EQ(ChildWindowFromPoint(top, {-1, 0}), nullptr);
    // A disabled top-level takes no pointer at all.
    EnableWindow(top, false);
    EXPECT_EQ(WindowFromPoint({50, 50}), nullptr);
}

TEST_F(WindowTree, TopMostWindowsStayAboveNormalOnes) {
    HWND normal = TopLevel({0, 0, 100, 100});
    HWND pinned = TopLevel({0, 0, 100, 100}, {}, WS_EX_TOPMOST);
    HWND later = TopLevel({0, 0, 100, 100});
    EXPECT_EQ(GetTopLevelWindows(), (std::vector<HWND>{pinned, later, normal}));
    SetActiveWindow(normal);
    EXPECT_EQ(GetTopLevelWindows(), (std::vector<HWND>{pinned, normal, later}));
    EXPECT_EQ(WindowFromPoint({5, 5}), pinned);
    SetWindowPos(pinned, HwndNoTopMost(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopLevelWindows().front(), pinned);
    SetWindowPos(pinned, HwndBottom(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopLevelWindows().back(), pinned);
}

TEST_F(WindowTree, WindowPosChangingCarriesTheNewSizeAndMayAdjustIt) {
    HWND top = TopLevel({0, 0, 300, 300});
    HWND child = Child(top, {10, 10, 60, 40}, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE});
    std::vector<std::pair<int, int>> sizes;
    std::vector<UINT> flags;
    child->SetWindowProc([&, inner = child->WindowProc()](HWND w, TMessage& m) {
        if (m.Msg == WM_WINDOWPOSCHANGING) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
            sizes.emplace_back(pos->cx, pos->cy);
            flags.push_back(pos->flags);
            if (pos->cx > 100) pos->cx = 100;  // a size limit
        }
        inner(w, m);
    });
    SetWindowPos(child, nullptr, 20, 30, 150, 70, SWP_NOZORDER);
    EXPECT_EQ(child->Bounds(), (TRect{20, 30, 120, 100}));
    SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(child->Bounds(), (TRect{0, 0, 100, 70}));
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], (std::pair<int, int>{150, 70}));
    EXPECT_EQ(sizes[1], (std::pair<int, int>{100, 70}));  // no size change: the current size, flagged
    EXPECT_TRUE(flags[1] & SWP_NOSIZE);
    // The first change moved and sized, the second only moved.
    EXPECT_EQ(Of(WM_SIZE).size(), 1u);
    EXPECT_EQ(Of(WM_MOVE).size(), 2u);
    EXPECT_EQ(Of(WM_SIZE)[0].lParam, MAKELPARAM(100, 70));
}

TEST_F(WindowTree, ReparentingMovesAChildBetweenTopLevels) {
    HWND first = TopLevel({0, 0, 200, 200});
    HWND second = TopLevel({300, 0, 500, 200});
    HWND child = Child(first, {10, 10, 50, 50});
    SetFocus(child);
    EXPECT_EQ(SetParent(child, second), first);
    EXPECT_EQ(GetAncestorTopLevel(child), second);
    EXPECT_TRUE(first->Children().empty());
    EXPECT_EQ(ClientToScreen(child, {0, 0}), (TPoint{310, 10}));
    // The focus does not follow into a window that is not active.
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetParent(child, child), nullptr);
    EXPECT_EQ(SetParent(second, first), nullptr);
}

}  // namespace
}  // namespace vcl
