#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "platform/draw/Gdi.h"

namespace vcl {
namespace {

using testing_support::EventLog;
using testing_support::ProbeControl;
using testing_support::ProbeGraphic;
using PaintLayout = testing_support::ControlsTest;

uint32_t Pixel(TColor c) { return RgbToPixel(ColorToRGB(c)); }

// Counts the pixels the control's paints could touch.
class AreaControl : public TCustomControl {
public:
    explicit AreaControl(TWinControl* parent) : TCustomControl(parent) { SetParent(parent); }
    long long LastArea = -1;
    int Erases = 0;
    int Paints = 0;
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_ERASEBKGND) ++Erases;
        TCustomControl::WndProc(m);
    }

protected:
    void Paint() override {
        ++Paints;
        LastArea = 0;
        const TRect client = ClientRect();
        for (int y = client.Top; y < client.Bottom; ++y) {
            for (int x = client.Left; x < client.Right; ++x) LastArea += PtVisible(Canvas()->Handle(), x, y);
        }
        TCustomControl::Paint();
    }
};

TEST_F(PaintLayout, ControlsFillTheirColourWindowlessOnesAfterTheirParent) {
    TForm* form = NewForm({0, 0, 200, 150});
    form->SetColor(clSilver);
    auto* panel = new AreaControl(form);
    panel->SetBounds(10, 10, 100, 100);
    panel->SetColor(clBtnFace);
    auto* label = new ProbeGraphic(panel, "label", &log_, {20, 20, 60, 33});
    label->SetColor(clAqua);
    auto* edit = new ProbeControl(panel, "edit", &log_, {20, 50, 80, 71});
    edit->SetColor(clWindow);
    Pump();
    const PixelSection shot = screen_.Screenshot(form->Handle());
    struct Probe {
        int x, y;
        TColor color;
    };
    const Probe probes[] = {{5, 5, clSilver},   {15, 15, clBtnFace}, {35, 35, clAqua}, {69, 42, clAqua},
                            {70, 43, clBtnFace}, {35, 65, clWindow}, {199, 149, clSilver}};
    for (const Probe& p : probes) EXPECT_EQ(shot.At(p.x, p.y), Pixel(p.color)) << p.x << "," << p.y;
    // The panel's own paint had its windowed child cut out (the opaque label is painted over).
    EXPECT_EQ(panel->LastArea, 100 * 100 - 60 * 21);
}

TEST_F(PaintLayout, OpaqueControlsInvalidateWithoutErasing) {
    TForm* form = NewForm({0, 0, 200, 150});
    auto* plain = new AreaControl(form);
    plain->SetBounds(0, 0, 50, 50);
    auto* opaque = new AreaControl(form);
    opaque->SetBounds(60, 0, 50, 50);
    opaque->SetControlStyle(opaque->ControlStyle() | csOpaque);
    Pump();
    plain->Erases = opaque->Erases = 0;
    plain->Invalidate();
    opaque->Invalidate();
    Pump();
    EXPECT_EQ(plain->Erases, 1);
    EXPECT_EQ(opaque->Erases, 0);
    EXPECT_EQ(opaque->Paints, 2);
    // Repaint paints at once.
    opaque->Repaint();
    EXPECT_EQ(opaque->Paints, 3);
}

TEST_F(PaintLayout, AlignedControlsFollowTheFormAndOthersStayPut) {
    TForm* form = NewForm({0, 0, 572, 601});
    auto* panel = new ProbeControl(form, "panel", &log_, {8, 312, 569, 537});
    auto* status = new ProbeControl(form, "status", &log_, {0, 579, 572, 601});
    status->SetAlign(alBottom);
    auto* top = new ProbeControl(form, "top", &log_, {0, 0, 10, 20});
    top->SetAlign(alTop);
    auto* fill = new ProbeControl(form, "fill", &log_, {0, 0, 10, 10});
    fill->SetAlign(alClient);
    auto* stretch = new ProbeControl(form, "stretch", &log_, {10, 100, 110, 120});
    stretch->SetAnchors(akLeft | akTop | akRight);
    EXPECT_EQ(status->BoundsRect(), (TRect{0, 579, 572, 601}));
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 572, 20}));
    EXPECT_EQ(fill->BoundsRect(), (TRect{0, 20, 572, 579}));
    // The user makes the window larger: only the aligned (and right-anchored) controls follow.
    screen_.ResizeNativeWindow(form->Handle(), 700, 650);
    Pump();
    EXPECT_EQ(form->ClientWidth(), 700);
    EXPECT_EQ(status->BoundsRect(), (TRect{0, 628, 700, 650}));
    EXPECT_EQ(fill->BoundsRect(), (TRect{0, 20, 700, 628}));
    EXPECT_EQ(panel->BoundsRect(), (TRect{8, 312, 569, 537}));
    EXPECT_EQ(stretch->BoundsRect(), (TRect{10, 100, 238, 120}));
    // Hiding an aligned control gives its strip to the others.
    status->SetVisible(false);
    EXPECT_EQ(fill->BoundsRect(), (TRect{0, 20, 700, 650}));
}

TEST_F(PaintLayout, ChildrenFollowTheParentFontAndColourUntilGivenTheirOwn) {
    TForm* form = NewForm();
    form->Font().SetName("MS Sans Serif");
    auto* group = new ProbeControl(form, "group", &log_);
    auto* label = new ProbeGraphic(group, "label", &log_, {0, 0, 10, 10});
    form->Font().SetHeight(-13);
    EXPECT_EQ(group->Font().Height(), -13);
    EXPECT_EQ(label->Font().Height(), -13);
    EXPECT_TRUE(label->ParentFont());
    label->Font().SetStyle(fsBold);  // its own font from now on
    EXPECT_FALSE(label->ParentFont());
    form->Font().SetHeight(-11);
    EXPECT_EQ(group->Font().Height(), -11);
    EXPECT_EQ(label->Font().Height(), -13);
    label->SetParentFont(true);
    EXPECT_EQ(label->Font().Height(), -11);
    EXPECT_EQ(label->Font().Style(), 0);
    // Colours likewise.
    form->SetColor(clSilver);
    EXPECT_EQ(group->Color(), clSilver);
    label->SetColor(clAqua);
    form->SetColor(clBtnFace);
    EXPECT_EQ(group->Color(), clBtnFace);
    EXPECT_EQ(label->Color(), clAqua);
    EXPECT_FALSE(label->ParentColor());
}

TEST_F(PaintLayout, TextChangesAreNotifiedOnlyWhenTheTextChanges) {
    TForm* form = NewForm();
    auto* edit = new ProbeControl(form, "edit", &log_);
    log_.clear();
    edit->SetText("01 03");
    edit->SetText("01 03");
    edit->SetCaption("01 03 00");
    EXPECT_EQ(log_, (EventLog{"edit:text changed", "edit:text changed"}));
    EXPECT_EQ(GetWindowText(edit->Handle()), "01 03 00");
    form->SetCaption("Modbus RTU 通讯调试程式");
    EXPECT_EQ(screen_.NativeOf(form->Handle())->Title(), "Modbus RTU 通讯调试程式");
}

TEST_F(PaintLayout, WindowPosChangingReportsTheNewSizeToTheControl) {
    TForm* form = NewForm();
    struct Sized : TCustomControl {
        explicit Sized(TWinControl* parent) : TCustomControl(parent) { SetParent(parent); }
        std::vector<std::pair<int, int>> Sizes;
        void WndProc(TMessage& m) override {
            if (m.Msg == WM_WINDOWPOSCHANGING) {
                const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
                if (!(pos->flags & SWP_NOSIZE)) Sizes.emplace_back(pos->cx, pos->cy);
            }
            TCustomControl::WndProc(m);
        }
    };
    auto* c = new Sized(form);
    c->SetBounds(5, 5, 100, 30);
    c->SetBounds(5, 5, 121, 21);
    EXPECT_EQ(c->Sizes, (std::vector<std::pair<int, int>>{{100, 30}, {121, 21}}));
}

TEST_F(PaintLayout, EnablingNotifiesAndDisablesTheWindow) {
    TForm* form = NewForm();
    struct Watch : TCustomControl {
        explicit Watch(TWinControl* parent) : TCustomControl(parent) { SetParent(parent); }
        int Changes = 0;
        void WndProc(TMessage& m) override {
            if (m.Msg == CM_ENABLEDCHANGED) ++Changes;
            TCustomControl::WndProc(m);
        }
    };
    auto* c = new Watch(form);
    c->SetEnabled(false);
    c->SetEnabled(false);
    EXPECT_EQ(c->Changes, 1);
    EXPECT_FALSE(IsWindowEnabled(c->Handle()));
    c->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(c->Handle()));
}

TEST_F(PaintLayout, OwnershipAndParentageAreIndependent) {
    TForm* form = NewForm();
    auto* group = new ProbeControl(form, "group", &log_);
    // Owned by the form, parented to the group: the group destroys it.
    auto* inner = new ProbeControl(form, "inner", &log_);
    inner->SetParent(group);
    EXPECT_EQ(form->ComponentCount(), 2);
    delete group;
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(form->FindComponent("inner"), nullptr);
}

}  // namespace
}  // namespace vcl
