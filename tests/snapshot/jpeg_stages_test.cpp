// The encoder's stages against independent references (T.81's tables and DCT, the colour
// formulas in double precision, a box average, Huffman, a bit-by-bit writer); every vector path too.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <queue>
#include <string>

#include "jpeg_stream.h"
#include "snapshot/jpeg_bitwriter.h"
#include "snapshot/jpeg_colour.h"
#include "snapshot/jpeg_error.h"
#include "snapshot/jpeg_huffman.h"
#include "test_images.h"

namespace orv::jpeg {
namespace {

// Flat, random, ramp, checker and extreme 8 x 8 blocks of level-shifted samples.
void FillBlock(int kind, test::Rng& rng, float* s, int stride) {
    for (int i = 0, x = 0, y = 0; i < 64; ++i, x = i % 8, y = i / 8)
        s[y * stride + x] = std::array{37.25f, static_cast<float>(rng.Below(25600)) / 100.0f - 128.0f, static_cast<float>(x * 16 + y * 3) - 120.0f,
                                       (x + y) % 2 ? 127.0f : -128.0f, rng.Below(2) ? 127.0f : -128.0f}[static_cast<std::size_t>(kind % 5)];
}

// All quantisation values 1: the output is the rounded transform itself.
QuantTable Ones() {
    QuantTable t;
    t.zigzag.fill(1);
    return ComputeDivisors(t), t;
}

// The zig-zag order of T.81 Figure A.6, and spot values of the scaled tables worked out by
// hand: 5000 / q and the entries round halves to even and stay within 1..255.
TEST(Tables, ZigzagAndScaledEntries) {
    for (std::size_t n = 0; n < 64; ++n) EXPECT_TRUE(kZigzagOfNatural[n] == test::kFigureA6[n] && kNaturalOfZigzag[test::kFigureA6[n]] == n) << n;
    struct Case { int quality, scale; bool luminance; int position, entry; };
    const Case cases[] = {
        {80, 40, true, 0, 7},  {80, 40, false, 0, 7},  // (16 x 40 + 50) / 100 = 6.9, (17 x 40 + 50) / 100 = 7.3
        {90, 20, true, 2, 2},                          // (10 x 20 + 50) / 100 = 2.5 -> 2
        {16, 312, false, 0, 54},                       // 5000 / 16 = 312.5 -> 312; (17 x 312 + 50) / 100 = 53.54
        {48, 104, true, 1, 12},                        // 5000 / 48 = 104.2; (11 x 104 + 50) / 100 = 11.94
        {3, 1667, true, 0, 255}, {100, 0, true, 35, 1},  // 267 is limited to 255; 0.5 -> 0, limited to 1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QualityScale(c.quality), c.scale) << c.quality;
        EXPECT_EQ(MakeQuantTable(c.luminance ? kLuminanceBase : kChrominanceBase, c.scale).zigzag[test::kFigureA6[c.position]], c.entry) << c.quality;
    }
    for (std::uint16_t bad : {0, 256}) {
        QuantTable t = Ones();
        t.zigzag[5] = bad;
        try {
            ComputeDivisors(t);
            ADD_FAILURE() << bad << " taken";
        } catch (const JpegError& e) {
            EXPECT_TRUE(e.Number() == 1 && std::string(e.what()) == "Bad Quantization Table");
        }
    }
}

// The formulas in double precision, rounded once to single precision.
float Y(int r, int g, int b) { return static_cast<float>(0.299 * r + 0.587 * g + 0.114 * b - 128.0); }
float Cb(int r, int g, int b) { return static_cast<float>(-0.16874 * r - 0.33126 * g + 0.5 * b); }
float Cr(int r, int g, int b) { return static_cast<float>(0.5 * r - 0.41869 * g - 0.08131 * b); }

// Every colour of the 24-bit cube, rows of 250..256 blues, so the AVX2, SSE2 and plain parts
// of a row all see many values; then single pixels (the plain path) where the exact value is
// 0 and the double formula's tiny remainder counts (299 x 8 + 587 x 200 + 114 x 72 = 128000).
TEST(ColourConversion, EveryColourMatchesTheDoubleFormulas) {
    std::vector<std::uint8_t> row(3 * 256);
    std::vector<float> y(256), cb(256), cr(256);
    int mismatches = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g) {
            for (std::size_t b = 0; b < 256; ++b) row[3 * b] = static_cast<std::uint8_t>(b), row[3 * b + 1] = static_cast<std::uint8_t>(g), row[3 * b + 2] = static_cast<std::uint8_t>(r);
            const int n = 256 - (r + g) % 7;
            ConvertRow(row.data(), n, y.data(), cb.data(), cr.data());
            for (int b = 0; b < n; ++b)
                if ((y[b] != Y(r, g, b) || cb[b] != Cb(r, g, b) || cr[b] != Cr(r, g, b)) && ++mismatches < 5) ADD_FAILURE() << "rgb " << r << "," << g << "," << b;
        }
    EXPECT_EQ(mismatches, 0);
    for (const auto& [r, g, b] : {std::array{8, 200, 72}, std::array{5, 5, 5}}) {
        const std::uint8_t px[3] = {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r)};
        float py = 0, pcb = 0, pcr = 0;
        ConvertRow(px, 1, &py, nullptr, &pcr);
        ConvertRow(px, 1, nullptr, &pcb, nullptr);
        EXPECT_TRUE(py == Y(r, g, b) && pcb == Cb(r, g, b) && pcr == Cr(r, g, b) && (r == 5 ? pcr : py) != 0.0f) << r << "," << g << "," << b;
    }
}

// Halving at every width from 1 to 48 (the AVX2 and SSE2 loops and their tails), random and
// saturated bytes: each byte is (sum of its four source bytes + 2) / 4.
TEST(Sampler, HalvingIsTheRoundedBoxAverage) {
    test::Rng rng(12345);
    for (int fill = 0; fill < 2; ++fill)
        for (int w = 1; w <= 48; ++w) {
            BgrPicture p(2 * w + 1, 6);
            for (int i = 0; i < 6 * 3 * (2 * w + 1); ++i) p.Row(i % 6)[i / 6] = fill ? 255 : static_cast<std::uint8_t>(rng.Next() >> 24);
            BufferSampler s(p.View(), 1, 0, 2 * w, 6);
            ASSERT_TRUE(s.Prepare(w, 3));
            for (int y = 0; y < 3; ++y)
                for (int i = 0, x = 3; i < 3 * w; ++i, x = 3 + 6 * (i / 3) + i % 3)  // x: the source byte of the left pixel
                    ASSERT_EQ(s.Row(y)[i], (p.Row(2 * y)[x] + p.Row(2 * y)[x + 3] + p.Row(2 * y + 1)[x] + p.Row(2 * y + 1)[x + 3] + 2) / 4) << "w " << w << " byte " << i;
        }
}

// Other reductions average the covered area, each source pixel weighted by its covered part
// (red of a 4 x 2 or 3 x 2 picture shown; blue is flat and stays so).
TEST(Sampler, AreaAveraging) {
    struct Case { std::vector<int> rows; int w, h; std::vector<int> want; };  // 2 x 2 boxes: (140 + 2) / 4; thirds; 255 / 8; rows only; a copy
    const Case cases[] = {{{10, 20, 30, 41, 50, 60, 70, 80}, 2, 1, {35, 55}}, {{0, 3, 6, 0, 3, 6}, 2, 2, {1, 5}}, {{255, 0, 0, 0, 0, 0, 0, 0}, 1, 1, {32}},
                          {{9, 9, 9, 9, 1, 1, 1, 1}, 4, 1, {5, 5, 5, 5}}, {{7, 8, 9, 10, 7, 8, 9, 10}, 4, 2, {7, 8, 9, 10}}};
    for (const Case& c : cases) {
        const int W = static_cast<int>(c.rows.size() / 2);
        BgrPicture p(W, 2);
        for (int i = 0; i < 2 * W; ++i) p.Set(i % W, i / W, static_cast<std::uint8_t>(c.rows[static_cast<std::size_t>(i)]), 0, 200);
        BufferSampler s(p.View(), 0, 0, W, 2);
        ASSERT_TRUE(s.Prepare(c.w, c.h) && !BufferSampler(p.View(), 0, 0, W, 2).Prepare(W + 1, 2));
        for (std::size_t x = 0; x < c.want.size(); ++x) EXPECT_TRUE(s.Row(0)[3 * x + 2] == c.want[x] && s.Row(0)[3 * x] == 200) << x << " of " << c.w << "x" << c.h;
    }
}

// With all quantisation values 1 the portable path gives the transform of T.81 A.3.3 from
// its definition, within rounding. Every path this processor has gives the portable path's
// coefficients bit for bit, whole rows at once, with the non-zero mask of each block; all
// round halves to even (the DC of a flat block is 8 x its level: 0.1875 -> 1.5 -> 2).
TEST(Dct, TheDefinitionAndEveryPathAlike) {
    test::Rng rng(11);
    constexpr int kBlocks = 5, kStride = 8 * kBlocks + 3;
    std::vector<float> s(8 * kStride);
    const QuantTable ones = Ones();
    const double pi = 3.14159265358979323846;
    for (int rep = 0; rep < 100; ++rep) {
        std::int16_t out[64];
        std::uint64_t mask;
        FillBlock(rep, rng, s.data(), kStride);
        DctQuantiseRow(DctPath::Portable, s.data(), kStride, 1, ones.divisors.data(), out, &mask);
        for (int k = 0; k < 64; ++k) {
            const int u = k % 8, v = k / 8;
            double sum = 0;
            for (int i = 0; i < 64; ++i) sum += s[static_cast<std::size_t>(i / 8 * kStride + i % 8)] * std::cos((2 * (i % 8) + 1) * u * pi / 16) * std::cos((2 * (i / 8) + 1) * v * pi / 16);
            ASSERT_LE(std::fabs(out[test::kFigureA6[k]] - 0.25 * (u ? 1 : 1 / std::sqrt(2.0)) * (v ? 1 : 1 / std::sqrt(2.0)) * sum), 0.5 + 1e-3) << rep << " u " << u << " v " << v;
        }
    }
    for (DctPath path : {DctPath::Portable, DctPath::Sse2, DctPath::Avx2}) {
        if (!DctPathAvailable(path)) continue;
        for (auto [level, dc] : {std::pair{0.0625f, 0}, std::pair{0.1875f, 2}, std::pair{-0.1875f, -2}, std::pair{0.3125f, 2}}) {
            std::vector<float> flat(64, level);
            std::int16_t out[64];
            std::uint64_t mask;
            DctQuantiseRow(path, flat.data(), 8, 1, ones.divisors.data(), out, &mask);
            EXPECT_EQ(out[0], dc) << "path " << static_cast<int>(path) << " level " << level;
        }
        for (int q : {1, 50, 80, 100}) {
            const QuantTable t = MakeQuantTable(q % 2 ? kChrominanceBase : kLuminanceBase, QualityScale(q));
            for (int rep = 0; rep < 60; ++rep) {
                for (int b = 0; b < kBlocks; ++b) FillBlock(rep + b, rng, s.data() + 8 * b, kStride);
                std::int16_t got[64 * kBlocks], want[64 * kBlocks];
                std::uint64_t masks[kBlocks], unused[kBlocks];
                DctQuantiseRow(path, s.data(), kStride, kBlocks, t.divisors.data(), got, masks);
                DctQuantiseRow(DctPath::Portable, s.data(), kStride, kBlocks, t.divisors.data(), want, unused);
                for (int z = 0; z < 64 * kBlocks; ++z) {
                    ASSERT_EQ(got[z], want[z]) << "path " << static_cast<int>(path) << " q " << q << " at " << z;
                    ASSERT_EQ(masks[z / 64] >> (z % 64) & 1, want[z] != 0) << "path " << static_cast<int>(path) << " mask at " << z;
                }
            }
        }
    }
}

// Random statistics shaped like AC and DC counts: every symbol that occurs gets a code of at
// most 16 bits, no other does, a code point stays free (no all-ones code), and no prefix code
// with a free code point does better (Huffman's algorithm with one extra symbol of count 0);
// also for Fibonacci-like counts, which would want codes of 30 bits. Ties go the way of
// T.81 K.1: the higher symbol joins the reserved code point.
TEST(OptimalTable, ValidOptimalAndLimitedTo16Bits) {
    test::Rng rng(21);
    int checked = 0;
    for (int rep = 0; rep < 402; ++rep) {
        SymbolCounts c{};
        const int n = 1 + rng.Below(rep % 2 ? 12 : 162);
        for (int i = 0; i < n; ++i) c[static_cast<std::size_t>(rep % 2 ? rng.Below(12) : rng.Below(256))] += 1 + (rng.Next() >> (8 + rng.Below(24)));
        if (rep >= 400) {  // Fibonacci-like
            c = {};
            for (std::uint32_t i = 0, a = 1, b = 1; i < (rep == 400 ? 18u : 40u); ++i, b += a, a = b - a) c[i] = a;
        }
        const HuffmanTableDef t = BuildOptimalTable(c);
        std::array<int, 256> len{};
        for (std::size_t l = 1, k = 0; l <= 16; ++l)
            for (int m = 0; m < t.bits[l]; ++m) len[t.values[k++]] = static_cast<int>(l);
        double kraft = 0;
        std::uint64_t cost = 0, best = 0;
        for (std::size_t i = 0; i < 256; ++i) {
            ASSERT_EQ(len[i] > 0, c[i] > 0) << "rep " << rep << " symbol " << i;
            kraft += len[i] ? std::ldexp(1.0, -len[i]) : 0;
            cost += std::uint64_t{c[i]} * static_cast<std::uint64_t>(len[i]);
        }
        ASSERT_TRUE(kraft < 1.0 && (DeriveCodes(t, false), true)) << "rep " << rep;
        using Node = std::pair<std::uint64_t, int>;  // weight, depth of the deepest leaf below
        std::priority_queue<Node, std::vector<Node>, std::greater<>> q;
        for (std::uint32_t v : c)
            if (v) q.push({v, 0});
        for (q.push({0, 0}); q.size() > 1;) {
            const Node a = q.top();
            q.pop();
            const Node b = q.top();
            q.pop();
            best += a.first + b.first;
            q.push({a.first + b.first, std::max(a.second, b.second) + 1});
        }
        if (q.top().second > 16) continue;  // the 16-bit limit applies
        ++checked;
        ASSERT_EQ(cost, best) << "rep " << rep;
    }
    EXPECT_GT(checked, 150);
    SymbolCounts tie{};
    tie[3] = tie[7] = 4;
    const HuffmanTableDef t = BuildOptimalTable(tie);
    EXPECT_TRUE(t.bits[1] == 1 && t.bits[2] == 1 && t.values == std::vector<std::uint8_t>({3, 7}));
}

// Long random streams against a bit-by-bit model: bits from the top, a 0x00 after every
// 0xFF byte, the last byte filled with 1-bits.
TEST(BitWriter, MatchesABitByBitModel) {
    test::Rng rng(77);
    for (int rep = 0; rep < 60; ++rep) {
        ByteSink sink;
        BitWriter bw(sink);
        std::vector<int> bits;
        for (int i = rep < 3 ? rep : rng.Below(400); i > 0; --i) {
            const int size = 1 + rng.Below(27);
            const std::uint32_t code = (rng.Below(2) ? rng.Next() : 0xFFFFFFFFu) & ((1u << size) - 1u);  // many 0xFF bytes
            bw.ReserveBlock(), bw.Put(code, size), bw.CommitBlock();
            for (int b = size - 1; b >= 0; --b) bits.push_back(static_cast<int>(code >> b & 1));
        }
        bw.Finish();
        bits.resize((bits.size() + 7) / 8 * 8, 1);  // the fill
        std::vector<std::uint8_t> want;
        for (std::size_t i = 0; i < bits.size(); i += 8) {
            want.push_back(0);
            for (std::size_t b = 0; b < 8; ++b) want.back() = static_cast<std::uint8_t>(want.back() << 1 | bits[i + b]);
            if (want.back() == 0xFF) want.push_back(0);
        }
        ASSERT_EQ(sink.Take(), want) << "rep " << rep;
    }
}

}  // namespace
}  // namespace orv::jpeg
