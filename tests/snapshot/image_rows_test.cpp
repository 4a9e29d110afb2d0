#include "snapshot/image_rows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "test_images.h"
#include "snapshot/packed_dib.h"

namespace orv {
namespace {

// Rows padded to 4 bytes at every bit count (any other than 1, 4, 8 counts as 24), also in
// the picture buffer, whose top row lies last, blue first.
TEST(BytesPerScanLine, RowsArePaddedToFourBytes) {
    const int cases[][3] = {{1, 1, 4},  {32, 1, 4}, {33, 1, 8},  {65, 1, 12}, {1, 4, 4},   {8, 4, 4},   {9, 4, 8},         {17, 4, 12},  {1, 8, 4},
                            {4, 8, 4},  {5, 8, 8},  {1, 24, 4},  {2, 24, 8},  {5, 24, 16}, {1921, 24, 5764}, {3, 16, 12}, {3, 32, 12}};
    for (const auto& [width, bits, bytes] : cases) EXPECT_EQ(BytesPerScanLine(width, static_cast<std::int16_t>(bits)), bytes) << width << " px at " << bits;
    BgrPicture p(5, 3);
    p.Set(0, 0, 1, 2, 3), p.Set(4, 2, 9, 8, 7);
    const std::uint8_t* bits = p.View().bits;
    EXPECT_TRUE(p.Stride() == 16 && bits[32] == 3 && bits[34] == 1 && bits[12] == 7 && p.View().Row(0) == bits + 32);
}

// Bits, table size, an entry and its grey: black to white in 2, 16 (steps of 17) and 256 steps.
TEST(GreyRamp, EntriesSpreadZeroTo255) {
    const int cases[][4] = {{1, 2, 0, 0}, {1, 2, 1, 255}, {4, 16, 1, 17}, {4, 16, 14, 238}, {4, 16, 15, 255}, {8, 256, 127, 127}, {8, 256, 255, 255}, {16, 0, 0, 0}, {24, 0, 0, 0}};
    for (const auto& [bits, size, i, grey] : cases) {
        const std::vector<RgbQuad> ramp = GreyRamp(static_cast<std::int16_t>(bits));
        const RgbQuad q = ramp.empty() ? RgbQuad{} : ramp[static_cast<std::size_t>(i)];
        EXPECT_TRUE(ramp.size() == static_cast<std::size_t>(size) && q.red == grey && q.green == grey && q.blue == grey && !q.reserved) << bits << ": " << i;
    }
}

// A picture (rows top first) in the DIB layout at the bit count; each value spread so that
// 1 bit keeps the lowest bit and a swapped byte of 24 bits shows.
std::vector<std::uint8_t> Dib(const std::vector<std::vector<std::uint32_t>>& rows, std::int16_t bits) {
    const auto h = static_cast<std::int32_t>(rows.size()), w = static_cast<std::int32_t>(rows[0].size()), stride = BytesPerScanLine(w, bits);
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(h * stride), 0);
    for (int i = 0, x = 0, y = 0; i < w * h; ++i, x = i % w, y = i / w) {
        const std::uint32_t u = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)], v = bits == 1 ? u & 1u : bits == 24 ? u * 0x010203u : u * 0x11u % (1u << bits);
        std::uint8_t* row = buf.data() + (h - 1 - y) * stride;
        if (bits == 1) row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | (v << (7 - x % 8)));
        else if (bits == 4) row[x / 2] = static_cast<std::uint8_t>(row[x / 2] | (v << (x % 2 ? 0 : 4)));
        else if (bits == 8) row[x] = static_cast<std::uint8_t>(v);
        else for (int k = 0; k < 3; ++k) row[3 * x + k] = static_cast<std::uint8_t>(v >> (8 * k));
    }
    return buf;
}

// The pixels of a 3 x 2 picture after each operation at every bit count; quarter turns by
// any angle that is one modulo 360, no other.
TEST(MovePixels, EveryOperationAtEveryBitCount) {
    const std::vector<std::vector<std::uint32_t>> source = {{1, 2, 3}, {4, 5, 6}}, quarter = {{3, 6}, {2, 5}, {1, 4}},
                                                  half = {{6, 5, 4}, {3, 2, 1}}, threeQuarters = {{4, 1}, {5, 2}, {6, 3}};
    const std::pair<std::optional<PlgPoints>, std::vector<std::vector<std::uint32_t>>> cases[] = {
        {MirrorPoints(3, 2, false), {{3, 2, 1}, {6, 5, 4}}}, {MirrorPoints(3, 2, true), {{4, 5, 6}, {1, 2, 3}}},
        {RotationFor(90, 3, 2)->points, quarter},   {RotationFor(-270, 3, 2)->points, quarter}, {RotationFor(450, 3, 2)->points, quarter},
        {RotationFor(180, 3, 2)->points, half},     {RotationFor(-180, 3, 2)->points, half},
        {RotationFor(270, 3, 2)->points, threeQuarters}, {RotationFor(-90, 3, 2)->points, threeQuarters}};
    for (std::int16_t bits : {1, 4, 8, 24}) {
        for (std::size_t k = 0; k < std::size(cases); ++k) {
            const auto& [pts, want] = cases[k];
            const std::vector<std::uint8_t> expected = Dib(want, bits);
            std::vector<std::uint8_t> dst(expected.size(), 0);
            MovePixels(Dib(source, bits).data(), 3, 2, bits, *pts, dst.data(), static_cast<std::int32_t>(want[0].size()), static_cast<std::int32_t>(want.size()));
            EXPECT_EQ(dst, expected) << "case " << k << " at " << bits << " bits";
        }
    }
    for (int degrees : {0, 360, 45, -45, 91}) EXPECT_FALSE(RotationFor(degrees, 3, 2)) << degrees;
}

// Setting a pixel clears what was there, and its neighbours in the byte and the padding stay.
TEST(MovePixels, OverwritesOnlyItsOwnBits) {
    const std::pair<std::int16_t, std::uint8_t> cases[] = {{1, 0x7F}, {4, 0x01}, {8, 0x00}};  // 2 x 1, values 1, 0, mirrored
    for (const auto& [bits, after] : cases) {
        std::vector<std::uint8_t> src(4, 0), dst(4, 0xFF);
        src[0] = bits == 1 ? 0x80 : bits == 4 ? 0x10 : 0x01;
        MovePixels(src.data(), 2, 1, bits, MirrorPoints(2, 1, false), dst.data(), 2, 1);
        EXPECT_EQ(dst, (std::vector<std::uint8_t>{after, static_cast<std::uint8_t>(bits == 8 ? 0x01 : 0xFF), 0xFF, 0xFF})) << bits << " bits";
    }
}

// Full HD, where the mapping's products pass 32 bits: the chosen pixels land where worked out
// by hand, and every other pixel lands somewhere (no black left).
TEST(MovePixels, FullHdLandsWhereWorkedOutByHand) {
    const BgrPicture source = test::HdSource();
    for (const test::HdCase& c : test::kHdCases) {
        BgrPicture out(c.width, c.height);
        MovePixels(source.View().bits, test::kHdW, test::kHdH, 24, c.op < 2 ? MirrorPoints(test::kHdW, test::kHdH, c.op == 1) : RotationFor(c.op, test::kHdW, test::kHdH)->points, out.Bits(), c.width, c.height);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(std::vector<int>(out.Row(c.to[i][1]) + 3 * c.to[i][0], out.Row(c.to[i][1]) + 3 * c.to[i][0] + 3), (std::vector<int>{99, 10 * i + 1, 200 + i})) << c.op << ": pixel " << i;
        EXPECT_EQ(std::count(out.Bits(), out.Bits() + 3 * c.width * c.height, 0x40), 3 * (c.width * c.height - 6)) << c.op;  // rows of 5760 and 3240 bytes: no padding
    }
}

// A 3 x 2 picture as a packed DIB, written out by hand: the header, the bottom row first, rows padded
// to 12 bytes with zeros (not the source's bytes); as a bitmap file ImageMagick reads the same pixels.
TEST(PackedDib, BottomRowFirstPaddedWithZeros) {
    BgrPicture p(3, 2);
    std::fill_n(p.Bits(), 2 * p.Stride(), std::uint8_t{0xEE});
    for (int i = 0; i < 6; ++i) p.Set(i % 3, i / 3, static_cast<std::uint8_t>(3 * i + 1), static_cast<std::uint8_t>(3 * i + 2), static_cast<std::uint8_t>(3 * i + 3));
    const std::vector<std::uint8_t> dib = {40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,  // 3 x 2 bottom-up, 24 bits
                                           24, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 24 bytes, 72 dpi
                                           12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0, 3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0};
    EXPECT_EQ(PackedDib24(p.View()), dib);
    EXPECT_TRUE(PackedDib24({}).empty() && BmpFile24({p.View().bits, 3, 0, p.Stride()}).empty());
#ifndef _WIN32  // in the build folder: no other worktree's run writes there
    const std::vector<std::uint8_t> file = BmpFile24(p.View());
    std::ofstream("packed_dib.bmp", std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    ASSERT_EQ(std::system("convert packed_dib.bmp -depth 8 rgb:packed_dib.rgb"), 0) << "ImageMagick's convert";
    std::ifstream in("packed_dib.rgb", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string("\1\2\3\4\5\6\7\10\11\12\13\14\15\16\17\20\21\22", 18));  // 1 to 18
#endif
}

}  // namespace
}  // namespace orv
