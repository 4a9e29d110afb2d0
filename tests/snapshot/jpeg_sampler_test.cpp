#include "snapshot/jpeg_sampler.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orv::jpeg {
namespace {

// Exact halving at every width from 1 to 48 (vector loops and their tails), with random
// bytes and with saturated ones: each output byte is (sum of its four source bytes + 2) / 4.
TEST(BufferSamplerHalving, EveryWidthMatchesTheBoxAverage) {
    std::uint32_t seed = 12345;
    for (int fill = 0; fill < 2; ++fill) {
        for (int w = 1; w <= 48; ++w) {
            BgrPicture p(2 * w + 1, 6);
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 2 * w + 1; ++x) {
                    seed = seed * 1103515245u + 12345u;
                    const auto v = [&](int shift) { return fill ? std::uint8_t{255} : static_cast<std::uint8_t>(seed >> shift); };
                    p.Set(x, y, v(24), v(16), v(8));
                }
            BufferSampler s(p.View(), 1, 0, 2 * w, 6);
            ASSERT_TRUE(s.Prepare(w, 3));
            for (int y = 0; y < 3; ++y) {
                const std::uint8_t* row = s.Row(y);
                for (int x = 0; x < w; ++x)
                    for (int c = 0; c < 3; ++c) {
                        const int sum = p.Row(2 * y)[3 * (1 + 2 * x) + c] + p.Row(2 * y)[3 * (2 + 2 * x) + c] +
                                        p.Row(2 * y + 1)[3 * (1 + 2 * x) + c] + p.Row(2 * y + 1)[3 * (2 + 2 * x) + c];
                        ASSERT_EQ(row[3 * x + c], (sum + 2) / 4) << "w " << w << " at " << x << "," << y << " c " << c;
                    }
            }
        }
    }
}

}  // namespace
}  // namespace orv::jpeg
