#pragma once
// TScreen: what the application knows about the screen and its forms: the size, the work area, the
// forms in z-order of activation, the active form and control, and a cursor that overrides every
// control's own (Cursor = crHourGlass during a long job).

#include <vector>

#include "platform/toolkit/Control.h"

namespace vcl {

class TCustomForm;
class TWinControl;

class TScreen {
public:
    TScreen();

    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int MonitorCount() const;

    // The font hints show in: the default font in the info text colour.
    TFont& HintFont() { return hintFont_; }
    // The font menus show in: the default font in the menu text colour.
    TFont& MenuFont() { return menuFont_; }

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActive(TCustomForm* form, TWinControl* control);

    TFont hintFont_;
    TFont menuFont_;
    TCursor cursor_ = crDefault;
    TCustomForm* activeForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    std::vector<TCustomForm*> forms_;  // most recently active first
};

TScreen& Screen();

}  // namespace vcl
