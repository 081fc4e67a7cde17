// The foundation of the control set: the paint pipeline in its three buffer modes, transparency
// through the background request, the border and bevel ring, blending, pointer and focus
// tracking and the property setters.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FoundationFixture.h"
#include "controls/surface/SharedBuffer.h"
#include "platform/draw/Gdi.h"

namespace se::testing {
namespace {

using vcl::testing_support::Differences;
using vcl::testing_support::Mismatches;
using vcl::testing_support::PixelOf;

class Foundation : public vcl::testing_support::GuiTest {
protected:
    PixelSection Shot(TForm* form) { return screen_.Screenshot(form->Handle()); }
    // Repaints everything and returns what the form shows.
    PixelSection Repainted(TForm* form) {
        InvalidateRect(form->Handle(), nullptr, true);
        RedrawWindow(form->Handle(), nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        Pump();
        return Shot(form);
    }
    int Colours(const PixelSection& shot, const TRect& area) {
        std::vector<uint32_t> seen;
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                const uint32_t p = shot.At(x, y) & 0xFFFFFFu;
                if (std::find(seen.begin(), seen.end(), p) == seen.end()) seen.push_back(p);
            }
        }
        return static_cast<int>(seen.size());
    }
};

struct Scene {
    const char* name;
    // Builds the controls on the form; returns the one whose Performance varies and its area.
    std::function<std::pair<TControl*, TRect>(TForm*)> build;
};

void SetMode(TControl* control, TSePerformance mode) {
    if (auto* windowed = dynamic_cast<TSeCustomControl*>(control)) windowed->SetPerformance(mode);
    if (auto* graphic = dynamic_cast<TSeGraphicControl*>(control)) graphic->SetPerformance(mode);
}

TEST_F(Foundation, EveryPerformanceModePaintsTheSamePixels) {
    const Scene scenes[] = {
        {"an opaque windowed control with a bevel ring and text",
         [](TForm* form) {
             auto* c = new PatternControl(form, {20, 20, 140, 60});
             c->SetBevelKind(kbkSingle);
             c->SetBevelWidth(1);
             c->SetBorderWidth(3);
             c->Pattern = true;
             c->Text = u"Velmo 串口";
             return std::pair<TControl*, TRect>{c, {20, 20, 140, 60}};
         }},
        {"a transparent windowed control on a patterned parent",
         [](TForm* form) {
             auto* parent = new PatternControl(form, {10, 10, 210, 130});
             parent->Pattern = true;
             auto* c = new PatternControl(parent, {17, 13, 117, 53});
             c->SetTransparent(true);
             c->SetBevelOuter(kbvRaised);
             c->SetBevelInner(kbvNone);
             c->SetBevelWidth(2);
             c->Text = u"Transparent";
             return std::pair<TControl*, TRect>{c, {27, 23, 127, 63}};
         }},
        {"an opaque window-less control",
         [](TForm* form) {
             auto* c = new PatternGraphic(form, {30, 40, 130, 70});
             c->Pattern = true;
             c->Text = u"Label";
             return std::pair<TControl*, TRect>{c, {30, 40, 130, 70}};
         }},
        {"a transparent window-less control on a patterned parent",
         [](TForm* form) {
             auto* parent = new PatternControl(form, {10, 10, 210, 130});
             parent->Pattern = true;
             auto* c = new PatternGraphic(parent, {31, 19, 121, 44});
             c->SetTransparent(true);
             c->Text = u"Label";
             return std::pair<TControl*, TRect>{c, {41, 29, 131, 54}};
         }},
    };
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        TForm* form = NewForm({0, 0, 240, 160});
        form->SetColor(clTeal);
        const auto [control, area] = scene.build(form);
        SetMode(control, kspNoBuffer);
        const PixelSection reference = Repainted(form);
        EXPECT_GT(Colours(reference, area), 3);  // something worth comparing was painted
        for (TSePerformance mode : {kspSharedBuffer, kspDoubleBuffer}) {
            SCOPED_TRACE(ModeName(mode));
            // Hidden first, so a paint that draws nothing cannot pass for the reference.
            control->Hide();
            Repainted(form);
            SetMode(control, mode);
            control->Show();
            const PixelSection shot = Repainted(form);
            EXPECT_EQ(Differences(reference, shot, {0, 0, 240, 160}), 0);
        }
        delete form;
    }
}

TEST_F(Foundation, ATransparentControlShowsItsParentsPixelsAtItsOwnPlace) {
    struct Case {
        const char* name;
        bool windowed;
        bool transparentParent;
    };
    const Case cases[] = {
        {"windowed child, opaque parent", true, false},
        {"window-less child, opaque parent", false, false},
        {"windowed child, transparent parent on the form", true, true},
        {"window-less child, transparent parent on the form", false, true},
    };
    for (const Case& c : cases) {
        for (TSePerformance mode : kAllModes) {
            SCOPED_TRACE(std::string(c.name) + ", " + ModeName(mode));
            TForm* form = NewForm({0, 0, 240, 160});
            form->SetColor(clTeal);
            auto* parent = new PatternControl(form, {10, 10, 210, 130});
            parent->Pattern = true;
            parent->SetTransparent(c.transparentParent);
            parent->SetPerformance(mode);
            TControl* child = nullptr;
            if (c.windowed) {
                auto* w = new PatternControl(parent, {37, 23, 97, 63});
                w->SetTransparent(true);
                w->SetPerformance(mode);
                child = w;
            } else {
                auto* g = new PatternGraphic(parent, {37, 23, 97, 63});
                g->SetTransparent(true);
                g->SetPerformance(mode);
                child = g;
            }
            child->Hide();
            const PixelSection without = Repainted(form);
            // Red first, so a transparent paint that draws nothing shows.
            child->Show();
            if (auto* w = dynamic_cast<PatternControl*>(child)) w->SetTransparent(false), w->SetColor(clRed);
            if (auto* g = dynamic_cast<PatternGraphic*>(child)) g->SetTransparent(false), g->SetColor(clRed);
            EXPECT_EQ(Mismatches(Repainted(form), {47, 33, 107, 73}, PixelOf(clRed)), 0);
            if (auto* w = dynamic_cast<PatternControl*>(child)) w->SetTransparent(true);
            if (auto* g = dynamic_cast<PatternGraphic*>(child)) g->SetTransparent(true);
            const PixelSection with = Repainted(form);
            const TRect area{47, 33, 107, 73};
            // The parent's pattern (and, through a transparent parent, the form's colour) runs on
            // under the child without a seam.
            EXPECT_EQ(Differences(without, with, area), 0);
            EXPECT_GT(Colours(with, area), 3);
            // Through a transparent parent the form's colour shows between the lines.
            const int teal = area.Width() * area.Height() - Mismatches(with, area, PixelOf(clTeal));
            EXPECT_EQ(teal > 0, c.transparentParent);
            delete form;
        }
    }
}

struct RingCase {
    const char* name;
    std::function<void(TSeCustomControl&)> configure;
    TRect inner;  // expected for a 60 x 30 control
    // From the outside in: the colour of the left column (x = ring index, middle row), of the
    // top row, of the right column and of the bottom row.
    struct Ring {
        TColor left, top, right, bottom;
    };
    std::vector<Ring> rings;
};

TEST_F(Foundation, TheBorderRingHasItsColoursInItsOrder) {
    const TColor own = clYellow;  // the control's Color: the border lines
    const RingCase cases[] = {
        {"the main window's combo box: lowered bevels of width 1 and a 3-pixel border",
         [](TSeCustomControl& c) {
             c.SetBevelInner(kbvLowered);
             c.SetBevelOuter(kbvLowered);
             c.SetBevelKind(kbkSingle);
             c.SetBevelWidth(1);
             c.SetBorderWidth(3);
         },
         {5, 5, 55, 25},
         {{clBtnShadow, clBtnShadow, clBtnHighlight, clBtnHighlight},
          {cl3DDkShadow, cl3DDkShadow, clBtnFace, clBtnFace},
          {own, own, own, own},
          {own, own, own, own},
          {own, own, own, own}}},
        {"the status bar: space inside raised, no bevel width, a 2-pixel border",
         [](TSeCustomControl& c) {
             c.SetBevelInner(kbvSpace);
             c.SetBevelOuter(kbvRaised);
             c.SetBevelWidth(0);
             c.SetBorderWidth(2);
         },
         {2, 2, 58, 28},
         {{own, own, own, own}, {own, own, own, own}}},
        {"a raised outer bevel of width 2 on the left and top only",
         [](TSeCustomControl& c) {
             c.SetBevelOuter(kbvRaised);
             c.SetBevelInner(kbvNone);
             c.SetBevelSides(BevelSide(kbsLeft) | BevelSide(kbsTop));
             c.SetBevelWidth(2);
         },
         {2, 2, 60, 30},
         {{clBtnHighlight, clBtnHighlight, clBlack, clBlack}, {clBtnHighlight, clBtnHighlight, clBlack, clBlack}}},
        {"border bevels",
         [](TSeCustomControl& c) {
             c.SetBevelKind(kbkBorder);
             c.SetBevelWidth(1);
         },
         {2, 2, 58, 28},
         {{cl3DDkShadow, cl3DDkShadow, cl3DDkShadow, cl3DDkShadow}, {clWindow, clWindow, clWindow, clWindow}}},
        {"flat border bevels",
         [](TSeCustomControl& c) {
             c.SetBevelKind(kbkFlat);
             c.SetBevelWidth(1);
         },
         {2, 2, 58, 28},
         {{clBtnShadow, clBtnShadow, clBtnShadow, clBtnShadow}, {clBtnFace, clBtnFace, clBtnFace, clBtnFace}}},
        {"bevels of width 0 take no room and draw nothing",
         [](TSeCustomControl& c) {
             c.SetBevelKind(kbkSoft);
             c.SetBevelWidth(0);
         },
         {0, 0, 60, 30},
         {}},
    };
    for (const RingCase& rc : cases) {
        SCOPED_TRACE(rc.name);
        TForm* form = NewForm({0, 0, 120, 80});
        auto* c = new PatternControl(form, {10, 10, 70, 40});
        c->SetColor(own);
        c->FaceColor = clBlack;
        rc.configure(*c);
        EXPECT_EQ(c->GetInnerRect(), rc.inner);
        const PixelSection shot = Repainted(form);
        const int n = static_cast<int>(rc.rings.size());
        for (int i = 0; i < n; ++i) {
            SCOPED_TRACE("ring " + std::to_string(i));
            const auto& ring = rc.rings[static_cast<size_t>(i)];
            // "Black" in the table stands for "no line here": the face shows.
            EXPECT_EQ(shot.At(10 + i, 25) & 0xFFFFFFu, PixelOf(ring.left) & 0xFFFFFFu);
            EXPECT_EQ(shot.At(40, 10 + i) & 0xFFFFFFu, PixelOf(ring.top) & 0xFFFFFFu);
            EXPECT_EQ(shot.At(69 - i, 25) & 0xFFFFFFu, PixelOf(ring.right) & 0xFFFFFFu);
            EXPECT_EQ(shot.At(40, 39 - i) & 0xFFFFFFu, PixelOf(ring.bottom) & 0xFFFFFFu);
        }
        // Bottom and right lines come last: the bottom-left and top-right corners of the outer
        // bevel take its bottom-right colour.
        if (n > 0 && rc.rings[0].left != rc.rings[0].right && rc.rings[0].right != clBlack) {
            EXPECT_EQ(shot.At(10, 39) & 0xFFFFFFu, PixelOf(rc.rings[0].bottom) & 0xFFFFFFu);
            EXPECT_EQ(shot.At(69, 10) & 0xFFFFFFu, PixelOf(rc.rings[0].right) & 0xFFFFFFu);
            EXPECT_EQ(shot.At(10, 10) & 0xFFFFFFu, PixelOf(rc.rings[0].left) & 0xFFFFFFu);
        }
        // The face fills exactly the inner rectangle.
        const TRect face = rc.inner.Offset(10, 10);
        EXPECT_EQ(Mismatches(shot, face, PixelOf(clBlack)), 0);
        delete form;
    }
}

TEST_F(Foundation, SettersRepaintOnlyWhenTheValueChanges) {
    TForm* form = NewForm({0, 0, 120, 80});
    auto* c = new PatternControl(form, {10, 10, 70, 40});
    auto* g = new PatternGraphic(form, {10, 50, 70, 70});
    struct Setter {
        const char* name;
        std::function<void()> same;
        std::function<void()> changed;
        std::function<int()> faces;
    };
    const auto windowed = [&] { return c->Faces; };
    const auto graphic = [&] { return g->Faces; };
    const Setter setters[] = {
        {"Transparent", [&] { c->SetTransparent(false); }, [&] { c->SetTransparent(true); }, windowed},
        {"Performance", [&] { c->SetPerformance(kspNoBuffer); }, [&] { c->SetPerformance(kspSharedBuffer); }, windowed},
        {"BorderWidth", [&] { c->SetBorderWidth(0); }, [&] { c->SetBorderWidth(1); }, windowed},
        {"BevelInner", [&] { c->SetBevelInner(kbvLowered); }, [&] { c->SetBevelInner(kbvRaised); }, windowed},
        {"BevelOuter", [&] { c->SetBevelOuter(kbvLowered); }, [&] { c->SetBevelOuter(kbvSpace); }, windowed},
        {"BevelSides", [&] { c->SetBevelSides(kAllBevelSides); }, [&] { c->SetBevelSides(BevelSide(kbsTop)); }, windowed},
        {"BevelKind", [&] { c->SetBevelKind(kbkNone); }, [&] { c->SetBevelKind(kbkTile); }, windowed},
        {"BevelWidth", [&] { c->SetBevelWidth(0); }, [&] { c->SetBevelWidth(2); }, windowed},
        {"Blending.Value", [&] { c->Blending().SetValue(150); }, [&] { c->Blending().SetValue(99); }, windowed},
        {"graphic Transparent", [&] { g->SetTransparent(false); }, [&] { g->SetTransparent(true); }, graphic},
        {"graphic Performance", [&] { g->SetPerformance(kspNoBuffer); }, [&] { g->SetPerformance(kspDoubleBuffer); }, graphic},
    };
    Pump();
    for (const Setter& s : setters) {
        SCOPED_TRACE(s.name);
        const int before = s.faces();
        s.same();
        Pump();
        EXPECT_EQ(s.faces(), before);
        s.changed();
        Pump();
        EXPECT_EQ(s.faces(), before + 1);
        s.changed();
        Pump();
        EXPECT_EQ(s.faces(), before + 1);
    }
}

TEST_F(Foundation, BevelKindsCutsBlendingAndPerformanceFollowTheirRules) {
    TForm* form = NewForm();
    auto* c = new PatternControl(form, {10, 10, 70, 40});
    c->SetBevelKind(kbkBorder);
    EXPECT_EQ(c->BevelInner(), kbvBorder);
    EXPECT_EQ(c->BevelOuter(), kbvBorder);
    c->SetBevelInner(kbvRaised);
    EXPECT_EQ(c->BevelKind(), kbkNone);
    c->SetBevelKind(kbkFlat);
    EXPECT_EQ(c->BevelInner(), kbvFlatBorder);
    EXPECT_EQ(c->BevelOuter(), kbvFlatBorder);

    c->Blending().SetValue(300);
    EXPECT_EQ(c->Blending().Value(), 255);
    c->Blending().SetValue(-5);
    EXPECT_EQ(c->Blending().Value(), 0);
    // Blending needs a buffer: switching it on moves a kspNoBuffer control to its own buffer,
    // and kspNoBuffer is refused while it is on.
    EXPECT_EQ(c->Performance(), kspNoBuffer);
    c->Blending().SetEnabled(true);
    EXPECT_EQ(c->Performance(), kspDoubleBuffer);
    c->SetPerformance(kspNoBuffer);
    EXPECT_EQ(c->Performance(), kspDoubleBuffer);
    c->SetPerformance(kspSharedBuffer);
    EXPECT_EQ(c->Performance(), kspSharedBuffer);

    auto* g = new PatternGraphic(form, {10, 50, 70, 70});
    TSeBlending on;
    on.SetEnabled(true);
    g->SetBlending(on);
    EXPECT_EQ(g->Performance(), kspDoubleBuffer);
    g->SetPerformance(kspNoBuffer);
    EXPECT_EQ(g->Performance(), kspDoubleBuffer);
}

TEST_F(Foundation, BlendingShowsTheControlOverItsParentAtItsOpacity) {
    struct Case {
        int value;
        uint32_t expected;  // the pixel at the control's middle
    };
    const uint32_t green = PixelOf(clLime) & 0xFFFFFFu;
    const uint32_t teal = PixelOf(clTeal) & 0xFFFFFFu;
    const Case cases[] = {{255, green}, {0, teal}};
    for (const Case& k : cases) {
        for (TSePerformance mode : {kspSharedBuffer, kspDoubleBuffer}) {
            SCOPED_TRACE(std::to_string(k.value) + " " + ModeName(mode));
            TForm* form = NewForm({0, 0, 200, 100});
            form->SetColor(clTeal);
            auto* c = new PatternControl(form, {10, 10, 110, 60});
            c->FaceColor = clLime;
            c->SetPerformance(mode);
            c->Blending().SetValue(k.value);
            c->Blending().SetEnabled(true);
            const PixelSection shot = Repainted(form);
            EXPECT_EQ(shot.At(60, 35) & 0xFFFFFFu, k.expected);
            delete form;
        }
    }
    // Half way: between the two.
    TForm* form = NewForm({0, 0, 200, 100});
    form->SetColor(clBlack);
    auto* c = new PatternControl(form, {10, 10, 110, 60});
    c->FaceColor = clWhite;
    c->Blending().SetValue(128);
    c->Blending().SetEnabled(true);
    const uint32_t p = Repainted(form).At(60, 35);
    EXPECT_GT(p & 0xFF, 100u);
    EXPECT_LT(p & 0xFF, 156u);
}

TEST_F(Foundation, APaintNestedInTheSharedBufferKeepsTheOuterControlsPixels) {
    // A translucent control shows the labels under it: painting them runs inside its own
    // shared-buffer paint. The labels' shared-buffer paints must not land in its pixels.
    TForm* form = NewForm({0, 0, 200, 100});
    form->SetColor(clTeal);
    auto* label = new PatternGraphic(form, {20, 20, 80, 40});
    label->FaceColor = clRed;
    label->SetPerformance(kspSharedBuffer);
    auto* c = new PatternControl(form, {10, 10, 110, 60});
    c->FaceColor = clLime;
    c->SetPerformance(kspSharedBuffer);
    c->Blending().SetValue(255);
    c->Blending().SetEnabled(true);
    PixelSection shot = Repainted(form);
    EXPECT_EQ(Mismatches(shot, {10, 10, 110, 60}, PixelOf(clLime)), 0);
    // Fully translucent, it shows the label under it at the label's place.
    c->Blending().SetValue(0);
    shot = Repainted(form);
    EXPECT_EQ(Mismatches(shot, {20, 20, 80, 40}, PixelOf(clRed)), 0);
    EXPECT_EQ(Mismatches(shot, {10, 45, 110, 60}, PixelOf(clTeal)), 0);
}

TEST_F(Foundation, TheSharedBufferGrowsForAControlLargerThanIt) {
    const TseBitmap& shared = SizedSharedBuffer();
    const int width = shared.Width() + 40;
    TForm* form = NewForm({0, 0, width + 20, 60});
    auto* c = new PatternControl(form, {0, 0, width, 30});
    c->FaceColor = clLime;
    c->SetPerformance(kspSharedBuffer);
    const PixelSection shot = Repainted(form);
    EXPECT_EQ(Mismatches(shot, {0, 0, width, 30}, PixelOf(clLime)), 0);
    EXPECT_GE(SharedBuffer().Width(), width);
}

TEST_F(Foundation, ErasesAnswerDoneAndPaintOnlyForABackgroundRequest) {
    TForm* form = NewForm();
    auto* c = new PatternControl(form, {10, 10, 70, 40});
    c->FaceColor = clLime;
    Pump();
    TseBitmap target;
    target.SetSize(60, 30);
    const int before = c->Faces;
    EXPECT_EQ(c->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.DC()), 0), 1);
    EXPECT_EQ(c->Faces, before);
    EXPECT_EQ(target.ReadPixel(5, 5), 0u);
    BackgroundRequest request;
    EXPECT_EQ(c->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.DC()), reinterpret_cast<LPARAM>(&request)), 1);
    EXPECT_EQ(c->Faces, before + 1);
    EXPECT_EQ(target.ReadPixel(5, 5) & 0xFFFFFFu, PixelOf(clLime) & 0xFFFFFFu);
    EXPECT_EQ(c->Perform(WM_ERASEBKGND, 0, reinterpret_cast<LPARAM>(&request)), 1);
    EXPECT_EQ(c->Faces, before + 1);
}

TEST_F(Foundation, PointerAndFocusAreTrackedBeforeTheEventsFire) {
    TForm* form = NewForm({0, 0, 300, 200});
    std::vector<std::string> log;
    auto* box = new PatternControl(form, {10, 10, 210, 160});
    box->SetName("box");
    box->Log = &log;
    auto* child = new PatternControl(box, {20, 20, 120, 60});
    child->SetName("child");
    child->Log = &log;
    child->SetTabStop(true);
    auto* other = new PatternControl(form, {220, 10, 280, 40});
    other->SetTabStop(true);
    child->OnMouseEnter = [&](TObject*) { log.push_back(child->MouseInside() ? "OnMouseEnter inside" : "OnMouseEnter outside"); };
    child->OnEnter = [&](TObject*) { log.push_back(child->HasFocus() ? "OnEnter focused" : "OnEnter unfocused"); };
    child->OnExit = [&](TObject*) { log.push_back(child->HasFocus() ? "OnExit focused" : "OnExit unfocused"); };
    Pump();
    screen_.MoveMouseTo(box->Handle(), {5, 5});
    Pump();
    EXPECT_TRUE(box->MouseInside());
    log.clear();
    // Onto the child: the group's own pointer leaves, then the child's enter reaches it too.
    screen_.MoveMouseTo(child->Handle(), {5, 5});
    Pump();
    EXPECT_TRUE(child->MouseInside());
    EXPECT_TRUE(box->MouseInside());
    EXPECT_EQ(log, (std::vector<std::string>{"box:leave", "box:enter", "child:enter", "OnMouseEnter inside"}));
    log.clear();
    screen_.MoveMouseTo(form->Handle(), {290, 190});
    Pump();
    EXPECT_FALSE(child->MouseInside());
    EXPECT_FALSE(box->MouseInside());

    child->SetFocus();
    Pump();
    EXPECT_TRUE(child->HasFocus());
    other->SetFocus();
    Pump();
    EXPECT_FALSE(child->HasFocus());
    const std::vector<std::string> focusLog(log.begin() + 2, log.end());
    EXPECT_EQ(focusLog, (std::vector<std::string>{"box:focus", "child:focus", "OnEnter focused", "child:unfocus",
                                                  "OnExit unfocused", "box:unfocus"}));
}

TEST_F(Foundation, TheCachedSizeFollowsSetBoundsAndTheWindow) {
    TForm* form = NewForm({0, 0, 200, 100});
    auto* c = new PatternControl(form, {10, 10, 70, 40});
    EXPECT_EQ(c->CachedWidth(), 60);
    EXPECT_EQ(c->CachedHeight(), 30);
    c->SetAlign(alClient);
    Pump();
    EXPECT_EQ(c->CachedWidth(), form->ClientWidth());
    screen_.ResizeNativeWindow(form->Handle(), 250, 140);
    Pump();
    EXPECT_EQ(c->CachedWidth(), c->Width());
    EXPECT_EQ(c->CachedHeight(), c->Height());
    EXPECT_EQ(c->GetInnerRect(), (TRect{0, 0, c->Width(), c->Height()}));

    // Children aligned inside a control without a window yet take its new inner rectangle.
    auto* box = new PatternControl(nullptr, {0, 0, 100, 60});
    box->SetBevelKind(kbkSingle);
    box->SetBevelWidth(2);
    auto* filler = new PatternControl(box, {0, 0, 10, 10});
    filler->SetAlign(alClient);
    box->SetBounds(0, 0, 150, 90);
    EXPECT_EQ(filler->BoundsRect(), (TRect{4, 4, 146, 86}));
    delete box;
}

}  // namespace
}  // namespace se::testing
