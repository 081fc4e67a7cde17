// The combo box's drop-down from the request to its first presented frame (the window created and
// placed, the list moved into it, laid out, painted and presented, then closed again), and a
// 1000-item list scrolled by one page (the scroll step, the repaint and the present). Measured on
// the headless screen, so the figures are the program's own work without a display.

#include <benchmark/benchmark.h>

#include <string>

#include "controls/combobox/ComboBox.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"
#include "platform/window/WindowSystem.h"

namespace {

using namespace vcl;

class Screen {
public:
    Screen() {
        MessageQueue().Reset();
        WindowSystem().SetBackend(&screen_);
        form_ = new TForm(Application);
        form_->SetBounds(100, 100, 400, 300);
        form_->AfterConstruction();
        form_->Show();
    }
    ~Screen() {
        delete form_;
        WindowSystem().SetBackend(nullptr);
        MessageQueue().Reset();
    }
    TForm* Form() const { return form_; }
    THeadlessBackend& Backend() { return screen_; }

private:
    THeadlessBackend screen_;
    TForm* form_ = nullptr;
};

void BM_DropDownFirstFrame(benchmark::State& state) {
    Screen screen;
    auto* combo = new se::TSeSkinComboBox(screen.Form());
    combo->SetParent(screen.Form());
    combo->SetBounds(10, 10, 97, combo->Height());
    for (int i = 1; i <= 15; ++i) combo->Items().Add("COM" + std::to_string(i));
    combo->SetItemIndex(0);
    combo->SetFocus();
    Application->ProcessMessages();
    for (auto _ : state) {
        combo->DropDown();
        Application->ProcessMessages();
        WindowSystem().PresentAll();
        state.PauseTiming();
        if (screen.Backend().PresentCount(combo->DropDownWindow()->Handle()) == 0) state.SkipWithError("no frame");
        combo->CloseUp();
        Application->ProcessMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DropDownFirstFrame)->Unit(benchmark::kMicrosecond);

void BM_ScrollLongListByAPage(benchmark::State& state) {
    Screen screen;
    auto* list = new se::TSeSkinListBox(screen.Form());
    list->SetParent(screen.Form());
    list->SetBounds(10, 10, 150, 244);
    list->Items().BeginUpdate();
    for (int i = 0; i < 1000; ++i) list->Items().Add("Item " + std::to_string(i));
    list->Items().EndUpdate();
    list->SetFocus();
    Application->ProcessMessages();
    bool down = true;
    for (auto _ : state) {
        screen.Backend().PressKey(down ? VK_NEXT : VK_PRIOR);
        Application->ProcessMessages();
        WindowSystem().PresentAll();
        if (list->ItemIndex() >= 990) down = false;
        if (list->ItemIndex() <= 10) down = true;
    }
}
BENCHMARK(BM_ScrollLongListByAPage)->Unit(benchmark::kMicrosecond);

}  // namespace
