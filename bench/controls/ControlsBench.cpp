// Painting the control set's controls in each Performance mode on the headless backend: one
// control repainted at a time, and a form of 20 mixed controls repainted whole.

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "controls/button/Button.h"
#include "controls/label/Label.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"
#include "platform/window/WindowSystem.h"

namespace {

using namespace vcl;
using namespace se;

// A headless screen and one shown form for the whole run.
struct Screen {
    Screen() {
        WindowSystem().SetBackend(&backend);
        form = new TForm(Application);
        form->SetBounds(0, 0, 640, 480);
        form->AfterConstruction();
        form->Show();
        Application->ProcessMessages();
    }
    THeadlessBackend backend;
    TForm* form = nullptr;
};

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

// A windowed control of the set with the main window's combo-box ring.
class RingControl : public TSeCustomControl {
public:
    using TSeCustomControl::TSeCustomControl;
};

TControl* MakeControl(const std::string& kind, TWinControl* parent, int x, int y) {
    if (kind == "label") {
        auto* label = new TSeSkinLabel(parent);
        label->SetBounds(x, y, 65, 17);
        label->SetParent(parent);
        label->SetCaption(u"串口号 Baud rate:");
        return label;
    }
    if (kind == "button") {
        auto* button = new TSeSkinButton(parent);
        button->SetBounds(x, y, 75, 25);
        button->SetParent(parent);
        button->SetCaption(u"打开串口");
        return button;
    }
    if (kind == "glyph button") {
        auto* button = new TSeSkinButton(parent);
        button->SetBounds(x, y, 95, 27);
        button->SetParent(parent);
        button->SetCaption(u"&Retry");
        button->SetKind(bkRetry);
        return button;
    }
    auto* ring = new RingControl(parent);
    ring->SetBounds(x, y, 121, 21);
    ring->SetBevelKind(kbkSingle);
    ring->SetBevelWidth(1);
    ring->SetBorderWidth(3);
    ring->SetColor(clWindow);
    ring->SetParent(parent);
    return ring;
}

void SetMode(TControl* control, TSePerformance mode) {
    if (auto* windowed = dynamic_cast<TSeCustomControl*>(control)) windowed->SetPerformance(mode);
    if (auto* graphic = dynamic_cast<TSeGraphicControl*>(control)) graphic->SetPerformance(mode);
}

// A windowed control repaints its window; a window-less one repaints its part of the parent.
void Repaint(TControl* control) {
    control->Invalidate();
    control->Update();
}

const char* const kKinds[] = {"label", "button", "glyph button", "ring"};

void BM_PaintControl(benchmark::State& state) {
    Screen& screen = TheScreen();
    const std::string kind = kKinds[state.range(0)];
    const auto mode = static_cast<TSePerformance>(state.range(1));
    const bool transparent = state.range(2) != 0;
    TControl* control = MakeControl(kind, screen.form, 20, 20);
    SetMode(control, mode);
    if (auto* label = dynamic_cast<TSeSkinLabel*>(control)) label->SetTransparent(transparent);
    if (auto* windowed = dynamic_cast<TSeCustomControl*>(control)) windowed->SetTransparent(transparent);
    Application->ProcessMessages();
    for (auto _ : state) Repaint(control);
    state.SetLabel(kind + (transparent ? " transparent " : " ") +
                   (mode == kspNoBuffer ? "kspNoBuffer" : mode == kspSharedBuffer ? "kspSharedBuffer" : "kspDoubleBuffer"));
    delete control;
    Application->ProcessMessages();
}
BENCHMARK(BM_PaintControl)->ArgsProduct({{0, 1, 2, 3}, {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}, {0, 1}})->Unit(benchmark::kMicrosecond);

// 20 mixed controls (8 labels, 6 buttons, 2 glyph buttons, 4 bevelled fields) repainted with
// their form.
void BM_PaintForm(benchmark::State& state) {
    Screen& screen = TheScreen();
    const auto mode = static_cast<TSePerformance>(state.range(0));
    auto* panel = new TForm(Application);
    panel->SetBounds(0, 0, 560, 300);
    panel->AfterConstruction();
    panel->Show();
    const char* const layout[] = {"label", "label", "button", "ring", "label", "button", "label", "glyph button",
                                  "ring",  "label", "button", "label", "ring", "button", "label", "button",
                                  "glyph button", "label", "ring", "button"};
    int i = 0;
    for (const char* kind : layout) {
        TControl* c = MakeControl(kind, panel, 10 + (i % 4) * 135, 10 + (i / 4) * 50);
        SetMode(c, mode);
        ++i;
    }
    Application->ProcessMessages();
    for (auto _ : state) {
        RedrawWindow(panel->Handle(), nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    state.SetLabel(mode == kspNoBuffer ? "kspNoBuffer" : mode == kspSharedBuffer ? "kspSharedBuffer" : "kspDoubleBuffer");
    delete panel;
    Application->ProcessMessages();
    (void)screen;
}
BENCHMARK(BM_PaintForm)->Arg(kspNoBuffer)->Arg(kspSharedBuffer)->Arg(kspDoubleBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace
