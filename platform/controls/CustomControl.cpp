#include "platform/controls/CustomControl.h"

namespace vcl {

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        WMPaint(m);
        return;
    }
    TControl::WndProc(m);
}

void TGraphicControl::WMPaint(TMessage& m) {
    // The parent hands over its target, already narrowed to this control.
    const auto* target = reinterpret_cast<const TPaintTarget*>(m.WParam);
    if (!target) return;
    paintTarget_ = target;
    struct Reset {
        const TPaintTarget*& slot;
        ~Reset() { slot = nullptr; }
    } reset{paintTarget_};
    Paint();
}

void TGraphicControl::Paint() { FillRect(ClientRect(), Color()); }

void TGraphicControl::FillRect(const TRect& rect, TColor color) const {
    if (paintTarget_) paintTarget_->Fill(rect, RgbToPixel(ColorToRGB(color)));
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomControl::PaintWindow(const TPaintTarget& target) {
    paintTarget_ = &target;
    struct Reset {
        const TPaintTarget*& slot;
        ~Reset() { slot = nullptr; }
    } reset{paintTarget_};
    Paint();
}

void TCustomControl::Paint() { FillRect(ClientRect(), Color()); }

void TCustomControl::FillRect(const TRect& rect, TColor color) const {
    if (paintTarget_) paintTarget_->Fill(rect, RgbToPixel(ColorToRGB(color)));
}

}  // namespace vcl
