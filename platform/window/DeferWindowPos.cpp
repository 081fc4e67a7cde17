// Deferred window moves: collected positions applied together through SetWindowPos.

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/window/Window.h"

namespace vcl {

struct TDeferredPositions {
    std::vector<WINDOWPOS> positions;
};

namespace {

// The collections handed out and not yet ended; a handle not listed here is refused.
std::vector<std::unique_ptr<TDeferredPositions>>& Open() {
    static std::vector<std::unique_ptr<TDeferredPositions>> open;
    return open;
}

std::vector<std::unique_ptr<TDeferredPositions>>::iterator Find(HDWP positions) {
    auto& open = Open();
    return std::find_if(open.begin(), open.end(), [&](const auto& p) { return p.get() == positions; });
}

void Free(HDWP positions) {
    const auto it = Find(positions);
    if (it != Open().end()) Open().erase(it);
}

// A second position for the same window takes over what it gives and keeps the rest.
void Merge(WINDOWPOS& into, const WINDOWPOS& later) {
    constexpr UINT kParts = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    if (!(later.flags & SWP_NOMOVE)) {
        into.x = later.x;
        into.y = later.y;
    }
    if (!(later.flags & SWP_NOSIZE)) {
        into.cx = later.cx;
        into.cy = later.cy;
    }
    if (!(later.flags & SWP_NOZORDER)) into.hwndInsertAfter = later.hwndInsertAfter;
    UINT flags = (into.flags & later.flags & kParts) | (later.flags & ~kParts);
    if (later.flags & SWP_SHOWWINDOW) flags &= ~SWP_HIDEWINDOW;
    if (later.flags & SWP_HIDEWINDOW) flags &= ~SWP_SHOWWINDOW;
    into.flags = flags;
}

}  // namespace

HDWP BeginDeferWindowPos(int expectedCount) {
    auto positions = std::make_unique<TDeferredPositions>();
    positions->positions.reserve(static_cast<size_t>(std::max(expectedCount, 0)));
    Open().push_back(std::move(positions));
    return Open().back().get();
}

HDWP DeferWindowPos(HDWP positions, HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (Find(positions) == Open().end()) return nullptr;
    if (!IsWindow(window)) {
        Free(positions);
        return nullptr;
    }
    const WINDOWPOS pos{window, insertAfter, x, y, cx, cy, flags};
    auto& list = positions->positions;
    const auto same = std::find_if(list.begin(), list.end(), [&](const WINDOWPOS& p) { return p.hwnd == window; });
    if (same != list.end()) {
        Merge(*same, pos);
    } else {
        list.push_back(pos);
    }
    return positions;
}

bool EndDeferWindowPos(HDWP positions) {
    const auto it = Find(positions);
    if (it == Open().end()) return false;
    // Taken out first: a window procedure may begin a collection of its own meanwhile.
    const std::unique_ptr<TDeferredPositions> owned = std::move(*it);
    Open().erase(it);
    bool all = true;
    for (const WINDOWPOS& p : owned->positions) {
        all = SetWindowPos(static_cast<HWND>(p.hwnd), static_cast<HWND>(p.hwndInsertAfter), p.x, p.y, p.cx, p.cy, p.flags) && all;
    }
    return all;
}

}  // namespace vcl
