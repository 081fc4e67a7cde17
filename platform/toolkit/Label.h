#pragma once
// TLabel: plain text on the parent's colour (or on nothing when Transparent), aligned and
// optionally word-wrapped, that sizes itself to its caption when AutoSize is on. "&" marks an
// accelerator (unless ShowAccelChar is off): typing it (with Alt, or alone in a dialog) focuses
// FocusControl. A disabled label shows its text engraved.

#include <cstdint>

#include "platform/toolkit/CustomControl.h"

namespace vcl {

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    ~TCustomLabel() override;

    // AutoSize, besides the control's.
    const TStoredProperties& StoredProperties() const override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);

    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    // Sizes the label to its caption (keeping the width when wrapping, the right edge when
    // right-aligned).
    virtual void AdjustBounds();
    // Draws the caption into rect, or with DT_CALCRECT measures it there.
    void DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags) const;

private:
    unsigned TextFormat() const;

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TTextLayout layout_ = tlTop;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner);
};

}  // namespace vcl
