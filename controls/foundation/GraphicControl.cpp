#include "controls/foundation/GraphicControl.h"

#include "controls/surface/Primitives.h"

namespace se {

using namespace vcl;

TSeGraphicControl::TSeGraphicControl(TComponent* AOwner) : TSePaintSettings(AOwner) {
    SetBounds(0, 0, 100, 30);
    controlStyle_ |= csOpaque;
    SetColor(clBtnFace);
    // Unlike the windowed controls it does not listen to its Blending: a change made through
    // Blending() itself neither switches the buffer nor repaints; SetBlending does both.
}

TSeGraphicControl::~TSeGraphicControl() = default;

void TSeGraphicControl::CopyParentBackground(HDC dc) {
    if (!Parent() || !Parent()->HandleAllocated()) return;
    se::CopyParentBackground(*this, dc, Performance() != kspNoBuffer, Width(), Height(), false);
}

void TSeGraphicControl::Loaded() {
    TSePaintSettings::Loaded();
    Invalidate();
}

void TSeGraphicControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    TCanvas& canvas = *Canvas();
    TSeCanvasLock lock(canvas);
    TSePaintBuffer buffer(canvas, Performance(), Width(), Height(), false);
    PaintFont().Assign(Font());
    if (Transparent()) CopyParentBackground(canvas.Handle());
    PaintFace();
    if (Blending().Enabled() && buffer.Buffered()) {
        buffer.Blend(BlendBuffer(), Blending().Value(), [this](HDC dc) { CopyParentBackground(dc); });
    }
    buffer.Output();
}

void TSeGraphicControl::PaintFace() {
    if (!Transparent()) FillRectColor(*Canvas(), ClientRect(), Color());
}

}  // namespace se
