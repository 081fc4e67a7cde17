#pragma once
// The control set's label: a caption of wide text painted on the parent, optionally wrapped,
// aligned horizontally and vertically, with the "&" accelerator, an engraved disabled look, a
// transparent or filled background and a size that follows the text. TSeSkinLabel is the class
// forms place; without a skin host it paints exactly as TSeCustomLabel.

#include <string>
#include <string_view>

#include "controls/foundation/GraphicControl.h"
#include "controls/foundation/SkinHook.h"
#include "controls/foundation/Types.h"
#include "platform/toolkit/WinControl.h"

namespace se {

class TSeCustomLabel : public TSeGraphicControl {
public:
    explicit TSeCustomLabel(vcl::TComponent* AOwner);
    ~TSeCustomLabel() override;

    // The wide Caption, besides the foundation's.
    const vcl::TStoredProperties& StoredProperties() const override;

    const std::u16string& Caption() const { return caption_; }
    // Resizes (AutoSize) and repaints at once.
    void SetCaption(std::u16string_view value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    // The control its accelerator focuses; forgotten when it is destroyed.
    vcl::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(vcl::TWinControl* value);

    void Loaded() override;
    void WndProc(vcl::TMessage& message) override;

protected:
    void PaintFace() override;
    void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
    // The text to draw.
    virtual std::u16string GetDrawnText() const { return caption_; }
    // Takes the size of the caption when AutoSize is on (never while a stored form is read).
    virtual void FitToCaption();
    // Draws (or with DT_CALCRECT measures, setting rect) the caption on the canvas.
    virtual void DrawCaption(vcl::TRect& rect, unsigned flags);
    void CMTextChanged(vcl::TMessage& message) override;
    void CMFontChanged(vcl::TMessage& message) override;

private:
    void DrawCaptionOn(vcl::TCanvas& canvas, vcl::TRect& rect, unsigned flags);
    void CMDialogChar(vcl::TMessage& message);

    vcl::TWinControl* focusControl_ = nullptr;
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    std::u16string caption_;
};

class TSeSkinLabel : public TSeSkinAware<TSeCustomLabel> {
public:
    explicit TSeSkinLabel(vcl::TComponent* AOwner) : TSeSkinAware(AOwner, "Label") {}
};

}  // namespace se
