#pragma once
// TControl: the base of every visual control. Bounds in the parent's client area, visibility,
// enabling, alignment, hint, cursor, font and colour (optionally the parent's), caption text, the
// mouse and click events, and the message dispatch every control goes through (WndProc, with
// virtual handlers for the notifications subclasses usually answer).

#include <cstdint>
#include <functional>
#include <string>

#include "platform/draw/Color.h"
#include "platform/draw/Font.h"
#include "platform/draw/Geometry.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Keys.h"
#include "platform/runtime/Messages.h"
#include "platform/window/Window.h"

namespace vcl {

class TWinControl;
class TPopupMenu;

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;

// Cursor identifiers of the toolkit.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
                         crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                         crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                         crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                         crHandPoint = -21, crSizeAll = -22;
// The shape a cursor identifier shows (crDefault shows the arrow).
TCursorShape CursorShapeOf(TCursor cursor);

enum TMouseButtonKind : uint8_t { mbLeft, mbRight, mbMiddle };

// ControlStyle flags.
enum TControlStyleFlag : uint32_t {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,
    csDesignInteractive = 1u << 2,
    csClickEvents = 1u << 3,
    csFramed = 1u << 4,
    csSetCaption = 1u << 5,
    csOpaque = 1u << 6,         // paints all of its area: no background erase needed
    csDoubleClicks = 1u << 7,
    csFixedWidth = 1u << 8,
    csFixedHeight = 1u << 9,
    csNoDesignVisible = 1u << 10,
    csReplicatable = 1u << 11,
    csNoStdEvents = 1u << 12,
    csDisplayDragImage = 1u << 13,
    csReflector = 1u << 14,
    csActionClient = 1u << 15,
    csMenuEvents = 1u << 16,
    csNeedsBorderPaint = 1u << 17,
    csParentBackground = 1u << 18,
};
using TControlStyle = uint32_t;

// ControlState flags.
enum TControlStateFlag : uint32_t {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csPalette = 1u << 2,
    csReadingState = 1u << 3,
    csAlignmentNeeded = 1u << 4,
    csFocusing = 1u << 5,
    csCreating = 1u << 6,
    csPaintCopy = 1u << 7,
    csCustomPaint = 1u << 8,
    csDestroyingHandle = 1u << 9,
};
using TControlState = uint32_t;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButtonKind Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;

// Raised where a control cannot do what was asked (focusing a hidden control, ...).
class EInvalidOperation : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // Bounds, caption, hint, enabling, visibility, colour, font, cursor and alignment.
    const TStoredProperties& StoredProperties() const override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* value);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual TRect GetClientRect() const { return {0, 0, width_, height_}; }
    TRect ClientRect() const { return GetClientRect(); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
    void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
    virtual void SetClientSize(int width, int height);
    // Screen position of the client area's (0, 0).
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors value);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent visible too.
    bool IsVisibleOnScreen() const;
    // Whether the control takes input; a container may answer for its children (a disabled group
    // box disables what it holds) by overriding it.
    virtual bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);

    // The caption and the text are one string (UTF-8).
    const std::string& Caption() const { return text_; }
    void SetCaption(const std::string& value) { SetText(value); }
    const std::string& Text() const { return text_; }
    virtual void SetText(const std::string& value);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);

    TCursor Cursor() const { return cursor_; }
    // Shown at once when the pointer is over the control.
    void SetCursor(TCursor value);

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& value) { font_.Assign(value); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    // The menu a context-menu request opens (right click, the menu key, Shift+F10): at the
    // pointer, or from the keyboard at the control's top-left. Without one the request goes on to
    // the parent. Cleared when the menu is destroyed.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* value);

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState value) { controlState_ = value; }

    // Schedules a paint of the control's area; the background is not erased for opaque controls.
    virtual void Invalidate();
    // Paints now whatever is invalid.
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    // Top or bottom of the z-order among its siblings of the same kind: window-less controls among
    // window-less ones, windowed controls (and their windows) among windowed ones, forms among
    // top-level windows.
    void BringToFront();
    void SendToBack();

    // A DC for drawing on the control outside a paint (its window's, or for a window-less control
    // the parent's with the origin at the control and the clip narrowed to it); windowHandle
    // receives the window it belongs to, for ReleaseDC.
    virtual HDC GetDeviceContext(HWND& windowHandle);

    // Delivers a message straight to the control's WindowProc and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The message entry point; replace it to watch or filter a control's messages.
    std::function<void(TMessage&)> WindowProc;
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnResize;

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual void Resize();
    // The menu WM_CONTEXTMENU opens; PopupMenu unless a control knows better.
    virtual TPopupMenu* GetPopupMenu() const { return popupMenu_; }
    void Notification(TComponent* component, TOperation operation) override;
    // The font or colour the control shows changed (already stored).
    virtual void FontChanged();
    // Asks the parent to lay out its aligned controls again.
    void RequestAlign();
    void InvalidateArea(const TRect& boundsInParent);

    // Message handlers; each gets the message WndProc received.
    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);
    virtual void CMEnabledChanged(TMessage& message);
    virtual void CMVisibleChanged(TMessage& message);
    virtual void CMTextChanged(TMessage& message);
    virtual void CMFontChanged(TMessage& message);
    virtual void CMColorChanged(TMessage& message);
    virtual void CMParentFontChanged(TMessage& message);
    virtual void CMParentColorChanged(TMessage& message);
    virtual void CMParentShowHintChanged(TMessage& message);
    virtual void CMHintShow(TMessage& message);
    virtual void CMCursorChanged(TMessage& message);
    virtual void WMContextMenu(TMessage& message);
    virtual void WMCancelMode(TMessage& message);
    void HandleMouseMessage(TMessage& message);

    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState controlState_ = 0;

private:
    friend class TWinControl;
    void ApplyParentFont();
    void ApplyParentColor();
    void SetZOrder(bool toTop);

    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TFont font_;
    bool parentFont_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    bool fontApplying_ = false;
    TPopupMenu* popupMenu_ = nullptr;
};

// Shift state from the key flags of a mouse message.
TShiftState MouseKeysToShiftState(WPARAM keys);

// The control that holds the pointer capture (a window-less control is represented by its
// parent's window holding it), or nullptr.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);

// The control behind a window, walking up to the nearest window that belongs to a control.
TWinControl* FindControl(HWND window);

}  // namespace vcl
