#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/statusbar/PanelLayout.h"

namespace se {
namespace {

struct PanelSpec {
    int width;
    uint8_t view = 100;
    uint8_t stretch = 0;
    int maxWidth = 10000;
};

struct Placed {
    bool shown;
    int left;
    int right;
    friend bool operator==(const Placed&, const Placed&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Placed& p) {
        return out << (p.shown ? "shown " : "hidden ") << p.left << ".." << p.right;
    }
};

struct LayoutCase {
    std::string name;
    TRect inner;
    std::vector<PanelSpec> panels;
    std::vector<Placed> expected;
};

std::vector<TSePanelSpan> Make(const std::vector<PanelSpec>& specs) {
    std::vector<TSePanelSpan> spans;
    for (const PanelSpec& spec : specs) {
        TSePanelSpan span;
        span.Width = spec.width;
        span.MaxWidth = spec.maxWidth;
        span.ViewPriority = spec.view;
        span.StretchPriority = spec.stretch;
        spans.push_back(span);
    }
    return spans;
}

std::vector<Placed> Layout(std::vector<TSePanelSpan>& spans, const TRect& inner) {
    std::vector<TSePanelSpan*> pointers;
    for (TSePanelSpan& span : spans) pointers.push_back(&span);
    LayoutPanelSpans(pointers, inner);
    std::vector<Placed> placed;
    for (const TSePanelSpan& span : spans) placed.push_back({span.Shown, span.SpanLeft, span.SpanRight});
    return placed;
}

class PanelLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PanelLayout, PlacesEveryPanelAsThePrioritiesSay) {
    const LayoutCase& c = GetParam();
    std::vector<TSePanelSpan> spans = Make(c.panels);
    EXPECT_EQ(Layout(spans, c.inner), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelLayout,
    ::testing::Values(
        // The main window's bar: 572 x 22 with a 2-pixel border.
        LayoutCase{"MainWindowBar", {2, 2, 570, 20}, {{150}, {150}, {150}},
                   {{true, 2, 152}, {true, 152, 302}, {true, 302, 452}}},
        // The second loses by priority, yet still moves the third past the edge.
        LayoutCase{"HiddenPanelStillAdvances", {0, 0, 500, 20}, {{300, 100}, {300, 50}, {100, 100}},
                   {{true, 0, 300}, {false, 300, 300}, {false, 600, 600}}},
        LayoutCase{"SingleWidePanelStays", {0, 0, 100, 20}, {{300, 10}}, {{true, 0, 300}}},
        LayoutCase{"LowestPriorityGoesFirst", {0, 0, 250, 20}, {{100, 20}, {100, 100}, {100, 60}},
                   {{false, 0, 0}, {true, 100, 200}, {true, 200, 300}}},
        LayoutCase{"StretchedLastReachesTheRightEdge", {2, 2, 400, 20}, {{100}, {500, 100, 10}},
                   {{true, 2, 102}, {true, 102, 400}}},
        LayoutCase{"SpareGoesToHighestStretch", {0, 0, 400, 20}, {{100, 100, 10}, {100, 100, 50}},
                   {{true, 0, 100}, {true, 100, 400}}},
        LayoutCase{"ExcessOverMaxWidthPassesOn", {0, 0, 400, 20}, {{100, 100, 10}, {100, 100, 50, 150}},
                   {{true, 0, 250}, {true, 250, 400}}},
        LayoutCase{"ZeroViewPriorityTakesNoRoomAtFirst", {0, 0, 400, 20}, {{100}, {100, 0}, {100}},
                   {{true, 0, 100}, {false, 100, 100}, {true, 100, 200}}},
        LayoutCase{"NoPanels", {0, 0, 400, 20}, {}, {}}),
    [](const auto& info) { return info.param.name; });

TEST(PanelLayoutRuns, AZeroPriorityPanelKeepsTheWidthOfAnEarlierLayout) {
    std::vector<TSePanelSpan> spans = Make({{100}, {80}, {100}});
    Layout(spans, {0, 0, 400, 20});
    spans[1].ViewPriority = 0;
    // Hidden, but its old layout width still pushes the third panel on.
    EXPECT_EQ(Layout(spans, {0, 0, 400, 20}), (std::vector<Placed>{{true, 0, 100}, {false, 100, 100}, {true, 180, 280}}));
}

TEST(PanelHit, WalksEffectiveWidthsFromTheInnerLeft) {
    std::vector<TSePanelSpan> spans = Make({{150}, {150}, {150}});
    Layout(spans, {2, 2, 570, 20});
    std::vector<const TSePanelSpan*> panels;
    for (const TSePanelSpan& span : spans) panels.push_back(&span);
    const TRect inner{2, 2, 570, 20};
    const struct {
        TPoint point;
        int panel;
    } cases[] = {{{2, 10}, -1},  {{3, 10}, 0},  {{152, 10}, 0}, {{153, 10}, 1},  {{452, 10}, 2},
                 {{453, 10}, -1}, {{50, 1}, -1}, {{50, 2}, 0},   {{50, 20}, 0},   {{50, 21}, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(PanelIndexAt(panels, inner, c.point), c.panel) << c.point.X << "," << c.point.Y;
    }
    EXPECT_EQ(PanelIndexAt({}, inner, {10, 10}), -1);
}

struct ContentCase {
    std::string name;
    TSeStatusGliphLayout layout;
    TSePanelAlignment alignment;
    bool image;
    TRect imageRect;
    TRect textRect;
};

class PanelContent : public ::testing::TestWithParam<ContentCase> {};

// A 100 x 20 content area, a 16 x 16 image and a 30 x 13 text, margin 2 and spacing 4.
TEST_P(PanelContent, PutsImageAndTextWhereLayoutAndAlignmentSay) {
    const ContentCase& c = GetParam();
    TSePanelContent content;
    content.ContentWidth = 100;
    content.ContentHeight = 20;
    content.Image = {16, 16};
    content.Text = {30, 13};
    content.HasImage = c.image;
    content.Layout = c.layout;
    content.Alignment = c.alignment;
    EXPECT_EQ(PanelImageRect(content), c.imageRect);
    EXPECT_EQ(PanelTextRect(content), c.textRect);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelContent,
    ::testing::Values(
        ContentCase{"LeftGlyphLeftText", sglGlyphLeft, kpaLeftJustify, true, {2, 2, 18, 18}, {22, 3, 98, 16}},
        ContentCase{"LeftGlyphRightText", sglGlyphLeft, kpaRightJustify, true, {2, 2, 18, 18}, {22, 3, 98, 16}},
        ContentCase{"LeftNoImage", sglGlyphLeft, kpaLeftJustify, false, {2, 2, 18, 18}, {2, 3, 98, 16}},
        ContentCase{"LeftGlyphCentre", sglGlyphLeft, kpaCenter, true, {25, 2, 41, 18}, {45, 3, 85, 16}},
        ContentCase{"LeftCentreNoImage", sglGlyphLeft, kpaCenter, false, {25, 2, 41, 18}, {35, 3, 75, 16}},
        ContentCase{"RightGlyphLeftText", sglGlyphRight, kpaLeftJustify, true, {82, 2, 98, 18}, {2, 3, 78, 16}},
        ContentCase{"RightNoImage", sglGlyphRight, kpaRightJustify, false, {82, 2, 98, 18}, {2, 3, 98, 16}},
        ContentCase{"RightGlyphCentre", sglGlyphRight, kpaCenter, true, {59, 2, 75, 18}, {25, 3, 55, 16}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace se
