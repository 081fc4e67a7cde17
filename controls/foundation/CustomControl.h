#pragma once
// TSeCustomControl: the windowed base of the control set (buttons, group boxes, the radio group,
// the status bar, the edit field, combo box and list box). The contract for a control built on it:
//
// - Paint it through the pipeline, never by overriding Paint: override PaintFace (the content
//   area, GetInnerRect) and, rarely, PaintBorder. The pipeline picks the buffer (Performance),
//   copies Font to PaintFont (draw text with PaintFont), paints the parent's background first when
//   Transparent, draws the border and bevel ring with the content area clipped out, then calls
//   PaintFace, blends when Blending is on, and shows the result. Sizes come from
//   CachedWidth/CachedHeight.
// - Repaint with Invalidate after a change; the base already repaints on Transparent,
//   Performance, Blending, the bevel and border properties, focus changes, enabling, font, colour
//   and theme changes. Set HoverRepaint for a hover look: MouseEnter/MouseLeave then repaint.
// - HasFocus and MouseInside follow the window system; FocusEnter/FocusLeave and
//   MouseEnter/MouseLeave are the places to react.
// - A caption is wide text (WideCaption); the toolkit's text written through SetText lands there
//   too (CM_TEXTCHANGED). IsAcceleratorKey tells whether a typed character is the caption's "&"
//   accelerator. Controls that are pressed build on TSeCustomPressControl (PressControl.h).
// - A child that asks for its background (Transparent, or Blending) gets this control's border
//   and face painted into its buffer: PaintFace must draw relative to the DC's origin only.
// - ScrollBars hosts scroll bars along the bottom and right of the inner rectangle (made by
//   CreateScrollBar once the window exists); their actions arrive as WM_HSCROLL/WM_VSCROLL and
//   GetClientRect leaves them out.

#include <string>
#include <string_view>

#include "controls/foundation/HostedScrollBar.h"
#include "controls/foundation/PaintBuffer.h"
#include "controls/foundation/PaintSettings.h"
#include "controls/foundation/Types.h"
#include "platform/toolkit/Caption.h"
#include "platform/toolkit/CustomControl.h"

namespace se {

class TSeCustomControl : public TSePaintSettings<vcl::TCustomControl> {
public:
    explicit TSeCustomControl(vcl::TComponent* AOwner);
    ~TSeCustomControl() override;

    // The bevel and border ring, besides the paint settings.
    const vcl::TStoredProperties& StoredProperties() const override;

    bool HasFocus() const { return hasFocus_; }

    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TSeBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TSeBevelCut value);
    TSeBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TSeBevelCut value);
    TSeBevelSides BevelSides() const { return bevelSides_; }
    void SetBevelSides(TSeBevelSides value);
    TSeBevelKind BevelKind() const { return bevelKind_; }
    void SetBevelKind(TSeBevelKind value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    bool ThemedBorder() const { return themedBorder_; }
    void SetThemedBorder(bool value) { themedBorder_ = value; }
    TSeScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TSeScrollStyle value);
    // The hosted bars, or null.
    vcl::TControl* HorzScrollBar() const { return horzScrollBar_ ? &horzScrollBar_->BarControl() : nullptr; }
    vcl::TControl* VertScrollBar() const { return vertScrollBar_ ? &vertScrollBar_->BarControl() : nullptr; }

    // The size painting and layout use: the last SetBounds, or the size the window reported.
    int CachedWidth() const { return cachedWidth_; }
    int CachedHeight() const { return cachedHeight_; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The inner rectangle less the hosted scroll bars.
    vcl::TRect GetClientRect() const override;
    // Inside the border lines and the bevels.
    virtual vcl::TRect GetInnerRect() const;
    // Paints the parent's background into dc so that the parent's pixel at this control lands on
    // dc's pixel (0, 0).
    void CopyParentBackground(vcl::HDC dc);

    void WndProc(vcl::TMessage& message) override;

protected:
    void Paint() override;
    // The content area. Base: fill GetInnerRect with Color unless Transparent.
    virtual void PaintFace();
    // The ring between the outer rectangle and GetInnerRect: bevels, then BorderWidth frames.
    virtual void PaintBorder();
    // A new scroll bar owned by this control, or null when it cannot host one. The foundation has
    // no bar of its own to make (the scroll-bar unit builds on it): TSeScrollBarHost answers.
    virtual ISeHostedScrollBar* CreateScrollBar() { return nullptr; }
    // Thickness of hosted scroll bars.
    virtual int GetScrollBarSize();
    // A bevel or border property changed (after storing it).
    virtual void BorderChanged() {}

    virtual void FocusEnter();
    virtual void FocusLeave();

    void CMEnter(vcl::TMessage& message) override;
    void CMExit(vcl::TMessage& message) override;
    void CMTextChanged(vcl::TMessage& message) override;
    // Paints this control into a child's background request; answers 1 to every erase.
    void WMEraseBkgnd(vcl::TMessage& message) override;
    void WMWindowPosChanging(vcl::TMessage& message) override;
    void CreateParams(vcl::TCreateParams& params) override;
    void CreateWnd() override;
    void Loaded() override;

    // The wide caption of the controls that show one.
    const std::u16string& WideCaption() const { return caption_; }
    // Stores the caption; false (nothing stored) when it already was that text.
    bool StoreWideCaption(std::u16string_view value);
    bool IsAcceleratorKey(char32_t key) const { return vcl::IsAccel(key, caption_); }


private:
    void BorderPropertyChanged();
    void PaintRingAndFace(vcl::TCanvas& canvas);
    // PaintFace, clipped to the client rectangle when both bars are hosted.
    void PaintFaceInClient(vcl::TCanvas& canvas, const vcl::TRect& client);
    // Makes and removes hosted bars to match ScrollBars, then lays them out.
    void UpdateScrollBars();
    void LayoutScrollBars();
    void DestroyScrollBar(ISeHostedScrollBar*& bar);

    bool hasFocus_ = false;
    TSeScrollStyle scrollBars_ = kssNone;
    ISeHostedScrollBar* horzScrollBar_ = nullptr;
    ISeHostedScrollBar* vertScrollBar_ = nullptr;
    int borderWidth_ = 0;
    TSeBevelCut bevelInner_ = kbvLowered;
    TSeBevelCut bevelOuter_ = kbvLowered;
    TSeBevelSides bevelSides_ = kAllBevelSides;
    TSeBevelKind bevelKind_ = kbkNone;
    int bevelWidth_ = 0;
    bool themedBorder_ = true;
    int cachedWidth_ = 0;
    int cachedHeight_ = 0;
    std::u16string caption_;
};

}  // namespace se
