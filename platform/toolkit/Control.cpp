#include "platform/toolkit/Control.h"

#include <algorithm>

#include "platform/toolkit/Menus.h"
#include "platform/toolkit/WinControl.h"
#include "platform/draw/ColorNames.h"
#include "platform/draw/GdiState.h"
#include "platform/runtime/StoredProperties.h"
#include "platform/window/Input.h"
#include "platform/rtl/ScopeExit.h"

namespace vcl {

namespace {

TControl* captureControl = nullptr;

bool IsMouseButtonMessage(UINT msg) { return msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK; }

}  // namespace

TCursorShape CursorShapeOf(TCursor cursor) {
    switch (cursor) {
        case crNone: return TCursorShape::Hidden;
        case crCross: return TCursorShape::Cross;
        case crIBeam: return TCursorShape::IBeam;
        case crSizeNESW: return TCursorShape::SizeNESW;
        case crSizeNS: case crVSplit: return TCursorShape::SizeNS;
        case crSizeNWSE: return TCursorShape::SizeNWSE;
        case crSizeWE: case crHSplit: return TCursorShape::SizeWE;
        case crUpArrow: return TCursorShape::UpArrow;
        case crHourGlass: case crSQLWait: return TCursorShape::Wait;
        case crNo: case crNoDrop: return TCursorShape::No;
        case crAppStart: return TCursorShape::AppStarting;
        case crHelp: return TCursorShape::Help;
        case crHandPoint: return TCursorShape::Hand;
        case crSizeAll: return TCursorShape::SizeAll;
        default: return TCursorShape::Arrow;
    }
}

TShiftState MouseKeysToShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TWinControl* FindControl(HWND window) {
    for (HWND w = window; w && IsWindow(w); w = GetParent(w)) {
        if (auto* control = dynamic_cast<TWinControl*>(w->Object())) return control;
    }
    return nullptr;
}

TControl* GetCaptureControl() {
    TWinControl* holder = FindControl(GetCapture());
    if (!holder) return nullptr;
    if (captureControl && captureControl->Parent() == holder) return captureControl;
    return holder;
}

void SetCaptureControl(TControl* control) {
    ReleaseCapture();
    captureControl = nullptr;
    if (!control) return;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (!windowed) {
        // A window-less control captures through its parent's window.
        if (!control->Parent()) return;
        captureControl = control;
        windowed = control->Parent();
    }
    SetCapture(windowed->Handle());
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_.OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
    if (captureControl == this) {
        captureControl = nullptr;
        ReleaseCapture();
    }
    if (parent_) parent_->RemoveControl(this);
}

namespace {

constexpr TEnumName<TCursor> kCursorNames[] = {
    {"crDefault", crDefault},     {"crNone", crNone},         {"crArrow", crArrow},       {"crCross", crCross},
    {"crIBeam", crIBeam},         {"crSize", crSize},         {"crSizeNESW", crSizeNESW}, {"crSizeNS", crSizeNS},
    {"crSizeNWSE", crSizeNWSE},   {"crSizeWE", crSizeWE},     {"crUpArrow", crUpArrow},   {"crHourGlass", crHourGlass},
    {"crDrag", crDrag},           {"crNoDrop", crNoDrop},     {"crHSplit", crHSplit},     {"crVSplit", crVSplit},
    {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait},   {"crNo", crNo},             {"crAppStart", crAppStart},
    {"crHelp", crHelp},           {"crHandPoint", crHandPoint}, {"crSizeAll", crSizeAll}};
constexpr TEnumName<TAlign> kAlignNames[] = {{"alNone", alNone},   {"alTop", alTop},       {"alBottom", alBottom},
                                             {"alLeft", alLeft},   {"alRight", alRight},   {"alClient", alClient},
                                             {"alCustom", alCustom}};
constexpr TEnumName<uint8_t> kCharsetNames[] = {{"DEFAULT_CHARSET", DEFAULT_CHARSET},
                                                {"GB2312_CHARSET", GB2312_CHARSET}};

// A colour by its standard name or as a number.
TColor StoredColor(const TStoredWrite& value) {
    const std::optional<TColor> color = StringToColor(value.Ident());
    if (!color) value.Fail("unknown colour");
    return *color;
}

}  // namespace

const TStoredProperties& TControl::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TControl>(&TComponent::StoredProperties(), {
        {"Left", [](auto& c, auto& v) { c.SetLeft(v.Int()); }},
        {"Top", [](auto& c, auto& v) { c.SetTop(v.Int()); }},
        {"Width", [](auto& c, auto& v) { c.SetWidth(v.Int()); }},
        {"Height", [](auto& c, auto& v) { c.SetHeight(v.Int()); }},
        {"Caption", [](auto& c, auto& v) { c.SetText(v.Text()); }},
        {"Text", [](auto& c, auto& v) { c.SetText(v.Text()); }},
        {"Hint", [](auto& c, auto& v) { c.SetHint(v.Text()); }},
        {"ShowHint", [](auto& c, auto& v) { c.SetShowHint(v.Bool()); }},
        {"ParentShowHint", [](auto& c, auto& v) { c.SetParentShowHint(v.Bool()); }},
        {"Enabled", [](auto& c, auto& v) { c.SetEnabled(v.Bool()); }},
        {"Visible", [](auto& c, auto& v) { c.SetVisible(v.Bool()); }},
        {"Color", [](auto& c, auto& v) { c.SetColor(StoredColor(v)); }},
        {"ParentColor", [](auto& c, auto& v) { c.SetParentColor(v.Bool()); }},
        {"ParentFont", [](auto& c, auto& v) { c.SetParentFont(v.Bool()); }},
        {"Font.Name", [](auto& c, auto& v) { c.Font().SetName(v.Text()); }},
        {"Font.Height", [](auto& c, auto& v) { c.Font().SetHeight(v.Int()); }},
        {"Font.Color", [](auto& c, auto& v) { c.Font().SetColor(StoredColor(v)); }},
        {"Font.Charset", [](auto& c, auto& v) { c.Font().SetCharset(v.Enum(kCharsetNames)); }},
        {"Cursor", [](auto& c, auto& v) { c.SetCursor(v.Enum(kCursorNames)); }},
        {"Align", [](auto& c, auto& v) { c.SetAlign(v.Enum(kAlignNames)); }},
    });
    return table;
}

void TControl::SetParent(TWinControl* value) {
    if (value == parent_) return;
    if (value == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (value) value->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    const TRect old = BoundsRect();
    const bool sized = AWidth != width_ || AHeight != height_;
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    if (visible_) {
        InvalidateArea(old);
        InvalidateArea(BoundsRect());
    }
    RequestAlign();
    if (sized && !HasState(csLoading)) Resize();
}

void TControl::SetClientSize(int width, int height) {
    const TRect client = ClientRect();
    SetBounds(left_, top_, width_ - client.Width() + width, height_ - client.Height() + height);
}

TPoint TControl::ClientOrigin() const {
    if (!parent_) return {left_, top_};
    const TPoint p = parent_->ClientOrigin();
    return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    const TPoint origin = ClientOrigin();
    return {p.X + origin.X, p.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint origin = ClientOrigin();
    return {p.X - origin.X, p.Y - origin.Y};
}

void TControl::SetAlign(TAlign value) {
    if (value == align_) return;
    align_ = value;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value) { anchors_ = value; }

void TControl::RequestAlign() {
    if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    RequestAlign();
}

bool TControl::IsVisibleOnScreen() const {
    for (const TControl* c = this; c; c = c->parent_) {
        if (!c->visible_) return false;
    }
    return true;
}

void TControl::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& value) {
    if (value == text_) return;
    text_ = value;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool value) {
    if (value == showHint_) return;
    showHint_ = value;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    if (value == parentShowHint_) return;
    parentShowHint_ = value;
    if (value && parent_) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor value) {
    if (value == cursor_) return;
    cursor_ = value;
    Perform(CM_CURSORCHANGED);
}

void TControl::FontChanged() {
    if (!fontApplying_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
    if (value == parentFont_) return;
    parentFont_ = value;
    if (value && parent_) ApplyParentFont();
}

void TControl::ApplyParentFont() {
    if (!parent_ || !parentFont_) return;
    const rtl::ScopedFlag applying(fontApplying_);
    font_.Assign(parent_->Font());
}

void TControl::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (value == parentColor_) return;
    parentColor_ = value;
    if (value && parent_) ApplyParentColor();
}

void TControl::ApplyParentColor() {
    if (!parent_ || !parentColor_ || parent_->Color() == color_) return;
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::Invalidate() {
    if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
    const TRect bounds = BoundsRect();
    InvalidateRect(parent_->Handle(), &bounds, !(controlStyle_ & csOpaque));
}

void TControl::InvalidateArea(const TRect& boundsInParent) {
    if (!parent_ || !parent_->HandleAllocated()) return;
    InvalidateRect(parent_->Handle(), &boundsInParent, true);
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::SetZOrder(bool toTop) {
    auto* windowed = dynamic_cast<TWinControl*>(this);
    if (parent_) {
        // Both lists are bottom first.
        const auto move = [&](auto& list, auto* item) {
            const auto it = std::find(list.begin(), list.end(), item);
            if (it == list.end()) return false;
            list.erase(it);
            list.insert(toTop ? list.end() : list.begin(), item);
            return true;
        };
        if (windowed ? !move(parent_->winControls_, windowed) : !move(parent_->controls_, this)) return;
    }
    if (windowed && windowed->HandleAllocated()) {
        SetWindowPos(windowed->Handle(), toTop ? HWND_TOP : HwndBottom(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    Invalidate();
}

HDC TControl::GetDeviceContext(HWND& windowHandle) {
    if (!parent_) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    HDC dc = parent_->GetDeviceContext(windowHandle);
    SetViewportOrgEx(dc, left_, top_, nullptr);
    IntersectClipRect(dc, 0, 0, width_, height_);
    return dc;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool value) {
    if (value == MouseCapture()) return;
    SetCaptureControl(value ? this : nullptr);
}

void TControl::WndProc(TMessage& m) {
    if ((m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) || m.Msg == WM_MOUSELEAVE) {
        HandleMouseMessage(m);
        return;
    }
    switch (m.Msg) {
        case CM_MOUSEENTER: CMMouseEnter(m); return;
        case CM_MOUSELEAVE: CMMouseLeave(m); return;
        case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
        case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
        case CM_TEXTCHANGED: CMTextChanged(m); return;
        case CM_FONTCHANGED: CMFontChanged(m); return;
        case CM_COLORCHANGED: CMColorChanged(m); return;
        case CM_PARENTFONTCHANGED: CMParentFontChanged(m); return;
        case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); return;
        case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); return;
        case CM_HINTSHOW: CMHintShow(m); return;
        case CM_CURSORCHANGED: CMCursorChanged(m); return;
        case WM_CONTEXTMENU: WMContextMenu(m); return;
        case WM_CANCELMODE: WMCancelMode(m); return;
        default: DefaultHandler(m); return;
    }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::HandleMouseMessage(TMessage& m) {
    const int x = GET_X_LPARAM(m.LParam);
    const int y = GET_Y_LPARAM(m.LParam);
    const TShiftState shift = MouseKeysToShiftState(m.WParam);
    const bool stdEvents = !(controlStyle_ & csNoStdEvents);
    const auto buttonOf = [](UINT msg) {
        if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK) return mbRight;
        if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK) return mbMiddle;
        return mbLeft;
    };
    switch (m.Msg) {
        case WM_MOUSEMOVE:
            if (stdEvents) MouseMove(shift, x, y);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
            if (m.Msg == WM_LBUTTONDBLCLK) {
                if (controlStyle_ & csDoubleClicks) DblClick();
            } else if (controlStyle_ & csClickEvents) {
                controlState_ |= csClicked;
            }
            if (stdEvents) MouseDown(mbLeft, static_cast<TShiftState>(shift | (m.Msg == WM_LBUTTONDBLCLK ? ssDouble : 0)), x, y);
            break;
        case WM_LBUTTONUP: {
            if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
            const bool clicked = (controlState_ & csClicked) != 0;
            controlState_ &= ~static_cast<TControlState>(csClicked);
            if (clicked && ClientRect().Contains({x, y})) Click();
            if (stdEvents) MouseUp(mbLeft, shift, x, y);
            break;
        }
        case WM_MOUSEWHEEL:
            if (!DoMouseWheel(MouseKeysToShiftState(LOWORD(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), {x, y})) {
                DefaultHandler(m);
            } else {
                m.Result = 1;
            }
            return;
        default:
            if (!IsMouseButtonMessage(m.Msg)) break;
            if (m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK) {
                if (stdEvents) MouseDown(buttonOf(m.Msg), shift, x, y);
            } else if (stdEvents) {
                MouseUp(buttonOf(m.Msg), shift, x, y);
            }
            break;
    }
    DefaultHandler(m);
}

void TControl::Click() { Fire(OnClick, this); }
void TControl::DblClick() { Fire(OnDblClick, this); }
void TControl::MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) { Fire(OnMouseDown, this, button, shift, x, y); }
void TControl::MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) { Fire(OnMouseUp, this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { Fire(OnMouseMove, this, shift, x, y); }

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    return handled;
}

void TControl::Resize() { Fire(OnResize, this); }

void TControl::CMMouseEnter(TMessage&) {
    // Every ancestor hears of it too, told which child passed it on.
    if (parent_) parent_->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage&) {
    if (parent_) parent_->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMVisibleChanged(TMessage&) {
    if (!parent_ || !parent_->HandleAllocated()) return;
    const TRect bounds = BoundsRect();
    InvalidateRect(parent_->Handle(), &bounds, !visible_ || !(controlStyle_ & csOpaque));
}

void TControl::CMTextChanged(TMessage&) {}
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) { ApplyParentFont(); }

void TControl::CMParentColorChanged(TMessage&) { ApplyParentColor(); }

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!parentShowHint_ || !parent_ || parent_->ShowHint() == showHint_) return;
    showHint_ = parent_->ShowHint();
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::CMHintShow(TMessage&) {}

void TControl::CMCursorChanged(TMessage&) {
    // The pointer over this control (or a window-less child of it): ask its window for the shape
    // again, as the next move would.
    HWND under = GetWindowUnderPointer();
    TWinControl* holder = FindControl(under);
    if (!holder || GetCapture()) return;
    const bool over = holder == this ||
                      (holder == parent_ && holder->ControlAtPos(holder->ScreenToClient(GetCursorPos()), false) == this);
    if (!over) return;
    SendMessage(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TControl::SetPopupMenu(TPopupMenu* value) {
    if (value == popupMenu_) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = value;
    if (value) value->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::WMContextMenu(TMessage& m) {
    if (m.Result != 0) return;
    TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (p.X == -1 && p.Y == -1) {
        // From the keyboard: at the control.
        p = ClientToScreen({0, 0});
    } else if (!ClientRect().Contains(ScreenToClient(p))) {
        DefaultHandler(m);
        return;
    }
    TPopupMenu* menu = GetPopupMenu();
    if (!menu || !menu->AutoPopup()) {
        DefaultHandler(m);
        return;
    }
    menu->SetPopupComponent(this);
    menu->Popup(p.X, p.Y);
    m.Result = 1;
}

void TControl::WMCancelMode(TMessage& m) {
    if (MouseCapture()) SetMouseCapture(false);
    DefaultHandler(m);
}

}  // namespace vcl
