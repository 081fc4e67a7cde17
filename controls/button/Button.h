#pragma once
// The control set's push button: its own face, caption and optional glyph, the pressed look that
// follows the mouse and the space bar, the form's default (Enter) and cancel (Escape) handling,
// its accelerator, and the click that hands ModalResult to the form. TSeSkinButton is the class
// forms place; without a skin host it paints exactly as TSeCustomButton.

#include <string>
#include <string_view>

#include "controls/foundation/PressControl.h"
#include "controls/foundation/SkinHook.h"
#include "platform/draw/Graphic.h"

namespace se {

enum TSeButtonState : uint8_t { kbsNormal, kbsPressed };
enum TBitBtnKind : uint8_t { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// 1..4 frames in a glyph strip.
using TNumGlyphs = int;

class TSeCustomButton : public TSeCustomPressControl {
public:
    explicit TSeCustomButton(vcl::TComponent* AOwner);
    ~TSeCustomButton() override;

    // The wide Caption, State and the glyph and caption settings, besides the foundation's.
    const vcl::TStoredProperties& StoredProperties() const override;

    const std::u16string& Caption() const { return WideCaption(); }
    void SetCaption(std::u16string_view value);
    // The button is the one Enter presses while no other button has the focus.
    bool ActiveDefault() const { return activeDefault_; }
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    // A strip of NumGlyphs equal frames: normal, disabled, pressed, (down).
    vcl::TBitmap& Glyph() { return glyph_; }
    const vcl::TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const vcl::TBitmap& value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind value);
    TNumGlyphs NumGlyphs() const { return numGlyphs_; }
    // Clamped to 1..4.
    void SetNumGlyphs(TNumGlyphs value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    // The pressed look; a stored kbsPressed shows until a press or a release resets it.
    TSeButtonState State() const { return Pressed() ? kbsPressed : kbsNormal; }
    void SetState(TSeButtonState value) { StorePressed(value == kbsPressed); }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    bool BlackAndWhiteGlyph() const { return blackAndWhiteGlyph_; }
    void SetBlackAndWhiteGlyph(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // One frame of the glyph; (0, 0) without a glyph.
    vcl::TSize GlyphSize() const;

protected:
    // Caption plus glyph, centred in the control (one pixel down and right while pressed).
    virtual void GetContentRect(vcl::TRect& rect);
    virtual void GetCaptionRect(vcl::TRect& rect);
    // The glyph's box, Spacing included; the glyph is centred in it.
    virtual void GetGlyphRect(vcl::TRect& rect);
    virtual void PaintButtonFace();
    virtual void PaintGlyph();
    virtual void PaintCaption();
    void PaintFace() override;

    void Click() override;
    // A completed press clicks.
    void Activate() override { Click(); }

private:
    void GlyphChanged();
    void CMDialogKey(vcl::TMessage& message) override;
    void CMDialogChar(vcl::TMessage& message) override;
    void CMFocusChanged(vcl::TMessage& message) override;
    vcl::TSize CaptionExtent();

    bool activeDefault_ = false;
    bool default_ = false;
    vcl::TBitmap glyph_;
    TButtonLayout layout_ = blGlyphLeft;
    TBitBtnKind kind_ = bkCustom;
    TNumGlyphs numGlyphs_ = 1;
    int spacing_ = 4;
    int modalResult_ = 0;
    bool blackAndWhiteGlyph_ = false;
    bool cancel_ = false;
    bool wordWrap_ = false;
};

class TSeSkinButton : public TSeSkinAware<TSeCustomButton> {
public:
    explicit TSeSkinButton(vcl::TComponent* AOwner) : TSeSkinAware(AOwner, "Button") {}

    // ShowGlyph and ShowCaption, besides the button's.
    const vcl::TStoredProperties& StoredProperties() const override;

    // Only a skin draws without glyph or caption; storing them changes nothing here.
    bool ShowGlyph() const { return showGlyph_; }
    void SetShowGlyph(bool value) { showGlyph_ = value; }
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value) { showCaption_ = value; }

    void Loaded() override;

private:
    bool showGlyph_ = true;
    bool showCaption_ = true;
};

// The glyph of a kind: 32 x 16, the normal picture on the left and an engraved grey copy on the
// right, on teal (the bottom-left pixel, drawn as transparent). Loaded once; null for bkCustom.
const vcl::TBitmap* KindGlyph(TBitBtnKind kind);

}  // namespace se
