// Invalid areas, the paint order and presenting the back buffers.

#include "platform/window/WindowSystem.h"

#include <algorithm>

#include "platform/draw/GdiObjects.h"
#include "platform/window/Caret.h"

namespace vcl {

namespace {

TRect SizeAt(TPoint origin, const TRect& bounds) { return Bounds(origin.X, origin.Y, bounds.Width(), bounds.Height()); }

// The first window of a tree with something to paint: parents before children, lower siblings
// before higher ones.
HWND FirstInvalid(HWND window) {
    if (!(window->Style() & WS_VISIBLE)) return nullptr;
    if (!window->UpdateRegion().IsEmpty()) return window;
    const auto& children = window->Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (HWND found = FirstInvalid(*it)) return found;
    }
    return nullptr;
}

}  // namespace

bool TWindowSystem::Invalidate(HWND window, const TRect* rect, bool erase) {
    if (!IsAlive(window)) return false;
    const TRect area = rect ? IntersectRect(*rect, window->ClientRect()) : window->ClientRect();
    if (area.IsEmpty()) return true;
    window->update_.Union(area);
    window->erase_ = window->erase_ || erase;
    return true;
}

void TWindowSystem::InvalidateWithChildren(HWND window, const TRect& clientRect, bool erase) {
    if (!IsAlive(window)) return;
    Invalidate(window, &clientRect, erase);
    for (HWND child : window->children_) {
        if (!(child->style_ & WS_VISIBLE)) continue;
        const TRect common = IntersectRect(clientRect, child->bounds_);
        if (!common.IsEmpty()) InvalidateWithChildren(child, common.Offset(-child->bounds_.Left, -child->bounds_.Top), erase);
    }
}

bool TWindowSystem::Validate(HWND window, const TRect* rect) {
    if (!IsAlive(window)) return false;
    if (rect) {
        window->update_.Subtract(*rect);
    } else {
        window->update_.Clear();
    }
    if (window->update_.IsEmpty()) window->erase_ = false;
    return true;
}

Region TWindowSystem::VisibleRegion(HWND window) const {
    if (!IsVisible(window)) return {};
    Region region(SizeAt(BufferOrigin(window), window->bounds_));
    for (HWND a = window->parent_; a; a = a->parent_) region.Intersect(SizeAt(BufferOrigin(a), a->bounds_));
    // Siblings above the window and above each of its ancestors cover it.
    for (HWND x = window; x->parent_; x = x->parent_) {
        for (HWND sibling : x->parent_->children_) {
            if (sibling == x) break;
            if (sibling->style_ & WS_VISIBLE) region.Subtract(SizeAt(BufferOrigin(sibling), sibling->bounds_));
        }
    }
    for (HWND child : window->children_) {
        if (child->style_ & WS_VISIBLE) region.Subtract(SizeAt(BufferOrigin(child), child->bounds_));
    }
    return region;
}

HDC TWindowSystem::OpenWindowDC(HWND window, const Region& area) {
    HWND top = TopLevelOf(window);
    HDC dc = CreateWindowBufferDC(top->backBuffer_, BufferOrigin(window), area.Rects());
    dcs_.push_back(OpenDC{dc, window, top, area});
    return dc;
}

HDC TWindowSystem::BeginPaint(HWND window, PAINTSTRUCT& paint) {
    paint = PAINTSTRUCT{};
    if (!IsAlive(window)) return nullptr;
    Region region = window->update_;
    const bool erase = window->erase_;
    window->update_.Clear();
    window->erase_ = false;
    paint.rcPaint = region.Bounds();
    const TPoint origin = BufferOrigin(window);
    region.Offset(origin.X, origin.Y);
    region.Intersect(VisibleRegion(window));
    paint.hdc = OpenWindowDC(window, region);
    if (erase) paint.fErase = SendMessage(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint.hdc), 0) == 0;
    return paint.hdc;
}

void TWindowSystem::EndPaint(HWND window, const PAINTSTRUCT& paint) {
    // A window destroyed while painting took its DCs with it.
    if (!IsAlive(window)) return;
    PaintCaretOver(window, paint.hdc);
    ReleaseDC(paint.hdc);
}

HDC TWindowSystem::GetDC(HWND window) {
    if (window == nullptr) {
        HDC dc = CreateCompatibleDC(nullptr);
        dcs_.push_back(OpenDC{dc, nullptr, nullptr, Region()});
        return dc;
    }
    if (!IsAlive(window)) return nullptr;
    return OpenWindowDC(window, VisibleRegion(window));
}

bool TWindowSystem::ReleaseDC(HDC dc) {
    const auto it = std::find_if(dcs_.begin(), dcs_.end(), [dc](const OpenDC& open) { return open.dc == dc; });
    if (dc == nullptr || it == dcs_.end()) return false;
    if (it->top) it->top->dirty_.Union(it->area);
    DeleteDC(dc);
    dcs_.erase(it);
    return true;
}

void TWindowSystem::CloseDCsOf(HWND window) {
    for (auto it = dcs_.begin(); it != dcs_.end();) {
        if (it->window != window) {
            ++it;
            continue;
        }
        DeleteDC(it->dc);
        it = dcs_.erase(it);
    }
}

bool TWindowSystem::Update(HWND window) {
    if (!IsAlive(window)) return false;
    if (IsVisible(window) && !window->update_.IsEmpty()) SendMessage(window, WM_PAINT);
    PresentAll();
    return true;
}

bool TWindowSystem::UpdateWithChildren(HWND window) {
    if (!IsAlive(window)) return false;
    const auto paintTree = [this](const auto& self, HWND w) -> void {
        if (!IsVisible(w)) return;
        if (!w->update_.IsEmpty()) SendMessage(w, WM_PAINT);
        // A paint may destroy windows: walk a copy and skip the dead.
        const std::vector<HWND> children = w->children_;
        for (HWND child : children) {
            if (IsAlive(child)) self(self, child);
        }
    };
    paintTree(paintTree, window);
    PresentAll();
    return true;
}

bool TWindowSystem::PeekPaint(TMsg& msg, TMessageTarget* filter) {
    HWND found = nullptr;
    if (filter) {
        HWND window = dynamic_cast<HWND>(filter);
        if (IsAlive(window) && IsVisible(window) && !window->update_.IsEmpty()) found = window;
    } else {
        for (HWND top : topLevels_) {
            if ((found = FirstInvalid(top))) break;
        }
    }
    if (!found) {
        PresentAll();
        return false;
    }
    msg = TMsg{found, WM_PAINT, 0, 0, GetTickCount(), cursor_.X, cursor_.Y};
    return true;
}

void TWindowSystem::PresentAll() {
    // What open DCs drew so far shows too.
    for (const OpenDC& open : dcs_) {
        if (open.top) open.top->dirty_.Union(open.area);
    }
    for (HWND top : topLevels_) {
        if (!top->native_ || !(top->style_ & WS_VISIBLE) || top->dirty_.IsEmpty()) continue;
        const std::vector<TRect> dirty = top->dirty_.Rects();
        top->dirty_.Clear();
        top->native_->Present(top->backBuffer_, dirty);
    }
}

}  // namespace vcl
