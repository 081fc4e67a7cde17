#pragma once
// TWinControl: a control with a window of its own, created when first needed. It holds child
// controls (window-less ones are painted by it, after itself), lays out aligned children, takes
// the keyboard focus, keeps a tab order and runs the keyboard's dialog passes.

#include <functional>
#include <vector>

#include "platform/toolkit/Control.h"
#include "platform/draw/Pen.h"

namespace vcl {

using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
// A typed character: one Unicode code point; setting it to 0 swallows it.
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;

class TCustomForm;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // TabOrder, besides the control's.
    const TStoredProperties& StoredProperties() const override;

    // The window, created (with the parents' windows) on first use.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // The window exists and shows on the screen (it and every parent window visible). A change
    // is told to the control with CM_SHOWINGCHANGED.
    bool Showing() const { return showing_; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    void RecreateWnd();

    // Child controls: window-less ones first (bottom to top), then windowed ones. Inserting or
    // removing one sends CM_CONTROLCHANGE (wParam: the child, lParam: 1 inserted, 0 removed)
    // to this control, after the insertion and before the removal.
    int ControlCount() const { return static_cast<int>(controls_.size() + winControls_.size()); }
    TControl* Controls(int index) const;
    bool ContainsControl(const TControl* control) const;
    // The topmost visible child under a client point (window-less ones only unless asked).
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false) const;

    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    // Windowed children in tab order.
    const std::vector<TWinControl*>& TabList() const { return tabList_; }
    // This control and its descendants in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    // Visible and enabled with all its parents up to its form.
    virtual bool CanFocus() const;
    // Raises EInvalidOperation when the control cannot take the focus.
    virtual void SetFocus();
    bool Focused() const;

    // The brush of Color, which erasing the background fills with.
    TBrush& Brush() { return brush_; }
    HDC GetDeviceContext(HWND& windowHandle) override;

    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TPoint ClientOrigin() const override;
    void SetText(const std::string& value) override;
    void Invalidate() override;
    void Update() override;
    // Lays out the aligned children in the client area.
    void Realign();
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Sends a message to every child until one answers it (non-zero result).
    void Broadcast(TMessage& message);
    // Sends a message to every child.
    void NotifyControls(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Called once the window exists (children's windows included).
    virtual void CreateHandleDone() {}
    // The messages of the control's window arrive here.
    void MainWndProc(TMessage& message);

    // Painting: PaintWindow paints the control itself on a DC; its window-less children are
    // painted after it by PaintControls, in z-order from the bottom, each with the DC's origin
    // moved to it and the clip narrowed to it. first, when given, is the bottom-most to paint.
    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc, TControl* first);
    // Paints on the DC in wParam, or between BeginPaint and EndPaint when there is none.
    void PaintHandler(TMessage& message);
    virtual void AlignControls(TRect& rect);

    virtual void KeyDown(uint16_t& key, TShiftState shift);
    virtual void KeyUp(uint16_t& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    virtual void DoEnter();
    virtual void DoExit();
    bool DoKeyDown(TMessage& message);
    bool DoKeyUp(TMessage& message);
    bool DoKeyPress(TMessage& message);

    virtual void WMPaint(TMessage& message);
    virtual void WMEraseBkgnd(TMessage& message);
    virtual void WMWindowPosChanging(TMessage& message);
    virtual void WMWindowPosChanged(TMessage& message);
    virtual void WMSize(TMessage& message);
    virtual void WMSetFocus(TMessage& message);
    virtual void WMKillFocus(TMessage& message);
    virtual void WMSetCursor(TMessage& message);
    virtual void WMGetDlgCode(TMessage& message);
    virtual void WMNCDestroy(TMessage& message);
    virtual void CNKeyDown(TMessage& message);
    virtual void CNChar(TMessage& message);
    virtual void CNSysChar(TMessage& message);
    virtual void CMDialogKey(TMessage& message);
    virtual void CMDialogChar(TMessage& message);
    virtual void CMChildKey(TMessage& message);
    virtual void CMEnter(TMessage& message);
    virtual void CMExit(TMessage& message);
    virtual void CMFocusChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    void CMParentShowHintChanged(TMessage& message) override;
    void WMContextMenu(TMessage& message) override;

    // The window exists and the control is shown: show the window, create children's windows.
    void UpdateShowing();
    // Removes the focus from this control and its children before they go away or hide.
    void RemoveFocus(bool removing);

private:
    friend class TControl;
    friend class TCustomForm;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void UpdateBoundsFromWindow();
    void ApplyBounds(const TRect& bounds);
    bool IsControlMouseMsg(TMessage& message);
    void AnchorChildren(int dw, int dh);
    void SetShowing(bool value);

    HWND handle_ = nullptr;
    std::vector<TControl*> controls_;      // window-less children, bottom first
    std::vector<TWinControl*> winControls_; // windowed children, bottom first
    std::vector<TWinControl*> tabList_;
    TBrush brush_;
    bool tabStop_ = false;
    bool doubleBuffered_ = false;
    bool aligning_ = false;
    bool creatingHandle_ = false;
    bool showing_ = false;
    int alignedWidth_ = -1;
    int alignedHeight_ = -1;
};

// The form a control sits on (itself for a form), or nullptr.
TCustomForm* GetParentForm(const TControl* control);

}  // namespace vcl
