#include "core/free_rectangle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <utility>

namespace grabwell::core {
namespace {

TEST(RubberBand, NormalisesEitherDragDirection) {
    Rect r{30, 40, 10, 20};
    NormalizeRect(r);
    EXPECT_EQ(r, (Rect{10, 20, 30, 40}));
    r = {10, 40, 30, 20};
    NormalizeRect(r);
    EXPECT_EQ(r, (Rect{10, 20, 30, 40}));
    r = {5, 7, 5, 7};
    NormalizeRect(r);
    EXPECT_EQ(r, (Rect{5, 7, 5, 7}));
    EXPECT_EQ(TrackedRect({100, 50}, {-20, 80}), (Rect{-20, 50, 100, 80}));
    EXPECT_EQ(TrackedRect({3, 9}, {3, 2}), (Rect{3, 2, 3, 9}));
}

TEST(RubberBand, EmptyWhenEitherSideIsNotPositive) {
    EXPECT_FALSE(IsRectEmpty({0, 0, 1, 1}));
    EXPECT_TRUE(IsRectEmpty({0, 0, 0, 5}));
    EXPECT_TRUE(IsRectEmpty({0, 0, 5, 0}));
    EXPECT_TRUE(IsRectEmpty({10, 0, 5, 5}));
    const auto lo = std::numeric_limits<std::int32_t>::min();
    const auto hi = std::numeric_limits<std::int32_t>::max();
    EXPECT_FALSE(IsRectEmpty({lo, lo, hi, hi}));
}

TEST(RubberBand, StrokeTable) {
    const auto s = RubberBandStrokes({10, 20, 50, 80});
    EXPECT_EQ(s[0], (Stroke{10, 20, 40, 1}));
    EXPECT_EQ(s[1], (Stroke{10, 80, 1, -60}));
    EXPECT_EQ(s[2], (Stroke{49, 20, 1, 60}));
    EXPECT_EQ(s[3], (Stroke{50, 79, -40, 1}));
}

using Pixel = std::pair<std::int32_t, std::int32_t>;

// How often each pixel is touched, with a negative extent covering the
// pixels before the start point as the blitter does.
std::map<Pixel, int> Coverage(const std::array<Stroke, 4>& strokes) {
    std::map<Pixel, int> hits;
    for (const Stroke& s : strokes) {
        const std::int32_t x0 = s.width < 0 ? s.x + s.width : s.x;
        const std::int32_t y0 = s.height < 0 ? s.y + s.height : s.y;
        const std::int32_t w = s.width < 0 ? -s.width : s.width;
        const std::int32_t h = s.height < 0 ? -s.height : s.height;
        for (std::int32_t y = y0; y < y0 + h; ++y)
            for (std::int32_t x = x0; x < x0 + w; ++x) ++hits[{x, y}];
    }
    return hits;
}

TEST(RubberBand, StrokesTouchExactlyTheOutlineAndEachCornerTwice) {
    for (const Rect r : {Rect{0, 0, 2, 2}, Rect{10, 20, 13, 25}, Rect{-8, -3, 7, 1}}) {
        std::set<Pixel> border;
        for (std::int32_t y = r.top; y < r.bottom; ++y)
            for (std::int32_t x = r.left; x < r.right; ++x)
                if (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1)
                    border.insert({x, y});
        const std::set<Pixel> corners{{r.left, r.top},
                                      {r.right - 1, r.top},
                                      {r.left, r.bottom - 1},
                                      {r.right - 1, r.bottom - 1}};
        std::set<Pixel> touched;
        std::set<Pixel> twice;
        for (const auto& [pixel, count] : Coverage(RubberBandStrokes(r))) {
            touched.insert(pixel);
            EXPECT_LE(count, 2);
            if (count == 2) twice.insert(pixel);
        }
        EXPECT_EQ(touched, border);
        // Drawn with an inverting pattern, the corners flip back: the outline
        // shows with its four corner pixels missing.
        EXPECT_EQ(twice, corners);
    }
}

TEST(RubberBand, StrokesDoNotWrapOnExtremeEdges) {
    const auto lo = std::numeric_limits<std::int32_t>::min();
    const auto hi = std::numeric_limits<std::int32_t>::max();
    const auto s = RubberBandStrokes({lo, lo, hi, hi});
    EXPECT_EQ(s[0].width, hi);
    EXPECT_EQ(s[1].height, lo);
    EXPECT_EQ(s[3].width, lo);
}

TEST(RubberBand, LabelIsWidthByHeight) {
    EXPECT_EQ(RubberBandLabel({0, 0, 320, 200}), "320x200");
    EXPECT_EQ(RubberBandLabel({-50, -10, -49, -10}), "1x0");
    EXPECT_EQ(RubberBandLabel({30, 40, 10, 20}), "20x20");
    const auto lo = std::numeric_limits<std::int32_t>::min();
    const auto hi = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(RubberBandLabel({lo, 0, hi, 1}), "4294967295x1");
}

TEST(RubberBand, LabelCentredWithHalvesToEven) {
    // l + r - cx: 5 -> 2, 7 -> 4, -3 -> -2; t + b - cy: 9 -> 4, 11 -> 6.
    EXPECT_EQ(LabelOrigin({0, 0, 10, 20}, {5, 11}), (Point{2, 4}));
    EXPECT_EQ(LabelOrigin({1, 3, 10, 20}, {4, 12}), (Point{4, 6}));
    EXPECT_EQ(LabelOrigin({-10, 0, 10, 4}, {3, 4}), (Point{-2, 0}));
    EXPECT_EQ(LabelOrigin({0, 0, 100, 50}, {40, 10}), (Point{30, 20}));
    const auto hi = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(LabelOrigin({hi - 10, hi - 10, hi, hi}, {2, 4}), (Point{hi - 6, hi - 7}));
}

}  // namespace
}  // namespace grabwell::core
