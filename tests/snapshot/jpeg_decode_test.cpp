// libjpeg-turbo, the independent decoder, reads every file (libjpeg_check.h says how closely);
// pictures come back within PSNR bounds.
#include <gtest/gtest.h>

#include "libjpeg_check.h"
#include "test_images.h"

namespace orv {
namespace {

using test::Factors;

std::string Describe(int w, int h, int q, const Factors& f) {
    return std::to_string(w) + "x" + std::to_string(h) + " q" + std::to_string(q) + " factors " + std::to_string(((f[0] * 10 + f[1]) * 100 + f[2] * 10 + f[3]) * 100 + f[4] * 10 + f[5]);
}

// Sizes around 8 and 16, tiny and long ones, with every sampling (fractional ratios too:
// libjpeg cannot upsample those, but reads their coefficients), at low and high qualities.
TEST(Decode, OddSizesAndSamplingsCarryTheStagesCoefficients) {
    const std::pair<int, int> sizes[] = {{1, 1}, {6, 5}, {17, 13}, {4095, 3}, {3, 300}, {7, 9}, {8, 8}, {9, 8}, {15, 16}, {16, 17}, {31, 33}, {48, 49}, {64, 63}};
    const Factors factors[] = {{2, 2, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}, {2, 1, 1, 1, 1, 1}, {1, 2, 1, 1, 1, 1}, {4, 1, 1, 1, 1, 1},
                               {1, 4, 1, 1, 1, 1}, {4, 2, 2, 1, 2, 1}, {2, 2, 2, 2, 2, 2}, {1, 1, 2, 2, 1, 1}, {3, 1, 1, 1, 1, 1},
                               {3, 3, 1, 1, 1, 1}, {1, 1, 0, 0, 0, 0}, {4, 4, 1, 1, 1, 1}, {3, 2, 2, 1, 1, 1}, {4, 3, 3, 3, 2, 3}};
    for (int q : {80, 3, 97})
        for (auto [w, h] : sizes) {
            const BgrPicture p = (w + h + q) % 2 ? test::PhotoLike(w, h, static_cast<std::uint32_t>(w * 31 + h)) : test::ScreenshotLike(w, h);
            for (const Factors& f : factors) {
                const std::vector<std::uint8_t> file = test::Encode(p, q, f, q == 3 ? "comment" : "");
                EXPECT_EQ(test::CheckCoefficients(file, p), "") << Describe(w, h, q, f);
                if (f == Factors{3, 2, 2, 1, 1, 1} || f == Factors{4, 3, 3, 3, 2, 3}) continue;  // fractional ratios
                const test::Decoded d = test::DecodePixels(file);
                EXPECT_TRUE(d.problem.empty() && d.picture.Width() == w && d.picture.Height() == h) << d.problem << " " << Describe(w, h, q, f);
            }
        }
}

// The pictures come back close (the photo's red and blue run opposite ways: a swap shows).
TEST(Decode, PicturesComeBackClose) {
    struct Case { int w, h, q; Factors f; bool photo; double minPsnr; };
    const Case cases[] = {
        {320, 200, 80, {2, 2, 1, 1, 1, 1}, true, 33.0},  {320, 200, 95, {1, 1, 1, 1, 1, 1}, true, 41.0},
        {320, 200, 100, {1, 1, 1, 1, 1, 1}, true, 49.0}, {321, 199, 80, {2, 2, 1, 1, 1, 1}, false, 26.0},
        {320, 200, 50, {2, 1, 1, 1, 1, 1}, true, 31.0},  {320, 200, 10, {2, 2, 1, 1, 1, 1}, true, 24.0},
        {48, 48, 90, {2, 2, 1, 1, 1, 1}, true, 30.0},
    };
    for (const Case& c : cases) {
        const BgrPicture p = c.photo ? test::PhotoLike(c.w, c.h) : test::ScreenshotLike(c.w, c.h);
        const test::Decoded d = test::DecodePixels(test::Encode(p, c.q, c.f));
        ASSERT_EQ(d.problem, "");
        EXPECT_GE(test::Psnr(p.View(), d.picture.View()), c.minPsnr) << Describe(c.w, c.h, c.q, c.f);
    }
}

}  // namespace
}  // namespace orv
