#include "controls/button/Button.h"

#include <algorithm>
#include <cmath>

#include "controls/surface/Pixels.h"
#include "controls/surface/Primitives.h"
#include "platform/draw/Gdi.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/DialogControls.h"
#include "platform/toolkit/Form.h"
#include "platform/window/Input.h"

namespace se {

using namespace vcl;

namespace {

constexpr int kModalResults[] = {0, 1, 2, 0, 6, 7, 0, 3, 4, 5, 8};  // by TBitBtnKind

// The pressed look follows the pointer; the click comes after the toolkit's handling.
constexpr TSePressRules kPushRules{.lookFollowsPointer = true};

uint8_t Grey(float lightness, float scale, int offset) {
    return static_cast<uint8_t>(std::lrint(lightness * scale) + offset);
}

}  // namespace

TSeCustomButton::TSeCustomButton(TComponent* AOwner) : TSeCustomPressControl(AOwner, kPushRules) {
    SetBounds(0, 0, 75, 25);
    // The button clicks itself on the release; the toolkit's own click on release is left out.
    controlStyle_ = csCaptureMouse | csSetCaption | csDoubleClicks | csActionClient;
    SetColor(clBtnFace);
    SetPerformance(kspDoubleBuffer);
    SetTransparent(false);
    SetTabStop(true);
    SetHoverRepaint(true);
    glyph_.OnChange = [this](TObject*) { GlyphChanged(); };
}

TSeCustomButton::~TSeCustomButton() { glyph_.OnChange = nullptr; }

namespace {

constexpr TEnumName<TSeButtonState> kButtonStateNames[] = {{"kbsNormal", kbsNormal}, {"kbsPressed", kbsPressed}};

}  // namespace

const TStoredProperties& TSeCustomButton::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeCustomButton>(&TSeCustomPressControl::StoredProperties(), {
        {"Caption", [](auto& b, auto& v) { b.SetCaption(v.WideText()); }},
        {"BlackAndWhiteGlyph", [](auto& b, auto& v) { b.SetBlackAndWhiteGlyph(v.Bool()); }},
        {"State", [](auto& b, auto& v) { b.SetState(v.Enum(kButtonStateNames)); }},
        {"WordWrap", [](auto& b, auto& v) { b.SetWordWrap(v.Bool()); }},
    });
    return table;
}

void TSeCustomButton::SetCaption(std::u16string_view value) {
    if (StoreWideCaption(value)) Invalidate();
}

void TSeCustomButton::SetDefault(bool value) {
    default_ = value;
    // Every button of the form works out again whether it is the one Enter presses.
    if (HandleAllocated()) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
        }
    }
    Invalidate();
}

void TSeCustomButton::SetGlyph(const TBitmap& value) { glyph_.Assign(value); }

void TSeCustomButton::GlyphChanged() {
    const int w = glyph_.Width();
    const int h = glyph_.Height();
    if (h > 0 && w % h == 0) {
        const int frames = w / h;
        numGlyphs_ = frames >= 1 && frames <= 4 ? frames : 1;
    }
    Invalidate();
}

void TSeCustomButton::SetLayout(TButtonLayout value) {
    if (value == layout_) return;
    layout_ = value;
    Invalidate();
}

void TSeCustomButton::SetKind(TBitBtnKind value) {
    if (value == kind_) return;
    if (value != bkCustom) {
        SetDefault(value == bkOK || value == bkYes);
        modalResult_ = kModalResults[value];
        if (const TBitmap* glyph = KindGlyph(value)) SetGlyph(*glyph);
        numGlyphs_ = 2;
    }
    kind_ = value;
    Invalidate();
}

void TSeCustomButton::SetNumGlyphs(TNumGlyphs value) {
    // 0 frames would divide by zero; a strip has at most four.
    value = std::clamp(value, 1, 4);
    if (value == numGlyphs_) return;
    numGlyphs_ = value;
    Invalidate();
}

void TSeCustomButton::SetSpacing(int value) {
    if (value == spacing_) return;
    spacing_ = value;
    Invalidate();
}

void TSeCustomButton::SetBlackAndWhiteGlyph(bool value) {
    if (value == blackAndWhiteGlyph_) return;
    blackAndWhiteGlyph_ = value;
    Invalidate();
}

void TSeCustomButton::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    Invalidate();
}

TSize TSeCustomButton::GlyphSize() const {
    if (glyph_.Empty()) return {0, 0};
    return {glyph_.Width() / numGlyphs_, glyph_.Height()};
}

TSize TSeCustomButton::CaptionExtent() {
    TCanvas& canvas = *Canvas();
    canvas.Font().Assign(PaintFont());
    return canvas.TextExtent(rtl::Utf16ToUtf8(Caption()));
}

void TSeCustomButton::GetContentRect(TRect& r) {
    const TSize glyph = GlyphSize();
    if (wordWrap_) {
        r = {0, 0, Width() - spacing_ - glyph.cx - 10, Height() - spacing_ - glyph.cy - 10};
    } else {
        const TSize text = CaptionExtent();
        r = {0, 0, text.cx, text.cy};
    }
    if (!glyph_.Empty()) {
        if (layout_ == blGlyphTop || layout_ == blGlyphBottom) {
            r.Bottom += glyph.cy + spacing_;
        } else {
            r.Right += glyph.cx + spacing_;
        }
        r.Right = std::max(r.Right, glyph.cx);
        r.Bottom = std::max(r.Bottom, glyph.cy);
    }
    r = r.Offset((CachedWidth() - r.Right) / 2, (CachedHeight() - r.Bottom) / 2);
    if (Pressed()) r = r.Offset(1, 1);
}

void TSeCustomButton::GetCaptionRect(TRect& r) {
    GetContentRect(r);
    if (glyph_.Empty()) return;
    const TSize glyph = GlyphSize();
    switch (layout_) {
        case blGlyphLeft: r.Left += glyph.cx + spacing_; break;
        case blGlyphRight: r.Right -= glyph.cx + spacing_; break;
        case blGlyphTop: r.Top += glyph.cy + spacing_; break;
        case blGlyphBottom: r.Bottom -= glyph.cy + spacing_; break;
    }
}

void TSeCustomButton::GetGlyphRect(TRect& r) {
    GetContentRect(r);
    if (glyph_.Empty()) return;
    const TSize glyph = GlyphSize();
    switch (layout_) {
        case blGlyphLeft: r.Right = r.Left + glyph.cx + spacing_; break;
        case blGlyphRight: r.Left = r.Right - glyph.cx - spacing_; break;
        case blGlyphTop: r.Bottom = r.Top + glyph.cy + spacing_; break;
        case blGlyphBottom: r.Top = r.Bottom - glyph.cy - spacing_; break;
    }
}

void TSeCustomButton::PaintFace() {
    TSeCustomPressControl::PaintFace();
    PaintButtonFace();
    PaintCaption();
    PaintGlyph();
}

void TSeCustomButton::PaintButtonFace() {
    TCanvas& canvas = *Canvas();
    TRect r = GetInnerRect();
    if (HasFocus() || activeDefault_) {
        Draw3DFrame(canvas, r, clBlack, clBlack);
        r = r.Inflate(-1, -1);
    }
    FillRectColor(canvas, r, Color());
    if (!Pressed()) {
        Draw3DFrame(canvas, r, clBtnHighlight, clBlack);
        r = r.Inflate(-1, -1);
        Draw3DFrame(canvas, r, Color(), clBtnShadow);
    } else {
        Draw3DFrame(canvas, r, clBtnShadow, clBtnShadow);
    }
    if (HasFocus()) DrawFocusRectColor(canvas, GetInnerRect().Inflate(-4, -4), clBtnShadow);
}

void TSeCustomButton::PaintCaption() {
    TCanvas& canvas = *Canvas();
    canvas.Font().Assign(PaintFont());
    TRect caption;
    GetCaptionRect(caption);
    TRect t;
    if (wordWrap_) {
        t = {0, 0, RectWidth(caption), CaptionExtent().cy};
    } else {
        const TSize text = CaptionExtent();
        t = {0, 0, text.cx, text.cy};
    }
    const unsigned flags = wordWrap_ ? DT_WORDBREAK : 0u;
    DrawWideText(canvas, Caption(), t, flags | DT_CALCRECT);
    t = t.Offset((RectWidth(caption) - t.Right) / 2, (RectHeight(caption) - t.Bottom) / 2).Offset(caption.Left, caption.Top);
    if (!Enabled()) {
        // Engraved: a highlight copy one pixel down and right, the shadow copy over it.
        canvas.Font().SetColor(clBtnHighlight);
        t = t.Offset(1, 1);
        DrawWideText(canvas, Caption(), t, flags | DT_CENTER);
        t = t.Offset(-1, -1);
        canvas.Font().SetColor(clBtnShadow);
    }
    DrawWideText(canvas, Caption(), t, flags | DT_CENTER);
}

void TSeCustomButton::PaintGlyph() {
    const TSize size = GlyphSize();
    if (glyph_.Empty() || size.cx <= 0) return;
    TRect box;
    GetGlyphRect(box);
    const TRect d = TRect{0, 0, size.cx, size.cy}
                        .Offset((RectWidth(box) - size.cx) / 2, (RectHeight(box) - size.cy) / 2)
                        .Offset(box.Left, box.Top);
    int frame = 0;
    if (numGlyphs_ > 1 && !Enabled()) frame += 1;
    if (numGlyphs_ > 2 && Pressed()) frame += 2;
    // A strip of three has no disabled-and-pressed frame: stay inside the strip.
    frame = std::min(frame, numGlyphs_ - 1);
    const int sourceLeft = frame * size.cx;
    const uint32_t transparent = glyph_.ScanLine(glyph_.Height() - 1)[0] & 0xFFFFFFu;
    const bool greyed = blackAndWhiteGlyph_ && !MouseInside();
    const bool faded = numGlyphs_ == 1 && !Enabled();
    TCanvas& canvas = *Canvas();
    for (int x = 0; x < size.cx; ++x) {
        for (int y = 0; y < size.cy; ++y) {
            uint32_t c = glyph_.ScanLine(y)[sourceLeft + x] & 0xFFFFFFu;
            if (c == transparent) continue;
            float hue = 0, saturation = 0, lightness = 0;
            if (greyed) {
                PixelToHsl(c, hue, saturation, lightness);
                const uint8_t v = Grey(lightness, 255.0f, 0);
                c = MakePixel(v, v, v, 0) & 0xFFFFFFu;
            }
            if (faded) {
                PixelToHsl(c, hue, saturation, lightness);
                const uint8_t v = Grey(lightness, 50.0f, 160);
                c = MakePixel(v, v, v, 0) & 0xFFFFFFu;
            }
            if (c == transparent) continue;
            canvas.SetPixel(d.Left + x, d.Top + y, PixelToColor(c));
        }
    }
}

void TSeCustomButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TSeCustomPressControl::Click();
}

void TSeCustomButton::CMDialogKey(TMessage& m) {
    const bool modifiers = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    const bool enter = m.WParam == VK_RETURN && (activeDefault_ || HasFocus());
    const bool escape = m.WParam == VK_ESCAPE && cancel_;
    if ((enter || escape) && !modifiers && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    TSeCustomPressControl::CMDialogKey(m);
}

void TSeCustomButton::CMDialogChar(TMessage& m) {
    if (IsAcceleratorKey(static_cast<char32_t>(m.WParam)) && CanFocus()) {
        SetFocus();
        Click();
        m.Result = 1;
        return;
    }
    TSeCustomPressControl::CMDialogChar(m);
}

void TSeCustomButton::CMFocusChanged(TMessage& m) {
    auto* focused = reinterpret_cast<TControl*>(m.LParam);
    const bool isButton = dynamic_cast<TSeCustomButton*>(focused) || dynamic_cast<TDialogButton*>(focused);
    const bool value = isButton ? false : default_;
    if (value != activeDefault_) {
        activeDefault_ = value;
        Invalidate();
    }
    TSeCustomPressControl::CMFocusChanged(m);
}

const TStoredProperties& TSeSkinButton::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeSkinButton>(&TSeCustomButton::StoredProperties(), {
        {"ShowCaption", [](auto& b, auto& v) { b.SetShowCaption(v.Bool()); }},
        {"ShowGlyph", [](auto& b, auto& v) { b.SetShowGlyph(v.Bool()); }},
    });
    return table;
}

void TSeSkinButton::Loaded() {
    TSeSkinAware::Loaded();
    Invalidate();
}

}  // namespace se
