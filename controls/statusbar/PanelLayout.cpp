#include "controls/statusbar/PanelLayout.h"

#include <algorithm>
#include <vector>

namespace se {

void LayoutPanelSpans(std::span<TSePanelSpan* const> panels, const TRect& inner) {
    const int avail = inner.Width();
    int sum = 0;
    std::vector<TSePanelSpan*> work;
    for (TSePanelSpan* panel : panels) {
        if (panel->ViewPriority == 0) {
            // Keeps its last LayoutWidth: placing still advances by it.
            panel->Shown = false;
            continue;
        }
        panel->LayoutWidth = panel->Width;
        panel->Shown = true;
        sum += panel->Width;
        work.push_back(panel);
    }

    std::stable_sort(work.begin(), work.end(),
                     [](const TSePanelSpan* a, const TSePanelSpan* b) { return a->ViewPriority > b->ViewPriority; });
    while (sum > avail && work.size() >= 2 && work.back()->ViewPriority < 100) {
        work.back()->Shown = false;
        sum -= work.back()->EffectiveWidth();
        work.pop_back();
    }

    int spare = avail - sum;
    if (spare > 0) {
        std::erase_if(work, [](const TSePanelSpan* panel) { return panel->StretchPriority == 0; });
        std::stable_sort(work.begin(), work.end(), [](const TSePanelSpan* a, const TSePanelSpan* b) {
            return a->StretchPriority < b->StretchPriority;
        });
        // Spare space goes to the highest stretch priority up to its MaxWidth; the rest passes on.
        while (!work.empty() && spare > 0) {
            TSePanelSpan* panel = work.back();
            panel->LayoutWidth += spare;
            spare = panel->LayoutWidth - panel->EffectiveWidth();
            work.pop_back();
        }
    }

    int x = 0;
    for (size_t i = 0; i < panels.size(); ++i) {
        TSePanelSpan* panel = panels[i];
        if (x >= avail) panel->Shown = false;
        panel->SpanLeft = inner.Left + x;
        panel->SpanRight = panel->Shown ? panel->SpanLeft + panel->EffectiveWidth() : panel->SpanLeft;
        // A hidden panel still moves the following ones on.
        x += panel->EffectiveWidth();
        const bool last = i + 1 == panels.size();
        if (panel->StretchPriority > 0 && (last || (panel->Shown && x >= avail))) panel->SpanRight = inner.Right;
    }
}

int PanelIndexAt(std::span<const TSePanelSpan* const> panels, const TRect& inner, TPoint point) {
    if (point.Y < inner.Top || point.Y > inner.Bottom || point.X < inner.Left || panels.empty()) return -1;
    int edge = inner.Left;
    size_t passed = 0;
    while (edge < point.X && passed < panels.size()) edge += panels[passed++]->EffectiveWidth();
    return edge >= point.X && passed > 0 ? static_cast<int>(passed - 1) : -1;
}

namespace {

// The part of the content width left over around image, spacing and text, halved.
int CentreOffset(const TSePanelContent& c) { return (c.ContentWidth - (c.Image.cx + c.Spacing + c.Text.cx)) / 2; }

}  // namespace

TRect PanelImageRect(const TSePanelContent& c) {
    const bool centre = c.Alignment == kpaCenter;
    int left = 0;
    if (c.Layout == sglGlyphLeft) {
        left = centre ? CentreOffset(c) : c.Margin;
    } else {
        left = centre ? c.ContentWidth - CentreOffset(c) - c.Image.cx : c.ContentWidth - (c.Margin + c.Image.cx);
    }
    const int top = (c.ContentHeight - c.Image.cy) / 2;
    return {left, top, left + c.Image.cx, top + c.Image.cy};
}

TRect PanelTextRect(const TSePanelContent& c) {
    const bool centre = c.Alignment == kpaCenter;
    const int w = c.ContentWidth;
    int left = 0;
    int right = 0;
    if (c.Layout == sglGlyphLeft) {
        if (centre) {
            left = c.HasImage ? c.Image.cx + c.Spacing + CentreOffset(c) : (w - c.Text.cx) / 2;
            right = left + c.Text.cx + 10;
        } else {
            left = c.HasImage ? c.Margin + c.Image.cx + c.Spacing : c.Margin;
            right = w - c.Margin;
        }
    } else {
        if (centre) {
            left = c.HasImage ? CentreOffset(c) : (w - c.Text.cx) / 2;
            right = left + c.Text.cx;
        } else {
            left = c.Margin;
            right = c.HasImage ? w - (c.Margin + c.Image.cx + c.Spacing) : w - c.Margin;
        }
    }
    const int top = (c.ContentHeight - c.Text.cy) / 2;
    return {left, top, right, top + c.Text.cy};
}

}  // namespace se
