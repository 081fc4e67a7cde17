#include "platform/toolkit/Screen.h"

#include <algorithm>

#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/rtl/NeverDestroyed.h"

namespace vcl {

TScreen& Screen() {
    static rtl::NeverDestroyed<TScreen> screen;
    return *screen;
}

TScreen::TScreen() {
    hintFont_.SetColor(clInfoText);
    menuFont_.SetColor(clMenuText);
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }
TRect TScreen::WorkAreaRect() const { return GetWorkArea(); }
int TScreen::MonitorCount() const { return GetSystemMetrics(SM_CMONITORS); }

void TScreen::SetCursor(TCursor value) {
    if (value == cursor_) return;
    cursor_ = value;
    vcl::SetCursor(CursorShapeOf(value));
}

void TScreen::AddForm(TCustomForm* form) {
    if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (activeForm_ == form) {
        activeForm_ = nullptr;
        activeControl_ = nullptr;
    }
}

void TScreen::SetActive(TCustomForm* form, TWinControl* control) {
    activeForm_ = form;
    activeControl_ = control;
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    forms_.insert(forms_.begin(), form);
}

}  // namespace vcl
