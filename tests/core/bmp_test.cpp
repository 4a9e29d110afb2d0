#include "base/bmp.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(Bmp, HeaderAndPaddedBottomUpRows) {
    // 3 x 2 picture, top row red, bottom row blue; rows are 9 bytes padded to 12.
    const std::uint8_t px[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0xEE,  // stride 10 with a junk byte
                               255, 0, 0, 255, 0, 0, 255, 0, 0, 0xEE};
    auto f = EncodeBmp24(3, 2, px, 10);
    ASSERT_EQ(f.size(), 54u + 24u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(U32(f, 2), f.size());
    EXPECT_EQ(U32(f, 10), 54u);
    EXPECT_EQ(U32(f, 18), 3u);
    EXPECT_EQ(U32(f, 22), 2u);
    EXPECT_EQ(f[28], 24);
    EXPECT_EQ(U32(f, 34), 24u);
    // The file starts with the bottom row (blue), then padding zeros, then red.
    EXPECT_EQ(f[54], 255);
    EXPECT_EQ(f[56], 0);
    EXPECT_EQ(f[63], 0);
    EXPECT_EQ(f[66], 0);
    EXPECT_EQ(f[68], 255);
}

TEST(Bmp, RefusesImpossibleSizes) {
    const std::uint8_t px[3] = {};
    struct Case { std::uint32_t w, h, stride; };
    const Case cases[] = {{0, 1, 3}, {1, 0, 3}, {0x8000, 1, 0x18000}, {1, 0x8000, 3}, {2, 1, 3}};
    for (const auto& c : cases) EXPECT_TRUE(EncodeBmp24(c.w, c.h, px, c.stride).empty()) << c.w << "x" << c.h;
    EXPECT_EQ(Bmp24Stride(1), 4u);
    EXPECT_EQ(Bmp24Stride(4), 12u);
    EXPECT_EQ(Bmp24Stride(5), 16u);
}

}  // namespace
}  // namespace orv
