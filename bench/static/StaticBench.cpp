// Painting the option controls, group box, radio group and status bar in each Performance mode
// on the headless backend, one control repainted at a time; the main window's static panels (four
// group boxes, the language chooser, the status bar) repainted with their form; and the status
// bar's panel text written after every reply.

#include <benchmark/benchmark.h>

#include <string>

#include "controls/checkbox/CheckBox.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/radiogroup/RadioGroup.h"
#include "controls/statusbar/StatusBar.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"
#include "platform/window/WindowSystem.h"

namespace {

using namespace vcl;
using namespace se;

// A headless screen for the whole run.
struct Screen {
    Screen() { WindowSystem().SetBackend(&backend); }
    THeadlessBackend backend;
};

TForm* NewForm(int width, int height) {
    static Screen screen;
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, width, height);
    form->SetColor(clBtnFace);
    form->AfterConstruction();
    form->Show();
    Application->ProcessMessages();
    return form;
}

const char* const kModes[] = {"kspNoBuffer", "kspSharedBuffer", "kspDoubleBuffer"};
const char* const kKinds[] = {"check box", "radio button", "group box", "radio group", "status bar"};

TSeCustomControl* MakeControl(int kind, TWinControl* parent) {
    switch (kind) {
        case 0: {
            auto* box = new TSeSkinCheckBox(parent);
            box->SetBounds(20, 20, 120, 20);
            box->SetCaption(u"使用校验 Check");
            box->SetChecked(true);
            box->SetParent(parent);
            return box;
        }
        case 1: {
            auto* radio = new TSeSkinRadioButton(parent);
            radio->SetBounds(20, 20, 95, 39);
            radio->SetCaption(u"Chinese");
            radio->SetChecked(true);
            radio->SetParent(parent);
            return radio;
        }
        case 2: {
            auto* box = new TSeSkinGroupBox(parent);
            box->SetBounds(20, 20, 457, 97);
            box->SetCaption(u"通讯端口设置");
            box->SetParent(parent);
            return box;
        }
        case 3: {
            auto* group = new TSeSkinRadioGroup(parent);
            group->SetBounds(20, 20, 105, 97);
            group->SetCaption(u" Language ");
            group->Items().Add("English");
            group->Items().Add("Chinese");
            group->SetItemIndex(1);
            group->SetParent(parent);
            return group;
        }
        default: {
            auto* bar = new TSeSkinStatusBar(parent);
            bar->SetAlign(alBottom);
            for (int i = 0; i < 3; ++i) bar->Panels().Add()->SetWidth(150);
            bar->SetParent(parent);
            bar->Panels().Items(0)->SetText(u"共接收到 9 byte 数据");
            return bar;
        }
    }
}

void BM_PaintControl(benchmark::State& state) {
    TForm* form = NewForm(600, 400);
    const int kind = static_cast<int>(state.range(0));
    TSeCustomControl* control = MakeControl(kind, form);
    control->SetPerformance(static_cast<TSePerformance>(state.range(1)));
    Application->ProcessMessages();
    for (auto _ : state) {
        control->Invalidate();
        control->Update();
    }
    state.SetLabel(std::string(kKinds[kind]) + " " + kModes[state.range(1)]);
    delete form;
    Application->ProcessMessages();
}
BENCHMARK(BM_PaintControl)->ArgsProduct({{0, 1, 2, 3, 4}, {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}})->Unit(benchmark::kMicrosecond);

// The main window's four group boxes, the language chooser and the status bar, as stored
// (transparent, kspNoBuffer), repainted with their form.
void BM_PaintMainWindowPanels(benchmark::State& state) {
    TForm* form = NewForm(572, 601);
    const struct {
        const char16_t* caption;
        TRect bounds;
    } panels[] = {{u"通讯端口设置", Bounds(112, 8, 457, 97)},
                  {u"返回数据 ( Hex ) ", Bounds(8, 312, 561, 225)},
                  {u"发送操作", Bounds(8, 112, 561, 193)}};
    for (const auto& panel : panels) {
        auto* box = new TSeSkinGroupBox(form);
        box->SetBounds(panel.bounds.Left, panel.bounds.Top, panel.bounds.Width(), panel.bounds.Height());
        box->SetCaption(panel.caption);
        box->SetParent(form);
    }
    auto* chooser = static_cast<TSeSkinRadioGroup*>(MakeControl(3, form));
    chooser->SetBounds(8, 8, 105, 97);
    MakeControl(4, form);
    Application->ProcessMessages();
    for (auto _ : state) {
        // UpdateNow paints the form only; its children's paints wait in the queue.
        RedrawWindow(form->Handle(), nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        Application->ProcessMessages();
    }
    delete form;
    Application->ProcessMessages();
}
BENCHMARK(BM_PaintMainWindowPanels)->Unit(benchmark::kMicrosecond);

// The first panel's text written after every reply: one panel repainted at once.
void BM_StatusText(benchmark::State& state) {
    TForm* form = NewForm(572, 601);
    auto* bar = static_cast<TSeSkinStatusBar*>(MakeControl(4, form));
    Application->ProcessMessages();
    int count = 0;
    for (auto _ : state) {
        bar->Panels().Items(0)->SetText(u"共接收到 " + std::u16string(1, static_cast<char16_t>(u'0' + count % 10)) +
                                        u" byte 数据");
        ++count;
    }
    delete form;
    Application->ProcessMessages();
}
BENCHMARK(BM_StatusText)->Unit(benchmark::kMicrosecond);

}  // namespace
