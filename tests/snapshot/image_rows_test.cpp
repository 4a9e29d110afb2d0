#include "snapshot/image_rows.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(BytesPerScanLine, RowsArePaddedToFourBytes) {
    struct Case { std::int32_t width; std::int16_t bits; std::int32_t expected; };
    const Case cases[] = {
        {1, 1, 4}, {31, 1, 4}, {32, 1, 4}, {33, 1, 8}, {64, 1, 8}, {65, 1, 12},
        {1, 4, 4}, {8, 4, 4}, {9, 4, 8}, {17, 4, 12},
        {1, 8, 4}, {4, 8, 4}, {5, 8, 8}, {1023, 8, 1024},
        {1, 24, 4}, {2, 24, 8}, {4, 24, 12}, {5, 24, 16}, {1920, 24, 5760}, {1921, 24, 5764},
        {3, 16, 12}, {3, 32, 12},  // any other bit count counts as 24
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BytesPerScanLine(c.width, c.bits), c.expected) << c.width << " px at " << c.bits << " bits";
    }
}

TEST(BitCount, OnlyOneFourEightAndTwentyFour) {
    for (std::int16_t b = 0; b <= 40; ++b) {
        EXPECT_EQ(IsSupportedBitCount(b), b == 1 || b == 4 || b == 8 || b == 24) << b;
    }
}

TEST(GreyRamp, EntriesSpreadZeroTo255) {
    const auto one = GreyRamp(1);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0].red, 0);
    EXPECT_EQ(one[1].red, 255);
    const auto four = GreyRamp(4);
    ASSERT_EQ(four.size(), 16u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(four[static_cast<std::size_t>(i)].green, 17 * i);
    const auto eight = GreyRamp(8);
    ASSERT_EQ(eight.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const RgbQuad q = eight[static_cast<std::size_t>(i)];
        EXPECT_EQ(q.blue, i);
        EXPECT_EQ(q.green, i);
        EXPECT_EQ(q.red, i);
        EXPECT_EQ(q.reserved, 0);
    }
    EXPECT_TRUE(GreyRamp(24).empty());
    EXPECT_TRUE(GreyRamp(16).empty());
}

TEST(Rotation, OnlyQuarterTurns) {
    struct Case { std::int32_t degrees; bool made; std::int32_t w, h; PlgPoints pts; };
    const std::int32_t W = 30, H = 20;
    const Case cases[] = {
        {90, true, H, W, {Point{0, W}, Point{0, 0}, Point{H, W}}},
        {-270, true, H, W, {Point{0, W}, Point{0, 0}, Point{H, W}}},
        {450, true, H, W, {Point{0, W}, Point{0, 0}, Point{H, W}}},
        {180, true, W, H, {Point{W, H}, Point{0, H}, Point{W, 0}}},
        {-180, true, W, H, {Point{W, H}, Point{0, H}, Point{W, 0}}},
        {270, true, H, W, {Point{H, 0}, Point{H, W}, Point{0, 0}}},
        {-90, true, H, W, {Point{H, 0}, Point{H, W}, Point{0, 0}}},
        {0, false, 0, 0, {}}, {360, false, 0, 0, {}}, {45, false, 0, 0, {}}, {-45, false, 0, 0, {}},
        {91, false, 0, 0, {}},
    };
    for (const Case& c : cases) {
        const auto r = RotationFor(c.degrees, W, H);
        ASSERT_EQ(r.has_value(), c.made) << c.degrees;
        if (!r) continue;
        EXPECT_EQ(r->width, c.w) << c.degrees;
        EXPECT_EQ(r->height, c.h) << c.degrees;
        EXPECT_EQ(r->points, c.pts) << c.degrees;
    }
}

// Where the corner pixels of a 3 x 2 picture land, for every operation.
TEST(MapPixel, CornersFollowTheOperation) {
    const std::int32_t W = 3, H = 2;
    struct Case { const char* what; PlgPoints pts; Point topLeft, topRight, bottomLeft; };
    const Case cases[] = {
        {"mirror left-right", MirrorPoints(W, H, false), {2, 0}, {0, 0}, {2, 1}},
        {"mirror upside down", MirrorPoints(W, H, true), {0, 1}, {2, 1}, {0, 0}},
        // Anticlockwise: the top-left corner goes to the bottom-left of the H x W result.
        {"rotate 90", RotationFor(90, W, H)->points, {0, 2}, {0, 0}, {1, 2}},
        {"rotate 180", RotationFor(180, W, H)->points, {2, 1}, {0, 1}, {2, 0}},
        // Clockwise: the top-left corner goes to the top-right.
        {"rotate 270", RotationFor(270, W, H)->points, {1, 0}, {1, 2}, {0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MapPixel(c.pts, W, H, 0, 0), c.topLeft) << c.what;
        EXPECT_EQ(MapPixel(c.pts, W, H, W - 1, 0), c.topRight) << c.what;
        EXPECT_EQ(MapPixel(c.pts, W, H, 0, H - 1), c.bottomLeft) << c.what;
    }
}

// The pixels of a 3 x 2 picture (top row first) after each operation, at every bit count.
TEST(MovePixels, EveryOperationAtEveryBitCount) {
    const std::vector<std::vector<std::uint32_t>> source = {{1, 2, 3}, {4, 5, 6}};
    struct Case { const char* what; PlgPoints pts; std::vector<std::vector<std::uint32_t>> want; };
    const Case cases[] = {
        {"mirror left-right", MirrorPoints(3, 2, false), {{3, 2, 1}, {6, 5, 4}}},
        {"mirror upside down", MirrorPoints(3, 2, true), {{4, 5, 6}, {1, 2, 3}}},
        {"rotate 90 (anticlockwise)", RotationFor(90, 3, 2)->points, {{3, 6}, {2, 5}, {1, 4}}},
        {"rotate 180", RotationFor(180, 3, 2)->points, {{6, 5, 4}, {3, 2, 1}}},
        {"rotate 270 (clockwise)", RotationFor(270, 3, 2)->points, {{4, 1}, {5, 2}, {6, 3}}},
    };
    // The value a pixel holds at each bit count: 1 bit keeps the lowest bit, 24 bits spreads
    // the value over the three bytes so a swapped byte shows.
    auto encode = [](std::uint32_t v, std::int16_t bits) -> std::uint32_t {
        return bits == 1 ? v & 1u : bits == 24 ? v * 0x010203u : v * 0x11u % (1u << bits);
    };
    for (std::int16_t bits : {std::int16_t{1}, std::int16_t{4}, std::int16_t{8}, std::int16_t{24}}) {
        const std::int32_t stride = BytesPerScanLine(3, bits);
        std::vector<std::uint8_t> src(static_cast<std::size_t>(2 * stride), 0);
        auto put = [&](std::vector<std::uint8_t>& buf, std::int32_t s, std::int32_t rows, int x, int y, std::uint32_t v) {
            std::uint8_t* row = buf.data() + (rows - 1 - y) * s;
            if (bits == 1) row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | (v << (7 - x % 8)));
            else if (bits == 4) row[x / 2] = static_cast<std::uint8_t>(row[x / 2] | (v << (x % 2 ? 0 : 4)));
            else if (bits == 8) row[x] = static_cast<std::uint8_t>(v);
            else for (int k = 0; k < 3; ++k) row[3 * x + k] = static_cast<std::uint8_t>(v >> (8 * k));
        };
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) put(src, stride, 2, x, y, encode(source[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)], bits));
        for (const Case& c : cases) {
            const auto dh = static_cast<std::int32_t>(c.want.size()), dw = static_cast<std::int32_t>(c.want[0].size());
            const std::int32_t dstride = BytesPerScanLine(dw, bits);
            std::vector<std::uint8_t> expected(static_cast<std::size_t>(dh * dstride), 0);
            for (int y = 0; y < dh; ++y)
                for (int x = 0; x < dw; ++x) put(expected, dstride, dh, x, y, encode(c.want[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)], bits));
            std::vector<std::uint8_t> dst(expected.size(), 0);
            MovePixels(src.data(), 3, 2, bits, c.pts, dst.data(), dw, dh);
            EXPECT_EQ(dst, expected) << c.what << " at " << bits << " bits";
        }
    }
}

// Setting a pixel clears what was there, and the neighbours in the same byte stay.
TEST(MovePixels, OverwritesOnlyItsOwnBits) {
    struct Case { std::int16_t bits; std::uint8_t before, after; };
    // 2 x 1 picture, values 1 and 0, mirrored onto a destination filled with ones.
    const Case cases[] = {{1, 0xFF, 0x7F}, {4, 0xFF, 0x01}, {8, 0xFF, 0x00}};
    for (const Case& c : cases) {
        std::vector<std::uint8_t> src(4, 0), dst(4, c.before);
        src[0] = c.bits == 1 ? 0x80 : c.bits == 4 ? 0x10 : 0x01;  // pixel 0 = 1, pixel 1 = 0
        MovePixels(src.data(), 2, 1, c.bits, MirrorPoints(2, 1, false), dst.data(), 2, 1);
        EXPECT_EQ(dst[0], c.after) << c.bits << " bits";
        if (c.bits == 8) {
            EXPECT_EQ(dst[1], 0x01);
        }
        EXPECT_EQ(dst[3], c.before) << "padding of " << c.bits << " bits";
    }
}

TEST(BgrPicture, RowsLieBottomUpWithPadding) {
    BgrPicture p(5, 3);
    EXPECT_EQ(p.Stride(), 16);
    p.Set(0, 0, 1, 2, 3);  // top-left pixel: in the last row of memory
    p.Set(4, 2, 9, 8, 7);  // bottom-right: in the first row
    const std::uint8_t* bits = p.View().bits;
    EXPECT_EQ(bits[2 * 16 + 0], 3);  // blue first
    EXPECT_EQ(bits[2 * 16 + 2], 1);
    EXPECT_EQ(bits[0 * 16 + 12], 7);
    EXPECT_EQ(bits[0 * 16 + 14], 9);
    EXPECT_EQ(p.View().Row(0), bits + 2 * 16);
}

}  // namespace
}  // namespace orv

#include "snapshot/jpeg_sampler.h"

namespace orv::jpeg {
namespace {

// The reduction averages the covered area, each source pixel weighted by its covered part.
TEST(BufferSampler, AreaAveraging) {
    struct Case { std::vector<int> row0, row1; int w, h; std::vector<int> want; };  // one channel shown
    const Case cases[] = {
        {{10, 20, 30, 41}, {50, 60, 70, 80}, 2, 1, {35, 55}},            // 2 x 2 boxes, (140 + 2) / 4
        {{0, 3, 6}, {0, 3, 6}, 2, 2, {1, 5}},                               // (2*0 + 3) / 3, (3 + 2*6) / 3
        {{255, 0, 0, 0}, {0, 0, 0, 0}, 1, 1, {32}},                        // 255 / 8 rounded
        {{9, 9, 9, 9}, {1, 1, 1, 1}, 4, 1, {5, 5, 5, 5}},                   // rows only
        {{7, 8, 9, 10}, {7, 8, 9, 10}, 4, 2, {7, 8, 9, 10}},                // full size: a copy
    };
    for (const Case& c : cases) {
        const int W = static_cast<int>(c.row0.size());
        BgrPicture p(W, 2);
        for (int x = 0; x < W; ++x) {
            p.Set(x, 0, static_cast<std::uint8_t>(c.row0[static_cast<std::size_t>(x)]), 0, 200);
            p.Set(x, 1, static_cast<std::uint8_t>(c.row1[static_cast<std::size_t>(x)]), 0, 200);
        }
        BufferSampler s(p.View(), 0, 0, W, 2);
        ASSERT_TRUE(s.Prepare(c.w, c.h));
        const std::uint8_t* row = s.Row(0);
        for (int x = 0; x < c.w; ++x) {
            EXPECT_EQ(row[3 * x + 2], c.want[static_cast<std::size_t>(x)]) << "pixel " << x << " of " << c.w << "x" << c.h;
            EXPECT_EQ(row[3 * x], 200);  // a flat channel stays flat
        }
    }
}

// The halving fast path and the general path agree (odd offsets force the general one).
TEST(BufferSampler, HalvingEqualsTheGeneralFilter) {
    BgrPicture p(67, 42);
    std::uint32_t seed = 1;
    for (int y = 0; y < 42; ++y)
        for (int x = 0; x < 67; ++x) {
            seed = seed * 1103515245u + 12345u;
            p.Set(x, y, static_cast<std::uint8_t>(seed >> 24), static_cast<std::uint8_t>(seed >> 16), static_cast<std::uint8_t>(seed >> 8));
        }
    // 66 x 42 halves exactly; compare with a box average computed here.
    BufferSampler s(p.View(), 1, 0, 66, 42);
    ASSERT_TRUE(s.Prepare(33, 21));
    for (int y = 0; y < 21; ++y) {
        const std::uint8_t* row = s.Row(y);
        for (int x = 0; x < 33; ++x)
            for (int c = 0; c < 3; ++c) {
                const int sum = p.Row(2 * y)[3 * (1 + 2 * x) + c] + p.Row(2 * y)[3 * (2 + 2 * x) + c] +
                                p.Row(2 * y + 1)[3 * (1 + 2 * x) + c] + p.Row(2 * y + 1)[3 * (2 + 2 * x) + c];
                ASSERT_EQ(row[3 * x + c], (sum + 2) / 4) << x << "," << y;
            }
    }
    EXPECT_FALSE(s.Prepare(67, 10));  // larger than the rectangle
}

}  // namespace
}  // namespace orv::jpeg
