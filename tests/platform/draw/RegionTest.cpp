#include <gtest/gtest.h>

#include <random>

#include "platform/draw/Gdi.h"
#include "platform/draw/Region.h"

namespace vcl {
namespace {

// Pixel-by-pixel reference for the region operations.
bool InRect(const TRect& r, int x, int y) { return r.Contains({x, y}); }

int Area(const Region& region) {
    int area = 0;
    for (const TRect& r : region.Rects()) area += r.Width() * r.Height();
    return area;
}

bool Disjoint(const Region& region) {
    const auto& rects = region.Rects();
    for (size_t i = 0; i < rects.size(); ++i)
        for (size_t j = i + 1; j < rects.size(); ++j)
            if (!IntersectRect(rects[i], rects[j]).IsEmpty()) return false;
    return true;
}

TEST(Region, BooleanOperationsMatchAPixelReference) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 20);
    auto randomRect = [&] {
        const int a = coordinate(random), b = coordinate(random), c = coordinate(random), d = coordinate(random);
        return TRect{std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
    };
    for (int round = 0; round < 60; ++round) {
        const TRect a1 = randomRect(), a2 = randomRect(), b1 = randomRect();
        Region a = Region::FromRects(std::vector<TRect>{a1, a2});
        const Region b(b1);
        Region u = a, s = a, i = a, x = a;
        u.Union(b);
        s.Subtract(b);
        i.Intersect(b);
        x.Xor(b);
        for (const Region* r : {&a, &u, &s, &i, &x}) ASSERT_TRUE(Disjoint(*r));
        for (int y = 0; y < 21; ++y) {
            for (int xx = 0; xx < 21; ++xx) {
                const bool inA = InRect(a1, xx, y) || InRect(a2, xx, y);
                const bool inB = InRect(b1, xx, y);
                ASSERT_EQ(a.Contains({xx, y}), inA);
                ASSERT_EQ(u.Contains({xx, y}), inA || inB);
                ASSERT_EQ(s.Contains({xx, y}), inA && !inB);
                ASSERT_EQ(i.Contains({xx, y}), inA && inB);
                ASSERT_EQ(x.Contains({xx, y}), inA != inB);
            }
        }
    }
}

// Cutting or clipping one rectangle (every paint's clip) must give the very rectangles the general
// sweep gives for the same pixels: the region's kind (simple or complex) is read from their count.
TEST(Region, OneRectangleCutOrClippedGivesTheSweptRectangles) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, 16);
    auto randomRect = [&] {
        const int a = coordinate(random), b = coordinate(random), c = coordinate(random), d = coordinate(random);
        return TRect{std::min(a, b), std::min(c, d), std::max(a, b) + 1, std::max(c, d) + 1};
    };
    for (int round = 0; round < 200; ++round) {
        const TRect a = randomRect(), b = randomRect();
        Region cut(a), clipped(a), byRegion(a), ofRegion = Region::FromRects(std::vector<TRect>{b, randomRect()});
        cut.Subtract(b);
        clipped.Intersect(b);
        byRegion.Intersect(ofRegion);
        for (const Region* r : {&cut, &clipped, &byRegion}) {
            ASSERT_EQ(r->Rects(), Region::FromRects(r->Rects()).Rects()) << "round " << round;
        }
        for (int y = 0; y < 18; ++y) {
            for (int x = 0; x < 18; ++x) {
                ASSERT_EQ(cut.Contains({x, y}), InRect(a, x, y) && !InRect(b, x, y));
                ASSERT_EQ(clipped.Contains({x, y}), InRect(a, x, y) && InRect(b, x, y));
                ASSERT_EQ(byRegion.Contains({x, y}), InRect(a, x, y) && ofRegion.Contains({x, y}));
            }
        }
    }
}

TEST(Region, TouchingPiecesMergeAndEqualityIgnoresTheCut) {
    Region left(TRect{0, 0, 5, 10});
    left.Union(TRect{5, 0, 10, 10});
    ASSERT_EQ(left.Rects().size(), 1u);
    EXPECT_EQ(left.Rects()[0], (TRect{0, 0, 10, 10}));
    Region stacked = Region::FromRects(std::vector<TRect>{{0, 0, 10, 4}, {0, 4, 10, 10}});
    EXPECT_TRUE(left == stacked);
    stacked.Subtract(TRect{3, 3, 4, 4});
    EXPECT_FALSE(left == stacked);
    EXPECT_EQ(Area(stacked), 99);
}

TEST(Region, ExcludingTheMiddleLeavesARing) {
    Region ring(TRect{0, 0, 10, 10});
    ring.Subtract(TRect{2, 2, 8, 8});
    EXPECT_EQ(Area(ring), 100 - 36);
    EXPECT_EQ(ring.Bounds(), (TRect{0, 0, 10, 10}));
    EXPECT_FALSE(ring.Contains({5, 5}));
    EXPECT_TRUE(ring.Contains({1, 5}));
}

TEST(Region, BoundsFollowOffsetsAndEmptyRegionsHaveNone) {
    Region r(TRect{0, 0, 10, 10});
    r.Union(TRect{20, 5, 30, 8});
    EXPECT_EQ(r.Bounds(), (TRect{0, 0, 30, 10}));
    r.Offset(3, -2);
    EXPECT_EQ(r.Bounds(), (TRect{3, -2, 33, 8}));
    EXPECT_TRUE(r.Contains({32, 5}));
    EXPECT_FALSE(r.Contains({2, 0}));
    r.Intersect(Region(TRect{0, 0, 25, 25}));
    // (3, 0, 13, 8) and (23, 3, 25, 6) remain.
    EXPECT_EQ(Area(r), 10 * 8 + 2 * 3);
    EXPECT_TRUE(Region().Bounds().IsEmpty());
    EXPECT_TRUE(Region(TRect{5, 5, 5, 9}).IsEmpty());
}

TEST(RegionHandles, ExtCreateRegionReadsTheRectangleBlock) {
    struct Block {
        RGNDATAHEADER header;
        TRect rects[2];
    } block;
    block.header.nCount = 2;
    block.header.rcBound = {0, 0, 10, 10};
    block.rects[0] = {0, 0, 3, 1};
    block.rects[1] = {5, 0, 7, 1};
    HRGN region = ExtCreateRegion(nullptr, sizeof block, reinterpret_cast<const RGNDATA*>(&block));
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(PtInRegion(region, 2, 0));
    EXPECT_FALSE(PtInRegion(region, 4, 0));
    TRect box;
    EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
    EXPECT_EQ(box, (TRect{0, 0, 7, 1}));
    // A block shorter than its count claims is refused.
    EXPECT_EQ(ExtCreateRegion(nullptr, sizeof(RGNDATAHEADER) + sizeof(TRect), reinterpret_cast<const RGNDATA*>(&block)),
              nullptr);
    EXPECT_EQ(GetRegionData(region, 0, nullptr), 32u + 2 * 16u);
    EXPECT_TRUE(DeleteObject(region));
    EXPECT_FALSE(DeleteObject(region));
}

TEST(RegionHandles, CombineRgnModes) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(out, a, b, RGN_AND), SIMPLEREGION);
    TRect box;
    GetRgnBox(out, &box);
    EXPECT_EQ(box, (TRect{5, 5, 10, 10}));
    EXPECT_EQ(CombineRgn(out, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(out, 7, 7));
    EXPECT_TRUE(PtInRegion(out, 2, 7));
    EXPECT_EQ(CombineRgn(out, a, a, RGN_XOR), NULLREGION);
    for (HRGN r : {a, b, out}) DeleteObject(r);
}

}  // namespace
}  // namespace vcl
