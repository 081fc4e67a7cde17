#include "platform/toolkit/Menus.h"

#include <algorithm>

#include "platform/draw/FrameControl.h"
#include "platform/draw/Gdi.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Caption.h"
#include "platform/toolkit/CustomControl.h"
#include "platform/toolkit/ScreenCanvas.h"
#include "platform/toolkit/Screen.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

namespace vcl {

// ---- items -------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    Destroying();
    for (TMenuItem* item : items_) item->parent_ = nullptr;
    if (parent_) parent_->Remove(this);
}

void TMenuItem::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    Changed();
}

void TMenuItem::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Changed();
}

void TMenuItem::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index < 0) return;
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
    Changed();
}

TMenuItem* TMenuItem::Add(const std::string& caption, TNotifyEvent onClick) {
    auto* item = new TMenuItem(Owner() ? Owner() : this);
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    Add(item);
    return item;
}

void TMenuItem::Click() {
    if (enabled_) Fire(OnClick, this);
}

// An open menu shows what its items say now.
void TMenuItem::Changed() {
    for (TMenuItem* p = this; p; p = p->parent_) {
        if (auto* menu = dynamic_cast<TPopupMenu*>(p->Owner()); menu && menu->Items() == p) {
            if (HWND window = menu->WindowHandle()) InvalidateRect(window, nullptr, true);
            return;
        }
    }
}

// ---- the menu's window -------------------------------------------------------------------------

// The window an open menu shows in, and its modal loop.
class TPopupMenuWindow : public TCustomControl {
public:
    // Classic metrics for the 8-point menu font: a 3-pixel frame, items as tall as the text plus
    // 4, separators 8 pixels with their line in the middle, a column for check marks before the
    // text and room for a submenu arrow after it.
    static constexpr int kFrame = 3;
    static constexpr int kSeparator = 8;
    static constexpr int kTextLeft = 17;
    static constexpr int kTextRight = 17;

    explicit TPopupMenuWindow(TPopupMenu& menu) : TCustomControl(nullptr), menu_(&menu) {
        SetFont(Screen().MenuFont());
        SetColor(clMenu);
        SetControlStyle(ControlStyle() | csOpaque);
    }

    // Lays out the items, places the window at the point (kept on the work area), shows it and
    // runs the loop until the menu closes. Returns the picked item, or nullptr.
    TMenuItem* Run(TPoint at);
    void Close() { closed_ = true; }
    // The menu is being destroyed while open: close, touching none of its items any more.
    void Detach() {
        menu_ = nullptr;
        picked_ = nullptr;
        hot_ = -1;
        closed_ = true;
    }
    int Hot() const { return hot_; }
    TRect ItemRect(int index) const {
        if (index < 0 || index >= static_cast<int>(rows_.size())) return {};
        return rows_[static_cast<size_t>(index)];
    }
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& params) override {
        TCustomControl::CreateParams(params);
        params.Style = WS_POPUP;
        params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    }
    void Paint() override;

private:
    int Count() const { return menu_ ? menu_->Items()->Count() : 0; }
    TMenuItem* Item(int index) const { return index >= 0 && index < Count() ? menu_->Items()->Items(index) : nullptr; }
    bool Selectable(int index) const {
        const TMenuItem* item = Item(index);
        return item && item->Visible() && !item->IsLine();
    }
    int ItemAt(TPoint p) const;
    TSize Layout();
    void SetHot(int index);
    void MoveHot(int step);
    void Pick(int index);
    void HandleKey(const TMsg& msg);
    void DrawCaption(TCanvas& canvas, const TMenuItem& item, TRect r, TColor color);

    TPopupMenu* menu_;
    std::vector<TRect> rows_;  // per item, empty when hidden
    int hot_ = -1;
    bool closed_ = false;
    TMenuItem* picked_ = nullptr;
};

TSize TPopupMenuWindow::Layout() {
    TScreenCanvas screen(Font());
    TCanvas& measure = screen.Canvas();
    const int textHeight = measure.TextHeight("Ag");
    const int itemHeight = textHeight + 4;
    int width = 0;
    for (int i = 0; i < Count(); ++i) {
        const TMenuItem* item = Item(i);
        if (!item->Visible() || item->IsLine()) continue;
        const std::u16string caption = WideCaption(item->Caption());
        TRect r{0, 0, 0, 0};
        DrawTextW(measure.Handle(), caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE | DT_CALCRECT);
        width = std::max(width, r.Width());
    }
    const int clientWidth = kFrame + kTextLeft + width + kTextRight + kFrame;
    int y = kFrame;
    rows_.clear();
    for (int i = 0; i < Count(); ++i) {
        const TMenuItem* item = Item(i);
        if (!item->Visible()) {
            rows_.push_back({});
            continue;
        }
        const int height = item->IsLine() ? kSeparator : itemHeight;
        rows_.push_back({kFrame, y, clientWidth - kFrame, y + height});
        y += height;
    }
    return {clientWidth, y + kFrame};
}

TMenuItem* TPopupMenuWindow::Run(TPoint at) {
    const TSize size = Layout();
    // Kept on the work area of the monitor under the point: flipped to the left of or above the
    // point when it would run off the right or bottom edge, then pushed inside.
    TMonitorInfo monitor;
    const TRect work = GetMonitorInfo(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), monitor) ? monitor.WorkArea
                                                                                              : GetWorkArea();
    int x = at.X;
    int y = at.Y;
    if (x + size.cx > work.Right) x -= size.cx;
    if (y + size.cy > work.Bottom) y -= size.cy;
    x = std::max(std::min(x, work.Right - size.cx), work.Left);
    y = std::max(std::min(y, work.Bottom - size.cy), work.Top);
    SetBounds(x, y, size.cx, size.cy);

    const HWND active = GetActiveWindow();
    HWND window = Handle();
    ShowWindow(window, SW_SHOWNA);
    SetCapture(window);
    const rtl::ScopeExit hide([this, window] {
        if (GetCapture() == window) ReleaseCapture();
        if (IsWindow(window)) ShowWindow(window, SW_HIDE);
    });
    while (!closed_) {
        TMsg msg;
        const bool key = PeekMessage(msg, nullptr, 0, 0, PM_NOREMOVE) &&
                         ((msg.Message >= WM_KEYFIRST && msg.Message <= WM_KEYLAST));
        if (key) {
            // The keyboard belongs to the menu while it is open, whichever window has the focus.
            PeekMessage(msg, nullptr, msg.Message, msg.Message, PM_REMOVE);
            HandleKey(msg);
            continue;
        }
        Application->HandleMessage();
        if (Application->Terminated() || GetActiveWindow() != active || GetCapture() != window) closed_ = true;
    }
    return picked_;
}

void TPopupMenuWindow::WndProc(TMessage& m) {
    const TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    switch (m.Msg) {
        case WM_MOUSEMOVE:
            SetHot(ItemAt(p));
            return;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            // A press anywhere outside closes the menu; the click goes nowhere else.
            if (!ClientRect().Contains(p)) Close();
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (ClientRect().Contains(p)) Pick(ItemAt(p));
            return;
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            Close();
            break;
        case WM_MOUSEACTIVATE:
            m.Result = MA_NOACTIVATE;
            return;
        default:
            break;
    }
    TCustomControl::WndProc(m);
}

int TPopupMenuWindow::ItemAt(TPoint p) const {
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        if (rows_[static_cast<size_t>(i)].Contains(p)) return Selectable(i) ? i : -1;
    }
    return -1;
}

void TPopupMenuWindow::SetHot(int index) {
    if (index == hot_) return;
    if (HandleAllocated()) {
        for (int i : {hot_, index}) {
            if (i < 0) continue;
            const TRect r = ItemRect(i);
            InvalidateRect(Handle(), &r, false);
        }
    }
    hot_ = index;
}

void TPopupMenuWindow::MoveHot(int step) {
    const int count = Count();
    if (count == 0) return;
    int i = hot_ < 0 ? (step > 0 ? -1 : count) : hot_;
    for (int tries = 0; tries < count; ++tries) {
        i = (i + step + count) % count;
        if (Selectable(i)) {
            SetHot(i);
            return;
        }
    }
}

void TPopupMenuWindow::Pick(int index) {
    // Separators and disabled items keep the menu open.
    if (!Selectable(index) || !Item(index)->Enabled()) return;
    picked_ = Item(index);
    Close();
}

void TPopupMenuWindow::HandleKey(const TMsg& msg) {
    if (msg.Message == WM_SYSKEYDOWN) {
        // Alt, F10: the menu gives way to the keyboard's own use.
        Close();
        return;
    }
    if (msg.Message == WM_KEYDOWN) {
        switch (msg.WParam) {
            case VK_UP: MoveHot(-1); return;
            case VK_DOWN: MoveHot(1); return;
            case VK_HOME: SetHot(-1); MoveHot(1); return;
            case VK_END: SetHot(-1); MoveHot(-1); return;
            case VK_RETURN: Pick(hot_); return;
            case VK_ESCAPE: Close(); return;
            default: return;
        }
    }
    if (msg.Message == WM_CHAR) {
        const auto key = static_cast<char32_t>(msg.WParam);
        for (int i = 0; i < Count(); ++i) {
            if (Selectable(i) && IsAccel(key, Item(i)->Caption())) {
                SetHot(i);
                Pick(i);
                return;
            }
        }
    }
}

void TPopupMenuWindow::DrawCaption(TCanvas& canvas, const TMenuItem& item, TRect r, TColor color) {
    const std::u16string caption = WideCaption(item.Caption());
    canvas.Font().SetColor(color);
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void TPopupMenuWindow::Paint() {
    TCanvas& canvas = *Canvas();
    TRect frame = ClientRect();
    canvas.Brush().SetColor(clMenu);
    canvas.FillRect(frame);
    DrawEdge(canvas.Handle(), &frame, EDGE_RAISED, BF_RECT);
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        const TRect row = rows_[static_cast<size_t>(i)];
        if (row.IsEmpty()) continue;
        if (!Item(i)) break;  // items removed while open
        const TMenuItem& item = *Item(i);
        if (item.IsLine()) {
            // An engraved line: shadow above highlight, inset a pixel from the frame.
            const int y = row.Top + kSeparator / 2 - 1;
            canvas.Brush().SetColor(clBtnShadow);
            canvas.FillRect({row.Left + 1, y, row.Right - 1, y + 1});
            canvas.Brush().SetColor(clBtnHighlight);
            canvas.FillRect({row.Left + 1, y + 1, row.Right - 1, y + 2});
            continue;
        }
        const bool hot = i == hot_;
        if (hot) {
            canvas.Brush().SetColor(clHighlight);
            canvas.FillRect(row);
        }
        const TRect text{row.Left + kTextLeft, row.Top, row.Right - kTextRight, row.Bottom};
        if (item.Enabled()) {
            DrawCaption(canvas, item, text, hot ? clHighlightText : clMenuText);
        } else if (hot) {
            DrawCaption(canvas, item, text, clGrayText);
        } else {
            // Disabled: engraved, a highlight copy one pixel down and right under the grey text.
            DrawCaption(canvas, item, text.Offset(1, 1), clBtnHighlight);
            DrawCaption(canvas, item, text, clBtnShadow);
        }
    }
}

// ---- the menu ----------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), items_(new TMenuItem(this)), alive_(std::make_shared<bool>(true)) {}

TPopupMenu::~TPopupMenu() {
    Destroying();
    *alive_ = false;
    if (window_) window_->Detach();
}

void TPopupMenu::SetPopupComponent(TControl* value) {
    if (value == popupComponent_) return;
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = value;
    if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    if (window_) return;
    Fire(OnPopup, this);
    // Whoever held the pointer lets go first (a pressed button, a drag).
    if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE);
    const std::shared_ptr<bool> alive = alive_;
    auto window = std::make_unique<TPopupMenuWindow>(*this);
    window_ = window.get();
    TMenuItem* picked = nullptr;
    {
        const rtl::ScopeExit forget([&] {
            if (*alive) window_ = nullptr;
        });
        picked = window->Run({x, y});
    }
    window.reset();
    // A handler may have destroyed the menu, or the picked item, while the menu was open.
    if (!*alive) return;
    Fire(OnClose, this);
    if (picked && items_->IndexOf(picked) >= 0) picked->Click();
}

void TPopupMenu::CloseMenu() {
    if (window_) window_->Close();
}

HWND TPopupMenu::WindowHandle() const { return window_ && window_->HandleAllocated() ? window_->Handle() : nullptr; }
int TPopupMenu::HotIndex() const { return window_ ? window_->Hot() : -1; }
TRect TPopupMenu::ItemRect(int index) const { return window_ ? window_->ItemRect(index) : TRect{}; }

}  // namespace vcl
