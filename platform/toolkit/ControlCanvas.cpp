#include "platform/toolkit/ControlCanvas.h"

#include <algorithm>
#include <vector>

#include "platform/toolkit/Control.h"
#include "platform/rtl/NeverDestroyed.h"

namespace vcl {

namespace {

// Canvases holding a DC they got on demand.
std::vector<TControlCanvas*>& Holders() {
    static rtl::NeverDestroyed<std::vector<TControlCanvas*>> holders;
    return *holders;
}

}  // namespace

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* value) {
    if (value == control_) return;
    FreeHandle();
    control_ = value;
}

void TControlCanvas::CreateHandle() {
    if (!control_) return;
    if (!deviceContext_) {
        deviceContext_ = control_->GetDeviceContext(windowHandle_);
        if (!deviceContext_) return;
        Holders().push_back(this);
    }
    SetHandle(deviceContext_);
}

void TControlCanvas::FreeHandle() {
    if (!deviceContext_) return;
    SetHandle(nullptr);
    ReleaseDC(windowHandle_, deviceContext_);
    deviceContext_ = nullptr;
    windowHandle_ = nullptr;
    auto& holders = Holders();
    holders.erase(std::remove(holders.begin(), holders.end(), this), holders.end());
}

void FreeDeviceContexts() {
    // Copy: freeing changes the list.
    for (TControlCanvas* canvas : std::vector<TControlCanvas*>(Holders())) {
        if (!canvas->TryLock()) continue;
        canvas->FreeHandle();
        canvas->Unlock();
    }
}

int HeldDeviceContexts() { return static_cast<int>(Holders().size()); }

}  // namespace vcl
