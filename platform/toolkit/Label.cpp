#include "platform/toolkit/Label.h"

#include "platform/draw/Gdi.h"
#include "platform/runtime/StoredProperties.h"
#include "platform/toolkit/Caption.h"

namespace vcl {

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    controlStyle_ |= csOpaque;
    SetBounds(0, 0, 65, 17);
}

TCustomLabel::~TCustomLabel() = default;

const TStoredProperties& TCustomLabel::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TCustomLabel>(&TGraphicControl::StoredProperties(), {
        {"AutoSize", [](auto& l, auto& v) { l.SetAutoSize(v.Bool()); }},
    });
    return table;
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    // A transparent label leaves its background to the parent.
    if (value) {
        controlStyle_ &= ~static_cast<TControlStyle>(csOpaque);
    } else {
        controlStyle_ |= csOpaque;
    }
    InvalidateArea(BoundsRect());
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (value == showAccelChar_) return;
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (value == layout_) return;
    layout_ = value;
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (value == focusControl_) return;
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = value;
    if (value) FreeNotification(value);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

unsigned TCustomLabel::TextFormat() const {
    static constexpr unsigned kAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    unsigned format = DT_EXPANDTABS | kAlignments[alignment_];
    if (wordWrap_) format |= DT_WORDBREAK;
    if (!showAccelChar_) format |= DT_NOPREFIX;
    return format;
}

void TCustomLabel::DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags) const {
    std::string text = Caption();
    // An empty caption still takes a line.
    if (text.empty() || (showAccelChar_ && text == "&")) text += " ";
    const std::u16string wide = WideCaption(text);
    const int count = static_cast<int>(wide.size());
    canvas.Font().Assign(Font());
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    if ((flags & DT_CALCRECT) || Enabled()) {
        SetTextColor(dc, ColorToRGB(Font().Color()));
        DrawTextW(dc, wide.c_str(), count, &rect, flags);
        return;
    }
    // Engraved: a highlight one pixel down and right, the shadow over it.
    TRect lower = rect.Offset(1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextW(dc, wide.c_str(), count, &lower, flags);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
    DrawTextW(dc, wide.c_str(), count, &rect, flags);
}

void TCustomLabel::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    if (!transparent_) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    TRect rect = client;
    if (layout_ != tlTop) {
        TRect measured = client;
        DoDrawText(canvas, measured, TextFormat() | DT_CALCRECT);
        const int offset = client.Height() - measured.Height();
        rect.Top += layout_ == tlCenter ? offset / 2 : offset;
    }
    DoDrawText(canvas, rect, TextFormat());
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || HasState(csLoading)) return;
    // Measured on a DC of its own: the label may have no parent yet.
    HDC dc = CreateCompatibleDC(nullptr);
    TCanvas measure;
    measure.SetHandle(dc);
    TRect rect = ClientRect();
    DoDrawText(measure, rect, TextFormat() | DT_CALCRECT);
    measure.SetHandle(nullptr);
    DeleteDC(dc);
    int left = Left();
    if (alignment_ == taRightJustify) left += Width() - rect.Right;
    SetBounds(left, Top(), rect.Right, rect.Bottom);
}

void TCustomLabel::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CM_TEXTCHANGED:
            Invalidate();
            AdjustBounds();
            return;
        case CM_FONTCHANGED:
            TGraphicControl::WndProc(m);
            AdjustBounds();
            return;
        case CM_DIALOGCHAR:
            if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<char32_t>(m.WParam), Caption()) &&
                focusControl_->CanFocus()) {
                focusControl_->SetFocus();
                m.Result = 1;
                return;
            }
            break;
        default:
            break;
    }
    TGraphicControl::WndProc(m);
}

TLabel::TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}

}  // namespace vcl
