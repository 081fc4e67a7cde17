#pragma once
// TSeCustomScrollBar: the control set's window-less scroll bar. Two arrow buttons, a track and a
// proportional thumb keep an integer Position in [Min, Max]. Button and page presses repeat on a
// timer at the keyboard's delay and rate; the thumb follows a drag. Every user action is offered
// to OnScroll first (which may change the position to apply), every change of Position fires
// OnChange. The owner can switch on automatic line stepping up or down (the list box does while a
// selection is dragged outside it). TSeSkinScrollBar adds the skin hook and has no border.

#include <cstdint>
#include <functional>

#include "controls/foundation/CustomControl.h"
#include "controls/foundation/GraphicControl.h"
#include "controls/foundation/HostedScrollBar.h"
#include "controls/foundation/SkinHook.h"
#include "platform/runtime/Timer.h"

namespace se {

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
enum TSeScrollCode : uint8_t {
    kscLineUp, kscLineDown, kscPageUp, kscPageDown, kscPosition, kscTrack, kscTop, kscBottom, kscEndScroll
};
using TSeScrollEvent = std::function<void(vcl::TObject* Sender, TSeScrollCode ScrollCode, int& ScrollPos)>;
// 1 .. 32767.
using TScrollBarInc = int16_t;

// Rounds to the nearest integer, halves to even.
int RoundHalfEven(double value);

class TSeCustomScrollBar : public TSeGraphicControl, public ISeHostedScrollBar {
public:
    explicit TSeCustomScrollBar(vcl::TComponent* AOwner);
    ~TSeCustomScrollBar() override;

    vcl::TControl& BarControl() override { return *this; }
    void HostIn(bool vertical, TScrollRelay relay) override;

    int Position() const { return position_; }
    void SetPosition(int value);
    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int value);
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool value);
    TScrollBarInc LargeChange() const { return largeChange_; }
    void SetLargeChange(TScrollBarInc value) { largeChange_ = value; }
    TScrollBarInc SmallChange() const { return smallChange_; }
    void SetSmallChange(TScrollBarInc value) { smallChange_ = value; }

    // A vertical bar's width or a horizontal bar's height becomes the thumb metric plus the border.
    void UpdateThickness();
    void SetAutoScrollUp(bool on);
    void SetAutoScrollDown(bool on);
    bool AutoScrollUp() const { return autoScrollUp_; }
    bool AutoScrollDown() const { return autoScrollDown_; }

    // Between a position and a pixel along the bar's axis.
    int PositionToPixel(int p);
    int PixelToPosition(int x);

    bool IsDragging() const { return dragOffset_ >= 0; }
    bool UpButtonPressed() const { return upPressed_ && upHot_; }
    bool DownButtonPressed() const { return downPressed_ && downHot_; }
    bool PageUpPressed() const { return pageUpPressed_ && pageUpHot_; }
    bool PageDownPressed() const { return pageDownPressed_ && pageDownHot_; }
    bool ThumbVisible();
    bool ThumbHot() const { return thumbHot_; }
    // The repeat timer, once a press or automatic scrolling needed it.
    vcl::TTimer* RepeatTimer() const { return repeatTimer_; }


    // Geometry (control coordinates), recomputed on every call.
    virtual int GetButtonSize();
    virtual int GetThumbSize();
    virtual void GetUpButtonRect(vcl::TRect& rect);
    virtual void GetDownButtonRect(vcl::TRect& rect);
    virtual void GetThumbRect(vcl::TRect& rect);
    virtual void GetTrackRect(vcl::TRect& rect);
    virtual void GetPageUpRect(vcl::TRect& rect);
    virtual void GetPageDownRect(vcl::TRect& rect);
    virtual bool IsOnUpButton(int x, int y);
    virtual bool IsOnDownButton(int x, int y);
    virtual bool IsOnThumb(int x, int y);
    virtual bool IsOnPageUp(int x, int y);
    virtual bool IsOnPageDown(int x, int y);

    vcl::TNotifyEvent OnChange;
    TSeScrollEvent OnScroll;

protected:
    virtual void PaintUpButton();
    virtual void PaintDownButton();
    virtual void PaintPageUp();
    virtual void PaintPageDown();
    virtual void PaintThumb();
    virtual void PaintTrack();
    virtual void PaintFrame();
    virtual void Change();
    virtual void Scroll(TSeScrollCode code, int& pos);

    void PaintFace() override;
    void MouseDown(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void MouseMove(vcl::TShiftState shift, int x, int y) override;
    void MouseUp(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void CMEnabledChanged(vcl::TMessage& message) override;

private:
    // The line and page steps by virtual-key code.
    void ScrollStep(uint16_t key);
    // Offers pos to OnScroll, then applies what it left.
    void ScrollAction(TSeScrollCode code, int pos);
    void StartRepeat(bool immediate);
    void RepeatTick();
    int TrackLength();
    int TrackStart();
    bool Vertical() const { return kind_ == sbVertical; }

    int mouseX_ = -1;
    int mouseY_ = -1;
    vcl::TTimer* repeatTimer_ = nullptr;
    int dragOffset_ = -1;
    bool thumbHot_ = false;
    bool upHot_ = false;
    bool downHot_ = false;
    bool pageUpHot_ = false;
    bool pageDownHot_ = false;
    bool upPressed_ = false;
    bool downPressed_ = false;
    bool pageUpPressed_ = false;
    bool pageDownPressed_ = false;
    int position_ = 0;
    int min_ = 0;
    int borderWidth_ = 1;
    int max_ = 100;
    int pageSize_ = 0;
    TScrollBarKind kind_ = sbHorizontal;
    bool showButtons_ = true;
    TScrollBarInc largeChange_ = 1;
    TScrollBarInc smallChange_ = 1;
    bool autoScrollUp_ = false;
    bool autoScrollDown_ = false;
};

class TSeSkinScrollBar : public TSeSkinAware<TSeCustomScrollBar> {
public:
    explicit TSeSkinScrollBar(vcl::TComponent* AOwner) : TSeSkinAware(AOwner, "ScrollBar") { SetBorderWidth(0); }
};

// A control of the set that hosts scroll bars (ScrollBars): the foundation asks CreateScrollBar for
// them, and only this unit can make one.
template <class Base>
class TSeScrollBarHost : public Base {
public:
    using Base::Base;

protected:
    ISeHostedScrollBar* CreateScrollBar() override { return new TSeSkinScrollBar(this); }
};

}  // namespace se
