// Opening the edit field's context menu until its first frame is on the screen: the request, the
// menu built and its items enabled, the window laid out, shown and painted, and the frame presented.
// Measured on the headless screen, so the figure is the program's own work without a display.

#include <benchmark/benchmark.h>

#include <chrono>

#include "controls/edit/Edit.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"
#include "platform/window/WindowSystem.h"

namespace {

using namespace vcl;

void BM_ContextMenuFirstFrame(benchmark::State& state) {
    THeadlessBackend screen;
    MessageQueue().Reset();
    WindowSystem().SetBackend(&screen);
    auto* form = new TForm(Application);
    form->SetBounds(100, 100, 400, 300);
    form->AfterConstruction();
    form->Show();
    auto* edit = new se::TSeSkinEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 121, 21);
    edit->SetText(u"Modbus RTU 01 03");
    Application->ProcessMessages();
    edit->SetFocus();
    edit->SelectAll();
    Application->ProcessMessages();

    using Clock = std::chrono::steady_clock;
    Clock::time_point start;
    double seconds = 0;
    // The menu waits for input once its first frame has been presented: the time is taken there and
    // Escape closes it.
    screen.SetIdleHandler([&] {
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        screen.PressKey(VK_ESCAPE);
        return true;
    });
    const LPARAM at = MAKELPARAM(160, 130);
    for (auto _ : state) {
        start = Clock::now();
        edit->Perform(WM_CONTEXTMENU, 0, at);
        state.SetIterationTime(seconds);
        Application->ProcessMessages();
    }
    screen.SetIdleHandler(nullptr);
    delete form;
    WindowSystem().SetBackend(nullptr);
    MessageQueue().Reset();
}
BENCHMARK(BM_ContextMenuFirstFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
