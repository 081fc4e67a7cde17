#include "controls/foundation/GraphicControl.h"

#include "controls/surface/Primitives.h"

namespace se {

using namespace vcl;

TSeGraphicControl::TSeGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 100, 30);
    controlStyle_ |= csOpaque;
    SetColor(clBtnFace);
    paintFont_.Assign(Font());
}

TSeGraphicControl::~TSeGraphicControl() = default;

const TStoredProperties& TSeGraphicControl::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeGraphicControl>(&TGraphicControl::StoredProperties(), {
        {"Performance", [](auto& c, auto& v) { c.SetPerformance(v.Enum(kPerformanceNames)); }},
        {"Transparent", [](auto& c, auto& v) { c.SetTransparent(v.Bool()); }},
    });
    return table;
}

void TSeGraphicControl::SetPerformance(TSePerformance value) {
    if (value == performance_ || (blending_.Enabled() && value == kspNoBuffer)) return;
    performance_ = value;
    Invalidate();
}

void TSeGraphicControl::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    Invalidate();
}

void TSeGraphicControl::SetBlending(const TSeBlending& value) {
    blending_.Assign(value);
    if (blending_.Enabled() && performance_ == kspNoBuffer) performance_ = kspDoubleBuffer;
    if (!HasState(csLoading)) Invalidate();
}

void TSeGraphicControl::CopyParentBackground(HDC dc) {
    if (!Parent() || !Parent()->HandleAllocated()) return;
    se::CopyParentBackground(*this, dc, performance_ != kspNoBuffer, Width(), Height(), false);
}

void TSeGraphicControl::Loaded() {
    TGraphicControl::Loaded();
    Invalidate();
}

void TSeGraphicControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    TCanvas& canvas = *Canvas();
    TSeCanvasLock lock(canvas);
    TSePaintBuffer buffer(canvas, performance_, Width(), Height(), false);
    paintFont_.Assign(Font());
    if (transparent_) CopyParentBackground(canvas.Handle());
    PaintFace();
    if (blending_.Enabled() && buffer.Buffered()) {
        buffer.Blend(BlendBuffer(), blending_.Value(), [this](HDC dc) { CopyParentBackground(dc); });
    }
    buffer.Output();
}

void TSeGraphicControl::PaintFace() {
    if (!transparent_) FillRectColor(*Canvas(), ClientRect(), Color());
}

void TSeGraphicControl::CMMouseEnter(TMessage& m) {
    TGraphicControl::CMMouseEnter(m);
    MouseEnter();
}

void TSeGraphicControl::CMMouseLeave(TMessage& m) {
    TGraphicControl::CMMouseLeave(m);
    MouseLeave();
}

void TSeGraphicControl::MouseEnter() {
    mouseInside_ = true;
    Fire(OnMouseEnter, this);
}

void TSeGraphicControl::MouseLeave() {
    mouseInside_ = false;
    Fire(OnMouseLeave, this);
}

}  // namespace se
