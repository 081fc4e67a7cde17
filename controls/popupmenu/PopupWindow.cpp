#include "controls/popupmenu/PopupWindow.h"

#include <algorithm>

#include "controls/effects/Timer.h"
#include "controls/effects/Transition.h"
#include "controls/surface/Primitives.h"
#include "controls/surface/WindowServices.h"
#include "platform/draw/Gdi.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Caption.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/ScreenCanvas.h"
#include "platform/window/Input.h"
#include "platform/runtime/Clock.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowSystem.h"
#include "platform/rtl/NeverDestroyed.h"

namespace se {

using namespace vcl;

namespace {

constexpr uintptr_t kSubmenuTimer = 1;
constexpr uintptr_t kScrollTimer = 2;
constexpr unsigned kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT;

bool IsKeyboardMessage(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= CN_BASE + WM_KEYFIRST && msg <= CN_BASE + WM_KEYLAST);
}

bool Selectable(const TSeCustomItem& item) { return item.Visible() && !item.IsSeparator(); }

TSeCustomItem& RootOf(TSeCustomItem& item) {
    TSeCustomItem* root = &item;
    while (root->Parent()) root = root->Parent();
    return *root;
}

}  // namespace

TFont& MenuFont() {
    static rtl::NeverDestroyed<TFont> font;
    return *font;
}

int DefaultItemHeight() { return std::max(GetSystemMetrics(SM_CYMENUSIZE), 20); }
int DefaultItemWidth() { return std::max(GetSystemMetrics(SM_CXMENUSIZE), 20); }

TPoint MenuPosition(int x, int y, int w, int h, const TRect& exclude, const TRect& monitor) {
    int left = x, top = y;
    if (exclude.IsEmpty()) {
        if (left + w > monitor.Right) left = x - w;
        if (top + h > monitor.Bottom) top = y - h;
    } else {
        left = exclude.Right;
        top = exclude.Top;
        if (left + w > monitor.Right) left = exclude.Left - w;
        if (top + h > monitor.Bottom) top = exclude.Bottom - h;
    }
    if (left + w > monitor.Right) left = monitor.Right - w;
    if (top + h > monitor.Bottom) top = monitor.Bottom - h;
    // Never above or left of the monitor either, where nothing could reach it.
    return {std::max(left, monitor.Left), std::max(top, monitor.Top)};
}

// ---- TSeMenuTracking ---------------------------------------------------------------------------

TSeMenuTracking::TSeMenuTracking() : activeAtStart_(GetActiveWindow()) {
    // Keys go to the focus, or to the active window when nothing has it.
    HWND keys = GetFocus();
    Hook(keys ? keys : activeAtStart_);
}

TSeMenuTracking::~TSeMenuTracking() { Unhook(); }

void TSeMenuTracking::Hook(HWND window) {
    if (!window || !IsWindow(window)) return;
    hooked_ = window;
    previousProc_ = window->SetWindowProc([this](HWND w, TMessage& m) {
        if (IsKeyboardMessage(m.Msg)) {
            KeyMessage(m);
            return;
        }
        if (previousProc_) {
            previousProc_(w, m);
        } else {
            DefWindowProc(w, m);
        }
    });
}

void TSeMenuTracking::Unhook() {
    if (hooked_ && IsWindow(hooked_)) hooked_->SetWindowProc(std::move(previousProc_));
    hooked_ = nullptr;
    previousProc_ = nullptr;
}

void TSeMenuTracking::End() {
    if (ended_) return;
    ended_ = true;
    for (TSePopupView* level : levels_) {
        level->Close();
        if (TWinControl* window = level->Parent(); window && window->HandleAllocated()) {
            ShowWindow(window->Handle(), SW_HIDE);
        }
    }
}

TSePopupView* TSeMenuTracking::LevelAt(TPoint screen) const {
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) {
        TWinControl* window = (*it)->Parent();
        if (window && window->HandleAllocated() && GetWindowRect(window->Handle()).Contains(screen)) return *it;
    }
    return nullptr;
}

bool TSeMenuTracking::IsLevelWindow(HWND window) const {
    return std::any_of(levels_.begin(), levels_.end(),
                       [window](TSePopupView* level) { return level->HandleAllocated() && level->Handle() == window; });
}

void TSeMenuTracking::MouseMove(TPoint screen) {
    // An ended opening may have lost its items already (its menu freed by a handler).
    if (ended_ || screen == lastMouse_) return;
    lastMouse_ = screen;
    TSePopupView* level = LevelAt(screen);
    for (TSePopupView* other : levels_) {
        if (other != level) other->StopScroll();
    }
    if (!level) return;
    const TPoint p = ScreenToClient(level->Handle(), screen);
    if (const int strip = level->StripAt(p); strip != 0) {
        level->StartScroll(strip);
        return;
    }
    level->StopScroll();
    const int index = level->ItemIndexAt(p);
    if (index < 0 || index == level->HighlightIndex()) return;
    if (level->Item().Items(index)->IsSeparator()) return;
    level->SetHighlight(index);
    level->CloseBelow();
    if (level->Item().Items(index)->HasVisibleChildren()) level->StartSubmenuTimer();
}

void TSeMenuTracking::MousePress(TPoint screen, bool down) {
    if (ended_) return;
    TSePopupView* level = LevelAt(screen);
    if (!level) {
        // A release outside (the end of the click that opened the menu) ends nothing.
        if (down) End();
        return;
    }
    const TPoint p = ScreenToClient(level->Handle(), screen);
    const int index = level->ItemIndexAt(p);
    if (index < 0) return;
    if (index != level->HighlightIndex()) {
        level->SetHighlight(index);
        level->CloseBelow();
    }
    // A press on the item whose submenu is open already leaves it open.
    if (level->ChildView() && &level->ChildView()->Item() == level->Highlighted()) return;
    level->ChooseHighlighted();
}

void TSeMenuTracking::KeyMessage(TMessage& m) {
    // Handled here whoever dispatched it; the window below never sees it.
    m.Result = m.Msg >= CN_BASE ? 1 : 0;
    TSePopupView* level = Deepest();
    if (!level || ended_) return;
    const UINT msg = m.Msg >= CN_BASE ? m.Msg - CN_BASE : m.Msg;
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // Keys wait while the left button is held.
            if (GetKeyState(VK_LBUTTON) & 0x8000) return;
            level->KeyDown(static_cast<uint16_t>(m.WParam));
            return;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (GetKeyState(VK_LBUTTON) & 0x8000) return;
            level->Character(static_cast<char32_t>(m.WParam));
            return;
        default:
            return;
    }
}

void TSeMenuTracking::Choose(TSeCustomItem& item) {
    TSeClickHandler::Instance().Post(item);
    End();
}

// ---- TSePopupForm ------------------------------------------------------------------------------

TSePopupForm::TSePopupForm(TComponent* AOwner) : TComponent(AOwner) {}

void TSePopupForm::PaintFrame(TCanvas& canvas, const TRect& client) {
    TRect r = client;
    if (ThemesActive()) {
        FrameRectColor(canvas, r, clBtnShadow);
        r = r.Inflate(-1, -1);
        FrameRectColor(canvas, r, clMenu);
        FrameRectColor(canvas, r.Inflate(-1, -1), clMenu);
        return;
    }
    Draw3DFrame(canvas, r, clBtnFace, clBlack);
    r = r.Inflate(-1, -1);
    Draw3DFrame(canvas, r, clBtnHighlight, clBtnShadow);
    FrameRectColor(canvas, r.Inflate(-1, -1), clMenu);
}

void TSePopupForm::PaintShadow(TCanvas& canvas, const TRect& client) {
    const int size = ShadowSize();
    if (size <= 0) return;
    // What lies beneath cannot be read back here: the shadow is a solid dark strip, offset like a
    // light from the top left would cast it, with the uncovered corners in the face colour.
    FillRectColor(canvas, {client.Right, client.Top, client.Right + size, client.Top + size}, clBtnFace);
    FillRectColor(canvas, {client.Left, client.Bottom, client.Left + size, client.Bottom + size}, clBtnFace);
    FillRectColor(canvas, {client.Right, client.Top + size, client.Right + size, client.Bottom + size}, clBtnShadow);
    FillRectColor(canvas, {client.Left + size, client.Bottom, client.Right, client.Bottom + size}, clBtnShadow);
}

// ---- TSePopupView ------------------------------------------------------------------------------

TSePopupView::TSePopupView(TComponent* AOwner, TSeCustomItem& item, TSeMenuTracking& tracking, TSePopupView* parentView)
    : TCustomControl(AOwner), item_(item), tracking_(tracking), parentView_(parentView) {
    SetParentFont(false);
    SetFont(MenuFont());
    SetParentColor(false);
    SetColor(clMenu);
    controlStyle_ |= csOpaque;
}

TSePopupView::~TSePopupView() {
    if (parentView_ && parentView_->childView_ == this) parentView_->childView_ = nullptr;
}

TSeCustomItem* TSePopupView::Highlighted() const {
    if (highlight_ < 0 || highlight_ >= item_.Count()) return nullptr;
    return item_.Items(highlight_);
}

void TSePopupView::SetHighlight(int index) {
    if (index == highlight_) return;
    highlight_ = index;
    ScrollIntoView();
    Invalidate();
}

bool TSePopupView::IsScrolled() const { return ShownCount() > 0; }

int TSePopupView::ShownCount() const {
    if (item_.Scrolled() && item_.ScrollCount() > 0) return item_.ScrollCount();
    return fitCount_;
}

TSize TSePopupView::Layout(int maxHeight) {
    // Measured on a DC of its own, so the window need not exist yet.
    TScreenCanvas measure(MenuFont());
    TCanvas& canvas = measure.Canvas();
    TCustomImageList* images = item_.ChildImages();
    const int defaultHeight = DefaultItemHeight();
    const int imageColumn = images && images->Width() > defaultHeight ? images->Width() + 6 : kImageColumn;
    std::vector<int> visible;
    std::vector<int> heights(static_cast<size_t>(item_.Count()), 0);
    int width = 0;
    for (int i = 0; i < item_.Count(); ++i) {
        TSeCustomItem& child = *item_.Items(i);
        child.SetItemRect({});
        if (!child.Visible()) continue;
        visible.push_back(i);
        int h = defaultHeight;
        if (child.IsSeparator()) {
            h = kSeparatorHeight;
        } else if (images) {
            h = std::max(h, images->Height() + 4);
        }
        heights[static_cast<size_t>(i)] = h;
        int w = WideTextWidth(canvas, child.Caption(), DT_SINGLELINE | DT_NOPREFIX) + imageColumn + 42;
        if (child.ShortCut() != 0) w += WideTextWidth(canvas, ShortCutToText(child.ShortCut()), DT_SINGLELINE | DT_NOPREFIX);
        width = std::max(width, w);
    }
    itemWidth_ = width;
    if (maxHeight > 0) {
        // Too tall for the screen: as many items as fit between the two strips.
        int total = 0;
        for (int i : visible) total += heights[static_cast<size_t>(i)];
        fitCount_ = 0;
        if (total > maxHeight) {
            int room = maxHeight - 2 * kScrollStrip;
            for (int i : visible) {
                room -= heights[static_cast<size_t>(i)];
                if (room < 0) break;
                ++fitCount_;
            }
            fitCount_ = std::max(fitCount_, 1);
        }
    }
    const bool scrolled = IsScrolled();
    const int shownCount = scrolled ? std::min<int>(ShownCount(), static_cast<int>(visible.size()))
                                    : static_cast<int>(visible.size());
    firstShown_ = std::clamp(firstShown_, 0, std::max(0, static_cast<int>(visible.size()) - shownCount));
    int y = scrolled ? kScrollStrip : 0;
    for (int k = firstShown_; k < firstShown_ + shownCount; ++k) {
        const int i = visible[static_cast<size_t>(k)];
        const int h = heights[static_cast<size_t>(i)];
        item_.Items(i)->SetItemRect({0, y, width, y + h});
        y += h;
    }
    if (scrolled) y += kScrollStrip;
    return {width, y};
}

int TSePopupView::ItemIndexAt(TPoint client) const {
    for (int i = 0; i < item_.Count(); ++i) {
        const TSeCustomItem& child = *item_.Items(i);
        if (child.Visible() && child.ItemRect().Contains(client)) return i;
    }
    return -1;
}

int TSePopupView::StripAt(TPoint client) const {
    if (!IsScrolled() || client.X < 0 || client.X >= itemWidth_) return 0;
    if (client.Y >= 0 && client.Y < kScrollStrip) return -1;
    const int h = ClientHeight();
    if (client.Y >= h - kScrollStrip && client.Y < h) return 1;
    return 0;
}

bool TSePopupView::AncestorsRunning() const {
    for (const TSePopupView* view = parentView_; view; view = view->parentView_) {
        if (!view->running_) return false;
    }
    return true;
}

void TSePopupView::Close() {
    running_ = false;
    CloseBelow();
}

void TSePopupView::CloseBelow() {
    if (childView_) childView_->Close();
}

void TSePopupView::Track() {
    running_ = true;
    HWND self = Handle();
    vcl::SetCursor(TCursorShape::Arrow);
    // Start on the first item, then on whatever lies under the pointer.
    for (int i = 0; i < item_.Count(); ++i) {
        if (Selectable(*item_.Items(i))) {
            SetHighlight(i);
            break;
        }
    }
    {
        const TPoint p = vcl::ScreenToClient(self, GetCursorPos());
        const int index = ItemIndexAt(p);
        if (index >= 0 && !item_.Items(index)->IsSeparator()) SetHighlight(index);
    }
    SetCapture(self);
    while (running_ && AncestorsRunning() && !tracking_.Ended()) {
        if (GetCapture() != self) {
            // Taken by something else than a level of this menu: the menu ends.
            if (!tracking_.IsLevelWindow(GetCapture())) tracking_.End();
            break;
        }
        if (GetActiveWindow() != tracking_.activeAtStart_ || Application->Terminated()) {
            tracking_.End();
            break;
        }
        if (openPending_) {
            openPending_ = false;
            OpenHighlighted();
            if (running_ && IsWindow(self)) SetCapture(self);
            continue;
        }
        TMsg msg;
        if (!PeekMessage(msg, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        // Quitting ends the menu; the quit request stays for the loop that owns it.
        if (msg.Message == WM_QUIT) {
            tracking_.End();
            break;
        }
        if (!PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) continue;
        DispatchMessage(msg);
    }
    running_ = false;
    CloseBelow();
    if (IsWindow(self)) {
        KillTimer(self, kSubmenuTimer);
        KillTimer(self, kScrollTimer);
        if (GetCapture() == self) ReleaseCapture();
    }
}

void TSePopupView::OpenHighlighted() {
    TSeCustomItem* item = Highlighted();
    if (!item || !item->Enabled() || !item->HasVisibleChildren() || childView_) return;
    TRect r = item->ItemRect();
    const TPoint topLeft = vcl::ClientToScreen(Handle(), {r.Left, r.Top});
    r = r.Offset(topLeft.X - r.Left, topLeft.Y - r.Top);
    ShowChildren(*item, this, r.Right, r.Top, r, tracking_);
}

void TSePopupView::ChooseHighlighted() {
    TSeCustomItem* item = Highlighted();
    if (!item || item->IsSeparator() || !item->Enabled()) return;
    if (item->HasVisibleChildren()) {
        if (!childView_) openPending_ = true;
        return;
    }
    tracking_.Choose(*item);
}

int TSePopupView::VisibleCount() const {
    int count = 0;
    for (int i = 0; i < item_.Count(); ++i) count += item_.Items(i)->Visible() ? 1 : 0;
    return count;
}

void TSePopupView::Step(int direction, bool wrap) {
    const int n = item_.Count();
    if (n == 0) return;
    int i = highlight_;
    // One full round at most: a level of separators and hidden items has nothing to stop on.
    for (int step = 0; step < n; ++step) {
        if (i >= 0 && !wrap && (i + direction < 0 || i + direction >= n)) return;
        i = i < 0 ? (direction > 0 ? 0 : n - 1) : (i + direction + n) % n;
        if (Selectable(*item_.Items(i))) {
            SetHighlight(i);
            return;
        }
    }
}

void TSePopupView::KeyDown(uint16_t key) {
    switch (key) {
        case VK_RETURN: ChooseHighlighted(); return;
        case VK_TAB:
        case VK_SPACE: return;
        case VK_MENU:
        case VK_F10: tracking_.End(); return;
        case VK_ESCAPE: Close(); return;
        case VK_UP: Step(-1); return;
        case VK_DOWN: Step(1); return;
        case VK_RIGHT:
            if (TSeCustomItem* item = Highlighted(); item && item->Enabled() && item->HasVisibleChildren() && !childView_) {
                openPending_ = true;
            }
            return;
        case VK_LEFT:
            // The first level of a popup menu has nothing to go back to.
            if (parentView_) Close();
            return;
        default: return;
    }
}

void TSePopupView::Character(char32_t ch) {
    if (ch < 32) return;
    for (int i = 0; i < item_.Count(); ++i) {
        TSeCustomItem& child = *item_.Items(i);
        if (Selectable(child) && IsAccel(ch, child.Caption())) {
            SetHighlight(i);
            ChooseHighlighted();
            return;
        }
    }
}

void TSePopupView::StartSubmenuTimer() {
    if (HandleAllocated()) SetTimer(Handle(), kSubmenuTimer, kSubmenuDelay);
}

void TSePopupView::StartScroll(int direction) {
    if (direction == scrollDirection_) return;
    scrollDirection_ = direction;
    if (HandleAllocated()) SetTimer(Handle(), kScrollTimer, kScrollInterval);
}

void TSePopupView::StopScroll() {
    if (scrollDirection_ == 0) return;
    scrollDirection_ = 0;
    if (HandleAllocated()) KillTimer(Handle(), kScrollTimer);
}

void TSePopupView::ScrollIntoView() {
    if (!IsScrolled() || highlight_ < 0) return;
    // The rank of the highlighted item among the visible ones.
    int rank = 0;
    for (int i = 0; i < highlight_; ++i) rank += item_.Items(i)->Visible() ? 1 : 0;
    const int count = ShownCount();
    if (rank < firstShown_) {
        firstShown_ = rank;
    } else if (rank >= firstShown_ + count) {
        firstShown_ = rank - count + 1;
    } else {
        return;
    }
    Layout();
}

void TSePopupView::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_MOUSEMOVE:
            tracking_.MouseMove(vcl::ClientToScreen(Handle(), {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}));
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
            tracking_.MousePress(vcl::ClientToScreen(Handle(), {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}),
                                 m.Msg != WM_LBUTTONUP);
            return;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: {
            const TPoint screen = vcl::ClientToScreen(Handle(), {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
            if (!tracking_.LevelAt(screen)) tracking_.End();
            return;
        }
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_CONTEXTMENU:
        case WM_MOUSEWHEEL:
            return;
        case WM_TIMER:
            if (tracking_.Ended()) return;
            if (m.WParam == kSubmenuTimer) {
                KillTimer(Handle(), kSubmenuTimer);
                if (TSeCustomItem* item = Highlighted(); item && item->HasVisibleChildren() && !childView_) openPending_ = true;
            } else if (m.WParam == kScrollTimer) {
                // Up while items are hidden above, down while items remain below the shown ones.
                const bool more = scrollDirection_ < 0 ? firstShown_ > 0 : firstShown_ + ShownCount() < VisibleCount();
                if (more && scrollDirection_ != 0) Step(scrollDirection_, false);
            }
            return;
        default:
            break;
    }
    if (IsKeyboardMessage(m.Msg)) {
        tracking_.KeyMessage(m);
        return;
    }
    TCustomControl::WndProc(m);
}

void TSePopupView::Paint() {
    if (tracking_.Ended()) return;  // hidden, and its items may be gone
    TCanvas& canvas = *Canvas();
    canvas.Font().Assign(MenuFont());
    FillRectColor(canvas, ClientRect(), clMenu);
    for (int i = 0; i < item_.Count(); ++i) {
        TSeCustomItem& child = *item_.Items(i);
        if (child.Visible() && !child.ItemRect().IsEmpty()) PaintItem(canvas, child, i == highlight_);
    }
    PaintStrips(canvas);
}

void TSePopupView::PaintStrips(TCanvas& canvas) {
    if (!IsScrolled()) return;
    const int h = ClientHeight();
    const int cx = itemWidth_ / 2;
    // Small filled arrows centred in the strips, pointing up and down.
    for (int row = 0; row < 4; ++row) {
        FillRectColor(canvas, {cx - row, 3 + row, cx + row + 1, 4 + row}, clMenuText);
        FillRectColor(canvas, {cx - row, h - 4 - row, cx + row + 1, h - 3 - row}, clMenuText);
    }
}

void TSePopupView::PaintItem(TCanvas& canvas, TSeCustomItem& child, bool highlighted) {
    const TRect r = child.ItemRect();
    if (child.IsSeparator()) {
        FillRectColor(canvas, r, clMenu);
        FillRectColor(canvas, {r.Left + 2, r.Top + 7, r.Right - 2, r.Top + 8}, clBtnShadow);
        FillRectColor(canvas, {r.Left + 2, r.Top + 8, r.Right - 2, r.Top + 9}, clBtnHighlight);
        return;
    }
    FillRectColor(canvas, r, highlighted ? clHighlight : clMenu);
    const TColor textColor = highlighted ? clHighlightText : clMenuText;
    TCustomImageList* images = item_.ChildImages();
    const int defaultHeight = DefaultItemHeight();
    const int imageColumn = images && images->Width() > defaultHeight ? images->Width() + 6 : kImageColumn;
    const TRect column{r.Left, r.Top, r.Left + imageColumn, r.Bottom};
    if (child.Checked() && (!images || child.ImageIndex() < 0)) {
        if (!highlighted) {
            FillDitherPattern(canvas, column.Inflate(-1, -1), clMenu, clBtnHighlight);
            Draw3DFrame(canvas, column.Inflate(-1, -1), clBtnShadow, clBtnHighlight);
        }
        // The classic check: a black tick three pixels thick with a white edge below it.
        const int x = column.Left + (column.Width() - 7) / 2;
        const int y = column.Top + (column.Height() - 7) / 2;
        canvas.Pen().SetColor(clBlack);
        for (int k = 0; k < 3; ++k) {
            const TPoint tick[3] = {{x, y + 2 + k}, {x + 2, y + 4 + k}, {x + 7, y - 1 + k}};
            Polyline(canvas.Handle(), tick, 3);
        }
        canvas.Pen().SetColor(clWhite);
        const TPoint edge[3] = {{x, y + 5}, {x + 2, y + 7}, {x + 7, y + 2}};
        Polyline(canvas.Handle(), edge, 3);
    } else if (images && child.ImageIndex() >= 0 && child.ImageIndex() < images->Count()) {
        const int ix = column.Left + (column.Width() - images->Width()) / 2;
        const int iy = column.Top + (column.Height() - images->Height()) / 2;
        images->Draw(canvas, ix, iy, child.ImageIndex(), child.Enabled());
    }
    const auto drawText = [&](const std::u16string& text, TRect rect, unsigned format) {
        if (!child.Enabled()) {
            if (!highlighted) {
                TRect etched = rect.Offset(1, 1);
                canvas.Font().SetColor(clBtnHighlight);
                DrawWideText(canvas, text, etched, format);
            }
            canvas.Font().SetColor(clBtnShadow);
        } else {
            canvas.Font().SetColor(textColor);
        }
        DrawWideText(canvas, text, rect, format);
    };
    drawText(child.Caption(), {r.Left + imageColumn + 4, r.Top, r.Right, r.Bottom}, kCaptionFormat);
    if (child.ShortCut() != 0) {
        drawText(ShortCutToText(child.ShortCut()), {r.Left, r.Top, r.Right - 22, r.Bottom},
                 DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    if (child.HasVisibleChildren()) {
        // A small right-pointing arrow, centred between 24 and 2 pixels from the right edge.
        const TColor arrow = child.Enabled() ? textColor : clBtnShadow;
        const int ax = r.Right - 24 + (22 - 4) / 2;
        const int ay = r.Top + (r.Height() - 7) / 2;
        for (int k = 0; k < 4; ++k) FillRectColor(canvas, {ax + k, ay + k, ax + k + 1, ay + 7 - k}, arrow);
    }
}

// ---- TSePopupWindow ----------------------------------------------------------------------------

TSePopupWindow::TSePopupWindow(TSeCustomItem& item, TSeMenuTracking& tracking, TSePopupView* parentView)
    : TCustomControl(nullptr) {
    SetVisible(false);
    SetParentColor(false);
    SetColor(clMenu);
    controlStyle_ |= csOpaque;
    form_ = new TSePopupForm(this);
    view_ = new TSePopupView(this, item, tracking, parentView);
    view_->SetParent(this);
}

TSePopupWindow::~TSePopupWindow() = default;

void TSePopupWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}

void TSePopupWindow::Place(int x, int y, const TRect& exclude) {
    const int shadow = form_->ShadowSize();
    const TRect work = MonitorRect(TPoint{x, y}, true);
    const TSize items = view_->Layout(work.Height() - 2 * kMenuFrame - shadow);
    const int w = items.cx + 2 * kMenuFrame + shadow;
    const int h = items.cy + 2 * kMenuFrame + shadow;
    const TPoint at = MenuPosition(x, y, w, h, exclude, MonitorRect(TPoint{x, y}, false));
    SetBounds(at.X, at.Y, w, h);
    view_->SetBounds(kMenuFrame, kMenuFrame, items.cx, items.cy);
}

void TSePopupWindow::Paint() {
    TCanvas& canvas = *Canvas();
    const int shadow = form_->ShadowSize();
    const TRect client{0, 0, Width() - shadow, Height() - shadow};
    form_->PaintFrame(canvas, client);
    form_->PaintShadow(canvas, client);
}

// ---- opening a level ---------------------------------------------------------------------------

namespace {

// Plays the opening animation from what the screen showed under the window to the window's own
// first frame.
void Animate(TSePopupWindow& window) {
    HWND handle = window.Handle();
    UpdateWindow(handle);
    for (int i = 0; i < window.ControlCount(); ++i) {
        if (auto* child = dynamic_cast<TWinControl*>(window.Controls(i))) UpdateWindow(child->Handle());
    }
    PixelSection* buffer = handle->BackBuffer();
    if (!buffer || buffer->Empty()) return;
    TseBitmap newImage;
    newImage.SetSize(buffer->Width(), buffer->Height());
    for (int y = 0; y < buffer->Height(); ++y) {
        for (int x = 0; x < buffer->Width(); ++x) newImage.WritePixel(x, y, buffer->At(x, y) | 0xFF000000u);
    }
    // The old image: the pixels of the top-level windows beneath, bottom-most first.
    TseBitmap oldImage;
    oldImage.SetSize(buffer->Width(), buffer->Height());
    oldImage.Clear(0xFF000000u);
    const TRect bounds = GetWindowRect(handle);
    std::vector<HWND> tops = GetTopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        HWND top = *it;
        if (top == handle || !IsWindowVisible(top) || !top->BackBuffer()) continue;
        const TRect b = GetWindowRect(top);
        const PixelSection& pixels = *top->BackBuffer();
        for (int y = 0; y < oldImage.Height(); ++y) {
            for (int x = 0; x < oldImage.Width(); ++x) {
                const int sx = bounds.Left + x - b.Left, sy = bounds.Top + y - b.Top;
                if (sx >= 0 && sy >= 0 && sx < pixels.Width() && sy < pixels.Height()) {
                    oldImage.WritePixel(x, y, pixels.At(sx, sy) | 0xFF000000u);
                }
            }
        }
    }
    TseTransition transition(window.Form().Animation().Rec(), newImage, oldImage);
    if (!transition.Ready()) return;
    HDC dc = GetDC(handle);
    TCanvas canvas;
    canvas.SetHandle(dc);
    // The effect's frames, each presented as it is drawn; bounded by the real time and a frame
    // cap like every transition.
    const int time = window.Form().Animation().Time();
    const int frameCap = time / kFramePeriodMs + 1;
    TseTimer timer;
    timer.Start();
    for (int frame = 0; frame < frameCap; ++frame) {
        const double elapsed = std::max(0.0, timer.Elapsed() * 1000.0);
        if (elapsed >= time) break;
        const double share = std::max(elapsed / time, static_cast<double>(frame) / frameCap);
        transition.Frame(std::min(100, static_cast<int>(share * 100 + 0.5))).Draw(canvas, 0, 0);
        WindowSystem().PresentAll();
        const double due = static_cast<double>(frame + 1) * kFramePeriodMs;
        const double now = timer.Elapsed() * 1000.0;
        if (now < due) Clock().SleepMicroseconds(static_cast<uint64_t>((due - now) * 1000.0));
    }
    newImage.Draw(canvas, 0, 0);
    canvas.SetHandle(nullptr);
    ReleaseDC(handle, dc);
}

}  // namespace

void ShowChildren(TSeCustomItem& item, TSePopupView* parentView, int x, int y, const TRect& exclude,
                  TSeMenuTracking& tracking) {
    if (!item.HasVisibleChildren()) return;
    item.BeforeDropDown();
    if (tracking.Ended() || !item.HasVisibleChildren()) return;
    auto window = std::make_unique<TSePopupWindow>(item, tracking, parentView);
    TSePopupForm& form = window->Form();
    if (const TSePopupMenuOptions* options = item.Options()) {
        form.Blending().Assign(options->Blending());
        form.Shadow().Assign(options->Shadow());
        if (!item.OpenedByPopup() || item.AnimationAllowed()) {
            form.Animation().Assign(options->Animation());
            form.SetAnimate(options->Animation().Enabled());
        }
    }
    // Only the first window of an opening animates.
    RootOf(item).SetTreeAnimationAllowed(false);
    window->Place(x, y, exclude);
    HWND handle = window->Handle();
    SetWindowPos(handle, HwndTopMost(), window->Left(), window->Top(), window->Width(), window->Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if (form.Animate()) Animate(*window);
    TSePopupView& view = window->View();
    if (parentView) parentView->childView_ = &view;
    tracking.levels_.push_back(&view);
    view.Track();
    std::erase(tracking.levels_, &view);
    if (parentView && parentView->childView_ == &view) parentView->childView_ = nullptr;
}

}  // namespace se
