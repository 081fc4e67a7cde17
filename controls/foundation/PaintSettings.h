#pragma once
// The paint settings both foundation bases share, added to a toolkit class the way TSeSkinAware
// adds the skin hook: the buffer mode (Performance), Transparent, Blending with its compose buffer,
// the paint's copy of the font (PaintFont) and pointer tracking (MouseInside, OnMouseEnter,
// OnMouseLeave, an optional repaint on enter and leave). TSeCustomControl (windowed) and
// TSeGraphicControl (window-less) derive from it.

#include "controls/foundation/Blending.h"
#include "controls/foundation/Types.h"
#include "controls/surface/Bitmap.h"
#include "platform/runtime/StoredProperties.h"
#include "platform/toolkit/Control.h"

namespace se {

template <typename Base>
class TSePaintSettings : public Base {
public:
    explicit TSePaintSettings(vcl::TComponent* AOwner) : Base(AOwner) { paintFont_.Assign(this->Font()); }
    ~TSePaintSettings() override { blending_.OnChange = nullptr; }

    // Performance and Transparent, besides the toolkit's.
    const vcl::TStoredProperties& StoredProperties() const override {
        static const auto table = vcl::TStoredProperties::Of<TSePaintSettings>(&Base::StoredProperties(), {
            {"Performance", [](auto& c, auto& v) { c.SetPerformance(v.Enum(kPerformanceNames)); }},
            {"Transparent", [](auto& c, auto& v) { c.SetTransparent(v.Bool()); }},
        });
        return table;
    }

    TSePerformance Performance() const { return performance_; }
    // Ignored while Blending is on and the value is kspNoBuffer.
    void SetPerformance(TSePerformance value) {
        if (value == performance_ || (blending_.Enabled() && value == kspNoBuffer)) return;
        performance_ = value;
        this->Invalidate();
    }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) {
        if (value == transparent_) return;
        transparent_ = value;
        this->Invalidate();
    }
    TSeBlending& Blending() { return blending_; }
    const TSeBlending& Blending() const { return blending_; }
    // Copies Enabled and Value; enabling it on a kspNoBuffer control makes it kspDoubleBuffer.
    void SetBlending(const TSeBlending& value) {
        blending_.Assign(value);
        // A control that listens to its Blending has heard of the change through the assignment.
        if (!blending_.OnChange) BlendingChanged();
    }

    bool MouseInside() const { return mouseInside_; }
    // The font of the current paint (a copy of Font taken when it started).
    vcl::TFont& PaintFont() { return paintFont_; }

    vcl::TNotifyEvent OnMouseEnter;
    vcl::TNotifyEvent OnMouseLeave;

protected:
    // From now on a change made through Blending() itself applies and repaints too.
    void ListenToBlending() {
        blending_.OnChange = [this](vcl::TObject*) { BlendingChanged(); };
    }

    virtual void MouseEnter() {
        mouseInside_ = true;
        if (hoverRepaint_) this->Invalidate();
        vcl::Fire(OnMouseEnter, this);
    }
    virtual void MouseLeave() {
        mouseInside_ = false;
        if (hoverRepaint_) this->Invalidate();
        vcl::Fire(OnMouseLeave, this);
    }
    void CMMouseEnter(vcl::TMessage& m) override {
        // The toolkit passes it on to the parent first, so every ancestor of the set hears of it too.
        Base::CMMouseEnter(m);
        MouseEnter();
    }
    void CMMouseLeave(vcl::TMessage& m) override {
        Base::CMMouseLeave(m);
        MouseLeave();
    }
    // MouseEnter and MouseLeave repaint (a hover look).
    void SetHoverRepaint(bool value) { hoverRepaint_ = value; }

    TseBitmap& BlendBuffer() { return blendBuffer_; }

private:
    void BlendingChanged() {
        // Blending needs a buffer to compose in.
        if (blending_.Enabled() && performance_ == kspNoBuffer) SetPerformance(kspDoubleBuffer);
        if (!this->HasState(vcl::csLoading)) this->Invalidate();
    }

    TSePerformance performance_ = kspNoBuffer;
    bool transparent_ = false;
    TSeBlending blending_;
    TseBitmap blendBuffer_;
    vcl::TFont paintFont_;
    bool mouseInside_ = false;
    bool hoverRepaint_ = false;
};

}  // namespace se
