// The snapshot's arithmetic against values worked out by hand.
#include <gtest/gtest.h>

#include <limits>

#include "snapshot/snap_rules.h"

namespace orv {
namespace {

// Faults: the factor rounded halves to even (3.125 as "3.12") or without its two decimals;
// the crosshair rounded halves up (2.50 as 3); a key acting with Shift or Alt held, or F6
// acting; the x value not padded to six characters, or a longer one breaking the label.
TEST(ZoomWindow, LabelsThicknessAndKeys) {
    struct Case { int value; const char* label; int thickness; };
    for (auto [value, label, thickness] : {Case{20, "5.00", 5}, {75, "1.33", 1}, {32, "3.13", 3}, {40, "2.50", 2},
                                           {57, "1.75", 2}, {1, "100.00", 100}, {100, "1.00", 1}, {3, "33.33", 33}}) {
        EXPECT_EQ(ZoomLabel(value), label) << value;
        EXPECT_EQ(CrosshairThickness(value), thickness) << value;
    }
    struct Key { unsigned vk; bool shift, alt; int value; };
    for (auto [vk, shift, alt, value] : {Key{0x70, false, false, 100}, {0x71, false, false, 75}, {0x72, false, false, 50},
                                         {0x73, false, false, 25}, {0x74, false, false, 1}, {0x72, true, false, 0},
                                         {0x72, false, true, 0}, {0x75, false, false, 0}, {0x1B, false, false, 0}})
        EXPECT_EQ(ZoomScrollForKey(vk, shift, alt), value) << vk << shift << alt;
    EXPECT_EQ(PointerLabel(512, 384), "X= 512   :Y= 384");
    EXPECT_EQ(PointerLabel(0, -7), "X= 0     :Y= -7");
    EXPECT_EQ(PointerLabel(-10000, 5), "X= -10000:Y= 5");
    EXPECT_EQ(PointerLabel(-100000, 5), "X= -100000:Y= 5");
}

// Faults: a part measured from the wrong edge, the crosshair's y without its thickness, the
// source not scaled by value / 100 or rounded halves up (142.5 as 143), the half sizes' +1 and
// -1 swapped, negative sizes for a tiny window.
TEST(ZoomWindow, LayoutAndSourceArea) {
    const ZoomParts parts{302, 200, 17, 16, 40, 14, 5, 8, 6};
    const ZoomLayout l = LayOutZoom(parts);
    EXPECT_EQ(std::vector<int>({l.scrollLeft, l.scrollHeight, l.pictureWidth, l.pictureHeight, l.label1Top, l.label2Left,
                                l.label2Top, l.hLineRight, l.hLineY, l.vLineX, l.vLineBottom, l.markerLeft, l.markerTop}),
              std::vector<int>({285, 184, 285, 184, 184, 262, 186, 317, 97, 151, 200, 147, 94}));
    const ZoomLayout tiny = LayOutZoom({10, 10, 17, 16, 40, 14, 1, 8, 6});
    EXPECT_EQ(std::vector<int>({tiny.scrollHeight, tiny.pictureWidth, tiny.pictureHeight}), std::vector<int>({0, 0, 0}));
    struct Case { int value; std::vector<int> expected; };  // src w, h, dst w, h, half w, h
    for (const auto& [value, expected] : {Case{20, {57, 37, 285, 184, 29, 17}}, {50, {142, 92, 285, 184, 72, 45}},
                                          {100, {285, 184, 285, 184, 143, 91}}, {1, {3, 2, 285, 184, 2, 0}}}) {
        const ZoomSource s = ZoomSourceFor(parts, value);
        EXPECT_EQ(std::vector<int>({s.srcWidth, s.srcHeight, s.dstWidth, s.dstHeight, s.halfWidth, s.halfHeight}), expected) << value;
    }
}

// Faults: the centre following the pointer to 100 pixels or more beyond the screen on either
// side, or stopping short of that (an off-by-one at either bound).
TEST(ZoomWindow, ViewFollowsThePointerUntilAHundredPixelsBeyondTheScreen) {
    struct Case { int pointer, centre; };
    for (auto [pointer, centre] : {Case{500, 500}, {0, 0}, {-71, -71}, {-72, 7}, {1094, 1094}, {1095, 7}, {-5000, 7}})
        EXPECT_EQ(FollowPointer(7, pointer, 29, 0, 1024), centre) << pointer;
    // A second monitor to the left: the span starts at -1280.
    EXPECT_EQ(std::pair(FollowPointer(7, -1351, 29, -1280, 1024), FollowPointer(7, -1352, 29, -1280, 1024)), std::pair(-1351, 7));
}

// Faults: the release pixel left out (or the +1 put on the press corner), a backwards drag
// measured from the wrong corner, a click capturing nothing, an empty rectangle captured; the
// counter wrapping to a negative number; fewer than four digits, the wrong extension.
TEST(Snapshot, RectangleNameAndCounter) {
    struct Case { float x1, x2, y1, y2; std::optional<SnapRect> rect; };
    for (const auto& [x1, x2, y1, y2, rect] :
         {Case{100, 50, 100, 50, SnapRect{51, 51, 49, 49}}, {10, 20, 30, 35, SnapRect{10, 30, 11, 6}},
          {10, 10, 10, 10, SnapRect{10, 10, 1, 1}}, {10, 9, 10, 20, std::nullopt}, {10, 20, 10, 9, std::nullopt},
          {-1930, -1900, -5, 4, SnapRect{-1930, -5, 31, 10}}})
        EXPECT_EQ(CaptureRect(x1, x2, y1, y2), rect) << x1 << "," << y1 << " to " << x2 << "," << y2;
    EXPECT_EQ(NextSnapCount(0), 1);
    EXPECT_EQ(NextSnapCount(std::numeric_limits<std::int32_t>::max()), std::nullopt);
    EXPECT_EQ(SnapFileName("C:\\Shots", "Snap", 1, 1), "C:\\Shots\\Snap0001.JPG");
    EXPECT_EQ(SnapFileName("C:\\Shots", "Snap", 10000, 2), "C:\\Shots\\Snap10000.BMP");
    EXPECT_EQ(SnapFileName("D:", "", 42, 0), "D:\\0042.BMP");
    EXPECT_EQ(SnapFileName("D:", "x", -5, 1), "D:\\x-0005.JPG");
}

// Faults: the pause rounded halves up or not at all, never ending when midnight comes first.
TEST(Snapshot, PauseEndsOnTheRoundedSecondOrAtMidnight) {
    struct Case { double start, notYet, over; };
    for (auto [start, notYet, over] : {Case{100.3, 100.9, 101.0}, {1.25, 1.9, 2.0}, {86399.9, 86399.99, 0.05}})
        EXPECT_EQ(std::pair(SnapPause(start).Over(notYet), SnapPause(start).Over(over)), std::pair(false, true)) << start;
    EXPECT_TRUE(SnapPause(0.25).Over(0.25)) << "0.5 rounds to 0: no pause";
    EXPECT_TRUE(SnapPause(100.1).Over(100.1));
}

}  // namespace
}  // namespace orv
