#pragma once
// The status bar's geometry, kept apart from painting and windows: how the panels share the bar
// (view priority hides panels when space is short, stretch priority hands out spare space), which
// panel a point hits, and where a panel's image and text sit inside it.

#include <cstdint>
#include <span>

#include "platform/draw/Geometry.h"

namespace se {

using vcl::TPoint;
using vcl::TRect;

enum TSeStatusGliphLayout : uint8_t { sglGlyphLeft, sglGlyphRight };
// Alignment of a panel's text, in the order of the usual TAlignment values.
enum TSePanelAlignment : uint8_t { kpaLeftJustify, kpaRightJustify, kpaCenter };

// What the layout reads (Width, MaxWidth and the priorities) and writes (the rest) of one panel.
struct TSePanelSpan {
    int Width = 50;
    int MaxWidth = 10000;
    uint8_t ViewPriority = 100;
    uint8_t StretchPriority = 0;
    int LayoutWidth = 0;
    bool Shown = false;
    int SpanLeft = 0;
    int SpanRight = 0;

    int EffectiveWidth() const { return LayoutWidth < MaxWidth ? LayoutWidth : MaxWidth; }
};

// Lays the panels out across the inner rectangle (only its left and right matter). Panels of
// equal priority keep their order among themselves.
void LayoutPanelSpans(std::span<TSePanelSpan* const> panels, const TRect& inner);

// The index of the panel under point, or -1. Walks the effective widths of all panels, shown or
// not, from the inner left edge; the inner top and bottom rows both count.
int PanelIndexAt(std::span<const TSePanelSpan* const> panels, const TRect& inner, TPoint point);

// Where the image and the text of a panel go, relative to its content rectangle.
struct TSePanelContent {
    int ContentWidth = 0;
    int ContentHeight = 0;
    vcl::TSize Image;  // (0, 0) without an image
    vcl::TSize Text;
    bool HasImage = false;
    TSeStatusGliphLayout Layout = sglGlyphLeft;
    TSePanelAlignment Alignment = kpaLeftJustify;
    int Margin = 2;
    int Spacing = 4;
};
TRect PanelImageRect(const TSePanelContent& content);
TRect PanelTextRect(const TSePanelContent& content);

}  // namespace se
