// The main window on the headless screen: creating it (start-up without the event loop), a full
// repaint of every control, and the receive handler for a 9-byte and a 10241-byte reply (the
// handler's 100 ms wait runs on the virtual clock, so only the work is timed).

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "app/Unit1.h"
#include "bench/app/WindowScene.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Edit.h"
#include "platform/window/Window.h"
#include "serial/TComm1.h"

namespace {

using namespace vcl;

using bench::WindowScene;

void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        WindowScene scene;
        benchmark::DoNotOptimize(app::Form1);
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_FullRepaint(benchmark::State& state) {
    WindowScene scene;
    const HWND window = app::Form1->Handle();
    for (auto _ : state) {
        RedrawWindow(window, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        Application->ProcessMessages();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

// One reply of the given size: it arrives, the poll raises the handler, the handler waits for the
// line to fall quiet (virtual time), the panel is painted. Two different replies take turns, so
// every one is painted anew, as a user's replies are.
void BM_ReceiveReply(benchmark::State& state) {
    WindowScene scene;
    app::Form1->SeSkinButton1Click(app::Form1);  // opens COM1
    const std::vector<BYTE> replies[] = {std::vector<BYTE>(static_cast<size_t>(state.range(0)), 0x5A),
                                         std::vector<BYTE>(static_cast<size_t>(state.range(0)), 0xA5)};
    size_t turn = 0;
    for (auto _ : state) {
        scene.Port().QueueInput(replies[turn++ % 2]);
        scene.Screen().Advance(serial::TComm::kPollInterval);
        Application->ProcessMessages();
    }
    if (app::Form1->Memo1->Text().size() != 4 * replies[0].size()) state.SkipWithError("the reply was not shown");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReceiveReply)->Arg(9)->Arg(255)->Arg(1024)->Arg(10241)->Unit(benchmark::kMicrosecond);

}  // namespace
