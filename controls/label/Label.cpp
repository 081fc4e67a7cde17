#include "controls/label/Label.h"

#include "controls/surface/Primitives.h"
#include "platform/draw/Gdi.h"
#include "platform/toolkit/Caption.h"
#include "platform/toolkit/ScreenCanvas.h"

namespace se {

using namespace vcl;

TSeCustomLabel::TSeCustomLabel(TComponent* AOwner) : TSeGraphicControl(AOwner) {
    SetBounds(0, 0, 65, 17);
    SetTransparent(true);
    controlStyle_ |= csOpaque | csReplicatable;
}

TSeCustomLabel::~TSeCustomLabel() { SetFocusControl(nullptr); }

const TStoredProperties& TSeCustomLabel::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeCustomLabel>(&TSeGraphicControl::StoredProperties(), {
        {"Caption", [](auto& l, auto& v) { l.SetCaption(v.WideText()); }},
    });
    return table;
}

void TSeCustomLabel::SetCaption(std::u16string_view value) {
    if (value == caption_) return;
    caption_ = value;
    FitToCaption();
    Repaint();
}

void TSeCustomLabel::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

void TSeCustomLabel::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    FitToCaption();
}

void TSeCustomLabel::SetLayout(TTextLayout value) {
    if (value == layout_) return;
    layout_ = value;
    Invalidate();
}

void TSeCustomLabel::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    FitToCaption();
    Invalidate();
}

void TSeCustomLabel::SetShowAccelChar(bool value) {
    if (value == showAccelChar_) return;
    showAccelChar_ = value;
    Invalidate();
}

void TSeCustomLabel::SetFocusControl(TWinControl* value) {
    if (value == focusControl_) return;
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (focusControl_) focusControl_->FreeNotification(this);
}

void TSeCustomLabel::Notification(TComponent* component, TOperation operation) {
    TSeGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TSeCustomLabel::Loaded() {
    TSeGraphicControl::Loaded();
    FitToCaption();
}

void TSeCustomLabel::DrawCaption(TRect& rect, unsigned flags) { DrawCaptionOn(*Canvas(), rect, flags); }

void TSeCustomLabel::DrawCaptionOn(TCanvas& canvas, TRect& rect, unsigned flags) {
    if (!Parent()) return;
    std::u16string text = GetDrawnText();
    // An empty label still measures one line; a lone "&" would otherwise measure nothing.
    if (((flags & DT_CALCRECT) && text.empty()) || (showAccelChar_ && text == u"&")) text += u' ';
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    canvas.Font().Assign(Font());
    if (!Enabled()) {
        // Engraved: a highlight copy one pixel down and right, the shadow copy over it.
        rect = rect.Offset(1, 1);
        canvas.Font().SetColor(clBtnHighlight);
        DrawWideText(canvas, text, rect, flags);
        rect = rect.Offset(-1, -1);
        canvas.Font().SetColor(clBtnShadow);
    }
    DrawWideText(canvas, text, rect, flags);
}

void TSeCustomLabel::PaintFace() {
    TSeGraphicControl::PaintFace();
    TRect rect = ClientRect();
    unsigned format = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0u);
    format |= alignment_ == taRightJustify ? DT_RIGHT : alignment_ == taCenter ? DT_CENTER : DT_LEFT;
    if (layout_ != tlTop) {
        TRect measured = rect;
        DrawCaption(measured, format | DT_CALCRECT);
        const int free = rect.Height() - measured.Bottom;
        rect = rect.Offset(0, layout_ == tlBottom ? free : free / 2);
    }
    DrawCaption(rect, format);
}

void TSeCustomLabel::FitToCaption() {
    if (HasState(csLoading | csReading) || !autoSize_) return;
    TRect rect = ClientRect();
    TScreenCanvas measuring;
    DrawCaptionOn(measuring.Canvas(), rect, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0u));
    int left = Left();
    // A right-aligned label keeps its right edge.
    if (alignment_ == taRightJustify) left += Width() - rect.Right;
    SetBounds(left, Top(), rect.Right, rect.Bottom);
}

void TSeCustomLabel::WndProc(TMessage& m) {
    if (m.Msg == CM_DIALOGCHAR) {
        CMDialogChar(m);
        if (m.Result != 0) return;
    }
    TSeGraphicControl::WndProc(m);
}

void TSeCustomLabel::CMDialogChar(TMessage& m) {
    if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<char32_t>(m.WParam), caption_) &&
        focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
    }
}

void TSeCustomLabel::CMTextChanged(TMessage& m) {
    TSeGraphicControl::CMTextChanged(m);
    caption_ = WideCaption(Text());
    FitToCaption();
    Invalidate();
}

void TSeCustomLabel::CMFontChanged(TMessage& m) {
    TSeGraphicControl::CMFontChanged(m);
    FitToCaption();
}

}  // namespace se
