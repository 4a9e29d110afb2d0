#include "snapshot/jpeg_tables.h"

#include <gtest/gtest.h>

#include <cmath>

#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_error.h"

namespace orv::jpeg {
namespace {

// T.81 Figure A.6: the zig-zag index of each position, row by row.
constexpr std::uint8_t kFigureA6[64] = {
    0,  1,  5,  6,  14, 15, 27, 28, 2,  4,  7,  13, 16, 26, 29, 42, 3,  8,  12, 17, 25, 30,
    41, 43, 9,  11, 18, 24, 31, 40, 44, 53, 10, 19, 23, 32, 39, 45, 52, 54, 20, 22, 33, 38,
    46, 51, 55, 60, 21, 34, 37, 47, 50, 56, 59, 61, 35, 36, 48, 49, 57, 58, 62, 63};

TEST(Zigzag, IsTheStandardOrder) {
    for (int n = 0; n < 64; ++n) {
        EXPECT_EQ(kZigzagOfNatural[static_cast<std::size_t>(n)], kFigureA6[n]) << n;
        EXPECT_EQ(kNaturalOfZigzag[kFigureA6[n]], n) << n;
    }
}

TEST(AanScale, MatchesTheListedConstants) {
    const double listed[8] = {0.353553390593273, 0.25489778955208, 0.270598050073098, 0.300672443467523,
                              0.353553390593273, 0.449988111568207, 0.653281482438186, 1.28145772387074};
    for (int k = 0; k < 8; ++k) EXPECT_NEAR(kAanScale[static_cast<std::size_t>(k)], listed[k], 1e-13) << k;
}

// Integer half-to-even rounding of num / den (num >= 0): the rule the tables follow.
int RoundHalfEvenRatio(long num, long den) {
    long q = num / den, r = num % den;
    if (2 * r > den || (2 * r == den && (q & 1))) ++q;
    return static_cast<int>(q);
}

TEST(Quality, ScaleRoundsHalvesToEven) {
    struct Case { int q; int scale; };
    const Case cases[] = {{1, 5000}, {2, 2500}, {3, 1667}, {7, 714}, {16, 312}, {48, 104}, {49, 102},
                          {50, 100}, {75, 50}, {80, 40}, {99, 2}, {100, 0}};
    for (const Case& c : cases) EXPECT_EQ(QualityScale(c.q), c.scale) << c.q;
    for (int q = 1; q < 50; ++q) EXPECT_EQ(QualityScale(q), RoundHalfEvenRatio(5000, q)) << q;
}

TEST(Quality, EveryEntryFollowsTheFormula) {
    for (int q = 1; q <= 100; ++q) {
        cJpeg j;
        j.Quality(q);
        const int scale = q < 50 ? RoundHalfEvenRatio(5000, q) : 200 - 2 * q;
        for (int t = 0; t < 2; ++t) {
            const auto& base = t == 0 ? kLuminanceBase : kChrominanceBase;
            const QuantTable& table = j.QuantTableAt(t);
            for (int n = 0; n < 64; ++n) {
                int v = RoundHalfEvenRatio(static_cast<long>(base[static_cast<std::size_t>(n)]) * scale + 50, 100);
                v = v < 1 ? 1 : v > 255 ? 255 : v;
                const int z = kFigureA6[n];
                ASSERT_EQ(table.zigzag[static_cast<std::size_t>(z)], v) << "q " << q << " table " << t << " pos " << n;
                const float divisor = static_cast<float>(kAanScale[static_cast<std::size_t>(n / 8)] *
                                                         kAanScale[static_cast<std::size_t>(n % 8)] / v);
                ASSERT_EQ(table.divisors[static_cast<std::size_t>(n)], divisor) << "q " << q << " pos " << n;
            }
        }
    }
}

TEST(Quality, NotableValues) {
    cJpeg j;
    EXPECT_EQ(j.Quality(), 75);
    j.Quality(80);
    EXPECT_EQ(j.QuantTableAt(0).zigzag[0], 7);  // (16 x 40 + 50) / 100 = 6.9
    EXPECT_EQ(j.QuantTableAt(1).zigzag[0], 7);  // (17 x 40 + 50) / 100 = 7.3
    j.Quality(100);
    for (int t = 0; t < 2; ++t)
        for (std::uint16_t v : j.QuantTableAt(t).zigzag) EXPECT_EQ(v, 1);
    j.Quality(1);
    for (int t = 0; t < 2; ++t)
        for (std::uint16_t v : j.QuantTableAt(t).zigzag) EXPECT_EQ(v, 255);
    // A half rounds to even: base 10 at quality 90 (scale 20) gives (200 + 50) / 100 = 2.5 -> 2.
    j.Quality(90);
    EXPECT_EQ(j.QuantTableAt(0).zigzag[kFigureA6[2]], 2);
}

TEST(Quality, OutOfRangeLeavesEverythingAsItWas) {
    for (int bad : {0, 101, -5, 1000}) {
        cJpeg j;
        j.Quality(33);
        const auto before = j.QuantTableAt(0).zigzag;
        j.Quality(bad);
        EXPECT_EQ(j.Quality(), 33) << bad;
        EXPECT_EQ(j.QuantTableAt(0).zigzag, before) << bad;
    }
}

TEST(QuantTable, ValuesOutsideTheRangeAreRefused) {
    QuantTable t;
    t.zigzag.fill(1);
    t.zigzag[5] = 0;
    try {
        ComputeDivisors(t, 8);
        FAIL() << "no error";
    } catch (const JpegError& e) {
        EXPECT_EQ(e.Number(), 1);
        EXPECT_STREQ(e.what(), "Bad Quantization Table");
    }
    t.zigzag[5] = 256;
    EXPECT_THROW(ComputeDivisors(t, 8), JpegError);
    EXPECT_NO_THROW(ComputeDivisors(t, 12));
}

}  // namespace
}  // namespace orv::jpeg
