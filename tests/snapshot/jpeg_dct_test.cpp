#include "snapshot/jpeg_dct.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "snapshot/jpeg_tables.h"
#include "test_images.h"

namespace orv::jpeg {
namespace {

// The DCT of T.81 A.3.3 straight from its definition.
double Textbook(const float* s, int stride, int u, int v) {
    const double pi = 3.14159265358979323846;
    double sum = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            sum += s[y * stride + x] * std::cos((2 * x + 1) * u * pi / 16) * std::cos((2 * y + 1) * v * pi / 16);
    const double cu = u == 0 ? 1 / std::sqrt(2.0) : 1, cv = v == 0 ? 1 / std::sqrt(2.0) : 1;
    return 0.25 * cu * cv * sum;
}

enum class Kind { Flat, Random, Ramp, Checker, Extreme };

void Fill(Kind k, test::Rng& rng, float* s, int stride) {
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            float v = 0;
            switch (k) {
            case Kind::Flat: v = 37.25f; break;
            case Kind::Random: v = static_cast<float>(rng.Below(25600)) / 100.0f - 128.0f; break;
            case Kind::Ramp: v = static_cast<float>(x * 16 + y * 3) - 120.0f; break;
            case Kind::Checker: v = (x + y) % 2 ? 127.0f : -128.0f; break;
            case Kind::Extreme: v = rng.Below(2) ? 127.0f : -128.0f; break;
            }
            s[y * stride + x] = v;
        }
}

// With all quantisation values 1 the output is the rounded transform itself.
TEST(Dct, EqualsTheDefinitionWithinRounding) {
    QuantTable ones;
    ones.zigzag.fill(1);
    ComputeDivisors(ones);
    test::Rng rng(3);
    for (Kind k : {Kind::Flat, Kind::Random, Kind::Ramp, Kind::Checker, Kind::Extreme}) {
        for (int rep = 0; rep < 20; ++rep) {
            float s[8 * 11];
            Fill(k, rng, s, 11);
            std::int16_t out[64];
            DctQuantise(s, 11, ones.divisors.data(), out);
            for (int v = 0; v < 8; ++v)
                for (int u = 0; u < 8; ++u) {
                    const double want = Textbook(s, 11, u, v);
                    const int z = kZigzagOfNatural[static_cast<std::size_t>(v * 8 + u)];
                    ASSERT_LE(std::fabs(out[z] - want), 0.5 + 1e-3) << "kind " << static_cast<int>(k) << " u " << u << " v " << v;
                }
        }
    }
}

// The vector path and the portable path agree bit for bit, at every quality.
TEST(Dct, VectorAndPortablePathsAgree) {
    test::Rng rng(5);
    for (int q : {1, 10, 50, 75, 80, 95, 100}) {
        const QuantTable t = MakeQuantTable(kLuminanceBase, QualityScale(q));
        for (int rep = 0; rep < 300; ++rep) {
            float s[64];
            Fill(static_cast<Kind>(rep % 5), rng, s, 8);
            std::int16_t a[64], b[64];
            DctQuantise(s, 8, t.divisors.data(), a);
            DctQuantisePortable(s, 8, t.divisors.data(), b);
            for (int z = 0; z < 64; ++z) ASSERT_EQ(a[z], b[z]) << "q " << q << " z " << z;
        }
    }
}

// Every path this processor has (SSE2, AVX2 chosen at run time) agrees with the portable
// one bit for bit, whole rows at once, non-zero masks included.
TEST(Dct, EveryPathAgreesRowByRow) {
    test::Rng rng(11);
    constexpr int kBlocks = 5, kStride = 8 * kBlocks + 3;
    std::vector<float> s(8 * kStride);
    int paths = 0;
    for (DctPath path : {DctPath::Portable, DctPath::Sse2, DctPath::Avx2}) {
        if (!DctPathAvailable(path)) continue;
        ++paths;
        for (int q : {1, 50, 80, 100}) {
            const QuantTable t = MakeQuantTable(kChrominanceBase, QualityScale(q));
            for (int rep = 0; rep < 60; ++rep) {
                for (int b = 0; b < kBlocks; ++b) Fill(static_cast<Kind>((rep + b) % 5), rng, s.data() + 8 * b, kStride);
                std::int16_t got[64 * kBlocks], want[64];
                std::uint64_t masks[kBlocks];
                DctQuantiseRow(path, s.data(), kStride, kBlocks, t.divisors.data(), got, masks);
                for (int b = 0; b < kBlocks; ++b) {
                    DctQuantisePortable(s.data() + 8 * b, kStride, t.divisors.data(), want);
                    for (int z = 0; z < 64; ++z) ASSERT_EQ(got[64 * b + z], want[z]) << "path " << static_cast<int>(path) << " q " << q << " z " << z;
                    ASSERT_EQ(masks[b], NonZeroMask(want)) << "path " << static_cast<int>(path);
                }
            }
        }
    }
    EXPECT_TRUE(DctPathAvailable(BestDctPath()));
    EXPECT_GE(paths, 1);
}

// Quantisation rounds halves to even: the DC of a flat block is 8 x its level, so 0.0625
// gives 0.5 -> 0, 0.1875 gives 1.5 -> 2 and 0.3125 gives 2.5 -> 2.
TEST(Dct, QuantisationRoundsHalvesToEven) {
    QuantTable ones;
    ones.zigzag.fill(1);
    ComputeDivisors(ones);
    struct Case { float level; int dc; };
    const Case cases[] = {{0.0625f, 0}, {0.1875f, 2}, {-0.0625f, 0}, {-0.1875f, -2}, {0.3125f, 2}};
    for (const Case& c : cases) {
        float s[64];
        for (float& v : s) v = c.level;
        std::int16_t out[64];
        DctQuantise(s, 8, ones.divisors.data(), out);
        EXPECT_EQ(out[0], c.dc) << c.level;
        DctQuantisePortable(s, 8, ones.divisors.data(), out);
        EXPECT_EQ(out[0], c.dc) << c.level;
    }
}

TEST(NonZeroMask, MarksEveryNonZeroPosition) {
    test::Rng rng(9);
    for (int rep = 0; rep < 200; ++rep) {
        std::int16_t zz[64] = {};
        std::uint64_t want = 0;
        for (int z = 0; z < 64; ++z) {
            if (rng.Below(4) == 0) {
                zz[z] = static_cast<std::int16_t>(rng.Below(2) ? -1 - rng.Below(2000) : 1 + rng.Below(2000));
                want |= 1ull << z;
            }
        }
        ASSERT_EQ(NonZeroMask(zz), want);
    }
}

}  // namespace
}  // namespace orv::jpeg
