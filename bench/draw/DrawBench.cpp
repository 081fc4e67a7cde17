// Text and fills into a window's back buffer.

#include <benchmark/benchmark.h>

#include "platform/draw/Gdi.h"

namespace {

struct Window {
    vcl::PixelSection buffer{572, 601};
    vcl::HDC dc = nullptr;
    Window() {
        const vcl::TRect all{0, 0, 572, 601};
        dc = vcl::CreateWindowBufferDC(buffer, {0, 0}, std::span<const vcl::TRect>(&all, 1));
        vcl::SetBkMode(dc, vcl::TRANSPARENT);
    }
    ~Window() { vcl::DeleteDC(dc); }
};

// The window caption drawn 1000 times; the first draw outside the timing warms the glyph cache.
void BM_DrawTextLine(benchmark::State& state) {
    Window window;
    const char16_t caption[] = u"Modbus RTU 通讯调试程式";
    vcl::TRect r{4, 4, 300, 20};
    vcl::DrawTextW(window.dc, caption, -1, &r, vcl::DT_SINGLELINE | vcl::DT_VCENTER);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            vcl::TRect line{4, 4 + (i % 30) * 19, 300, 20 + (i % 30) * 19};
            benchmark::DoNotOptimize(vcl::DrawTextW(window.dc, caption, -1, &line, vcl::DT_SINGLELINE | vcl::DT_VCENTER));
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_DrawTextLine)->Unit(benchmark::kMillisecond);

// The engraved look: two coats of the same masks.
void BM_DrawDisabledTextLine(benchmark::State& state) {
    Window window;
    const char16_t caption[] = u"Modbus RTU 通讯调试程式";
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            vcl::TRect line{4, 4 + (i % 30) * 19, 300, 20 + (i % 30) * 19};
            benchmark::DoNotOptimize(
                vcl::DrawDisabledTextW(window.dc, caption, -1, &line, vcl::DT_SINGLELINE | vcl::DT_VCENTER));
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_DrawDisabledTextLine)->Unit(benchmark::kMillisecond);

void BM_MeasureTextLine(benchmark::State& state) {
    Window window;
    const char16_t caption[] = u"Modbus RTU 通讯调试程式";
    vcl::TSize size;
    vcl::GetTextExtentPoint32W(window.dc, caption, -1, &size);
    for (auto _ : state) {
        vcl::GetTextExtentPoint32W(window.dc, caption, -1, &size);
        benchmark::DoNotOptimize(size);
    }
}
BENCHMARK(BM_MeasureTextLine);

void BM_FillWindow(benchmark::State& state) {
    Window window;
    vcl::HBRUSH brush = vcl::GetSysColorBrush(vcl::COLOR_BTNFACE);
    const vcl::TRect all{0, 0, 572, 601};
    for (auto _ : state) {
        vcl::FillRect(window.dc, &all, brush);
        benchmark::DoNotOptimize(window.buffer.Bits());
    }
}
BENCHMARK(BM_FillWindow);

}  // namespace
