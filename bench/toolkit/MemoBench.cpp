// The reply memo with the longest reply the window shows: a 10241-byte frame as text (41,000
// characters, no line breaks, wrapped at 457 pixels). Writing it and moving the caret to its end
// each must stay well under 20 ms, painting included.

#include <benchmark/benchmark.h>

#include <string>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Edit.h"
#include "platform/window/WindowSystem.h"

namespace {

using namespace vcl;

// The receive handler's rendering: two spaces before each byte's two hex digits.
std::string ReplyText(int bytes, int seed) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(static_cast<size_t>(bytes) * 4);
    for (int i = 0; i < bytes; ++i) {
        const int b = (i * 7 + seed) & 0xFF;
        text += "  ";
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

// A shown form holding the reply memo, on the headless screen.
class MemoScene {
public:
    MemoScene() {
        MessageQueue().Reset();
        WindowSystem().SetBackend(&screen_);
        form_ = new TForm(Application);
        form_->SetBounds(100, 100, 572, 601);
        form_->AfterConstruction();
        memo_ = new TMemo(form_);
        memo_->SetBounds(16, 328, 457, 201);
        memo_->SetParent(form_);
        form_->Show();
        Application->ProcessMessages();
        memo_->SetFocus();
    }
    ~MemoScene() {
        delete form_;
        WindowSystem().SetBackend(nullptr);
        MessageQueue().Reset();
    }
    TMemo& Memo() { return *memo_; }
    THeadlessBackend& Screen() { return screen_; }

private:
    THeadlessBackend screen_;
    TForm* form_ = nullptr;
    TMemo* memo_ = nullptr;
};

void BM_MemoSetReplyText(benchmark::State& state) {
    MemoScene scene;
    const std::string texts[2] = {ReplyText(10241, 0), ReplyText(10241, 1)};
    int i = 0;
    for (auto _ : state) {
        scene.Memo().SetText(texts[i ^= 1]);
        Application->ProcessMessages();
    }
    state.counters["chars"] = static_cast<double>(texts[0].size());
    state.counters["lines"] = scene.Memo().DisplayLineCount();
}
BENCHMARK(BM_MemoSetReplyText)->Unit(benchmark::kMillisecond);

void BM_MemoCaretToEnd(benchmark::State& state) {
    MemoScene scene;
    scene.Memo().SetText(ReplyText(10241, 0));
    Application->ProcessMessages();
    for (auto _ : state) {
        // Ctrl+End as typed, then back to the start outside the timing.
        scene.Screen().PressKey(VK_END, ssCtrl);
        Application->ProcessMessages();
        state.PauseTiming();
        scene.Memo().SetSelStart(0);
        Application->ProcessMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MemoCaretToEnd)->Unit(benchmark::kMillisecond);

// Typing one character at the end of the long text: the whole text is laid out again.
void BM_MemoTypeAtEnd(benchmark::State& state) {
    MemoScene scene;
    scene.Memo().SetText(ReplyText(10241, 0));
    scene.Screen().PressKey(VK_END, ssCtrl);
    Application->ProcessMessages();
    for (auto _ : state) {
        scene.Screen().TypeText("A");
        Application->ProcessMessages();
        state.PauseTiming();
        scene.Screen().PressKey(VK_BACK);
        Application->ProcessMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MemoTypeAtEnd)->Unit(benchmark::kMillisecond);

}  // namespace
