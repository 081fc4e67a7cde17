#pragma once
// The status bar: a strip (normally aligned to the bottom of a form) divided into panels. A panel
// shows a wide text and optionally an image of Images, or is painted by OnDrawPanel, or hosts a
// child control. Panels have a preferred and a maximum width, a view priority (which panels stay
// when space is short) and a stretch priority (which panel takes spare space); see PanelLayout.h.
// A size grip is drawn when the bar sits in the bottom-right corner of a form in its normal state.
//
// A panel change (text, alignment, image ...) repaints that panel at once; a layout change (widths,
// priorities, hosted control) lays the panels out again and invalidates the whole bar.

#include <functional>
#include <memory>
#include <string>

#include "controls/foundation/CustomControl.h"
#include "controls/foundation/SkinHook.h"
#include "controls/statusbar/PanelLayout.h"
#include "platform/runtime/Collection.h"
#include "platform/toolkit/Control.h"
#include "platform/toolkit/ImageList.h"

namespace se {

class TSeCustomStatusBar;
class TSeStatusPanels;

enum TSeStatusPanelstyle : uint8_t { psText, psOwnerDraw };

class TSeStatusPanel : public vcl::TCollectionItem {
public:
    explicit TSeStatusPanel(vcl::TCollection* collection);
    ~TSeStatusPanel() override;

    const std::u16string& Text() const { return text_; }
    void SetText(const std::u16string& value);
    int Width() const { return span_.Width; }
    void SetWidth(int value);
    int MaxWidth() const { return span_.MaxWidth; }
    void SetMaxWidth(int value);
    TSePanelAlignment Alignment() const { return alignment_; }
    void SetAlignment(TSePanelAlignment value);
    TSeStatusPanelstyle Style() const { return style_; }
    void SetStyle(TSeStatusPanelstyle value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool ShowImage() const { return showImage_; }
    void SetShowImage(bool value);
    TSeStatusGliphLayout Layout() const { return layout_; }
    void SetLayout(TSeStatusGliphLayout value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool Framed() const { return framed_; }
    void SetFramed(bool value);
    uint8_t ViewPriority() const { return span_.ViewPriority; }
    void SetViewPriority(uint8_t value);
    uint8_t StretchPriority() const { return span_.StretchPriority; }
    void SetStretchPriority(uint8_t value);
    // The control hosted in the panel, not owned. Raises EInvalidOperation for the bar or one of
    // its parents.
    vcl::TControl* Control() const { return control_; }
    void SetControl(vcl::TControl* value);

    // Results of the last layout.
    int LayoutWidth() const { return span_.LayoutWidth; }
    bool Shown() const { return span_.Shown; }
    int SpanLeft() const { return span_.SpanLeft; }
    int SpanRight() const { return span_.SpanRight; }
    int EffectiveWidth() const { return span_.EffectiveWidth(); }
    TSePanelSpan& Span() { return span_; }
    const TSePanelSpan& Span() const { return span_; }

    // Text, or "[ name ]" of the hosted control, or the collection's default.
    std::string DisplayName() const override;
    // From another panel: every property through its setter, then the control of the same name
    // among the components of this bar's owner.
    void Assign(const vcl::TPersistent& source) override;

    // Gives the hosted control the panel's content rectangle, visible while the panel is shown.
    void PlaceControl();
    TSeCustomStatusBar* StatusBar() const;

private:
    friend class TSeCustomStatusBar;
    void PanelChanged();
    void LayoutChanged();

    TSePanelSpan span_;
    std::u16string text_;
    TSePanelAlignment alignment_ = kpaLeftJustify;
    TSeStatusPanelstyle style_ = psText;
    int imageIndex_ = -1;
    int margin_ = 2;
    int spacing_ = 4;
    TSeStatusGliphLayout layout_ = sglGlyphLeft;
    bool showImage_ = true;
    bool framed_ = true;
    vcl::TControl* control_ = nullptr;
};

// Makes a panel in the collection; OnCreatePanelClass may replace it to make a subclass.
using TSeStatusPanelClass = std::function<TSeStatusPanel*(vcl::TCollection*)>;

class TSeStatusPanels : public vcl::TCollection {
public:
    explicit TSeStatusPanels(TSeCustomStatusBar* statusBar);

    // A panel of the class the status bar chooses.
    TSeStatusPanel* Add() { return static_cast<TSeStatusPanel*>(vcl::TCollection::Add()); }
    TSeStatusPanel* Items(int index) const { return static_cast<TSeStatusPanel*>(vcl::TCollection::Items(index)); }
    TSeCustomStatusBar* StatusBar() const { return statusBar_; }

protected:
    void Update(vcl::TCollectionItem* item) override;

private:
    TSeCustomStatusBar* statusBar_;
};

using TPanelNotifyEvent = std::function<void(TSeCustomStatusBar* StatusBar, TSeStatusPanel* Panel)>;
using TDrawPanelEvent = std::function<void(TSeCustomStatusBar* StatusBar, TSeStatusPanel* Panel, const vcl::TRect& Rect)>;
using TSeCreatePanelClassEvent = std::function<void(TSeCustomStatusBar* Sender, TSeStatusPanelClass& PanelClass)>;

class TSeCustomStatusBar : public TSeCustomControl {
public:
    explicit TSeCustomStatusBar(vcl::TComponent* AOwner);
    ~TSeCustomStatusBar() override;

    // Panels (each with its Width and ImageIndex), besides the foundation's.
    const vcl::TStoredProperties& StoredProperties() const override;

    TSeStatusPanels& Panels() { return *panels_; }
    void SetPanels(const TSeStatusPanels& value);
    vcl::TCustomImageList* Images() const { return images_; }
    void SetImages(vcl::TCustomImageList* value);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);
    // The panel under the pointer at the last left-button press; cleared only when that panel goes.
    TSeStatusPanel* PressedPanel() const { return pressedPanel_; }

    void LayoutPanels();
    // The panel under a client point, by the effective widths of all panels in order.
    TSeStatusPanel* PanelAt(vcl::TPoint point);
    void PaintPanels();
    bool PanelHasImage(const TSeStatusPanel& panel) const;
    // From the first panel's left to the last one's right, inside the inner rectangle.
    vcl::TRect PanelsRect() const;
    bool SizeGripVisible() const;

    virtual vcl::TRect GetPanelRect(int index) const;
    virtual vcl::TRect GetPanelContentRect(const TSeStatusPanel& panel) const;
    virtual vcl::TRect GetSizeGripRect() const;
    virtual vcl::TRect GetPanelImageRect(const TSeStatusPanel& panel);
    virtual vcl::TRect GetPanelTextRect(const TSeStatusPanel& panel);
    virtual vcl::TSize GetPanelImageSize(const TSeStatusPanel& panel) const;
    virtual vcl::TSize GetPanelTextSize(const TSeStatusPanel& panel);

    void Loaded() override;

    TPanelNotifyEvent OnPanelClick;
    TPanelNotifyEvent OnPanelDblClick;
    TDrawPanelEvent OnDrawPanel;
    TSeCreatePanelClassEvent OnCreatePanelClass;

protected:
    friend class TSeStatusPanel;
    friend class TSeStatusPanels;

    // Adds a panel to Panels.
    virtual TSeStatusPanel* CreatePanel();
    virtual void PaintPanelImage(const TSeStatusPanel& panel, const vcl::TRect& rect);
    virtual void PaintPanelText(const TSeStatusPanel& panel, const vcl::TRect& rect);
    virtual void PaintPanel(TSeStatusPanel& panel, const vcl::TRect& rect, bool isLast);
    virtual void PaintSizeGrip();
    virtual void PaintPanelAt(int index);
    virtual void PaintBackground();
    void PaintFace() override;
    void PaintBorder() override;

    virtual void DoPanelClick(TSeStatusPanel* panel);
    virtual void DoPanelDblClick(TSeStatusPanel* panel);
    virtual void DoDrawPanel(TSeStatusPanel* panel, const vcl::TRect& rect);

    void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
    void Resize() override;
    void DblClick() override;
    void AlignControls(vcl::TRect& rect) override;
    void MouseDown(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void MouseMove(vcl::TShiftState shift, int x, int y) override;
    void MouseUp(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void WndProc(vcl::TMessage& message) override;
    void CMFontChanged(vcl::TMessage& message) override;

private:
    // A panel's own look changed: repaint it now (only scheduled while the bar has no window).
    void PanelChanged(TSeStatusPanel& panel);
    void LayoutChanged();
    void PanelGone(TSeStatusPanel& panel);
    // A new panel in collection, of the class OnCreatePanelClass chooses.
    TSeStatusPanel* NewPanel(vcl::TCollection* collection);
    TSeStatusPanel* PanelHosting(const vcl::TComponent* control) const;

    std::unique_ptr<TSeStatusPanels> panels_;
    TSeStatusPanel* pressedPanel_ = nullptr;
    vcl::TCustomImageList* images_ = nullptr;
    bool sizeGrip_ = true;
};

class TSeSkinStatusBar : public TSeSkinAware<TSeCustomStatusBar> {
public:
    explicit TSeSkinStatusBar(vcl::TComponent* AOwner) : TSeSkinAware(AOwner, "StatusBar") {}
};

}  // namespace se
