#include "platform/toolkit/CustomControl.h"

namespace vcl {

namespace {

void FillClient(TCanvas& canvas, const TRect& client, TColor color) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(client);
}

// Points a control canvas at a DC for one paint (locked meanwhile) and back at nothing after.
class TCanvasPaintScope {
public:
    TCanvasPaintScope(TControlCanvas& canvas, HDC dc, const TFont& font);
    ~TCanvasPaintScope();
    TCanvasPaintScope(const TCanvasPaintScope&) = delete;
    TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

private:
    TControlCanvas& canvas_;
};

TCanvasPaintScope::TCanvasPaintScope(TControlCanvas& canvas, HDC dc, const TFont& font) : canvas_(canvas) {
    canvas_.Lock();
    canvas_.SetHandle(dc);
    // A paint may have changed the canvas font; every paint starts from the control's.
    canvas_.Font().Assign(font);
}

TCanvasPaintScope::~TCanvasPaintScope() {
    canvas_.SetHandle(nullptr);
    canvas_.Unlock();
}

}  // namespace

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), canvas_(std::make_unique<TControlCanvas>()) {
    canvas_->SetControl(this);
    canvas_->Font().Assign(Font());
}

TGraphicControl::~TGraphicControl() { canvas_->SetControl(nullptr); }

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        WMPaint(m);
        return;
    }
    TControl::WndProc(m);
}

void TGraphicControl::WMPaint(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc) return;
    TCanvasPaintScope scope(*canvas_, dc, Font());
    Paint();
}

void TGraphicControl::Paint() { FillClient(*canvas_, ClientRect(), Color()); }

void TGraphicControl::CMFontChanged(TMessage& m) {
    canvas_->Font().Assign(Font());
    TControl::CMFontChanged(m);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>()) {
    canvas_->SetControl(this);
    canvas_->Font().Assign(Font());
}

// The canvas gives its DC back while the window still exists.
TCustomControl::~TCustomControl() { canvas_->SetControl(nullptr); }

void TCustomControl::PaintWindow(HDC dc) {
    TCanvasPaintScope scope(*canvas_, dc, Font());
    Paint();
}

void TCustomControl::Paint() { FillClient(*canvas_, ClientRect(), Color()); }

void TCustomControl::CMFontChanged(TMessage& m) {
    canvas_->Font().Assign(Font());
    TWinControl::CMFontChanged(m);
}

}  // namespace vcl
