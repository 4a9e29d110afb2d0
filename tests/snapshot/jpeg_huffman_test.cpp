#include "snapshot/jpeg_huffman.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <queue>

#include "snapshot/jpeg_error.h"
#include "test_images.h"

namespace orv::jpeg {
namespace {

// Code length of each symbol under a DHT-style table.
std::array<int, 256> Lengths(const HuffmanTableDef& s) {
    std::array<int, 256> len{};
    std::size_t k = 0;
    for (int l = 1; l <= 16; ++l)
        for (int n = 0; n < s.bits[static_cast<std::size_t>(l)]; ++n) len[s.values[k++]] = l;
    return len;
}

std::uint64_t Cost(const SymbolCounts& c, const HuffmanTableDef& s) {
    const auto len = Lengths(s);
    std::uint64_t bits = 0;
    for (int i = 0; i < 256; ++i) bits += std::uint64_t{c[static_cast<std::size_t>(i)]} * static_cast<std::uint64_t>(len[static_cast<std::size_t>(i)]);
    return bits;
}

// The least number of bits of any prefix code of the symbols that leaves one code point
// free (T.81 forbids the all-ones code): Huffman's algorithm with one extra symbol of
// count 0. Also reports the longest code it makes.
std::uint64_t OptimalCost(const SymbolCounts& c, int* longest) {
    using Node = std::pair<std::uint64_t, int>;  // weight, depth of the deepest leaf below
    std::priority_queue<Node, std::vector<Node>, std::greater<>> q;
    for (std::uint32_t v : c)
        if (v) q.push({v, 0});
    q.push({0, 0});
    std::uint64_t cost = 0;
    *longest = 0;
    while (q.size() > 1) {
        const Node a = q.top(); q.pop();
        const Node b = q.top(); q.pop();
        cost += a.first + b.first;
        q.push({a.first + b.first, std::max(a.second, b.second) + 1});
    }
    *longest = q.top().second;
    return cost;
}

void ExpectValidTable(const SymbolCounts& c, const HuffmanTableDef& s) {
    // Every symbol that occurs has a code, no other does, and the code space keeps a gap.
    const auto len = Lengths(s);
    double kraft = 0;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(len[static_cast<std::size_t>(i)] > 0, c[static_cast<std::size_t>(i)] > 0) << "symbol " << i;
        if (len[static_cast<std::size_t>(i)]) kraft += std::ldexp(1.0, -len[static_cast<std::size_t>(i)]);
    }
    EXPECT_LT(kraft, 1.0);
    EXPECT_NO_THROW(DeriveCodes(s, false));
}

TEST(OptimalTable, SmallCasesByHand) {
    struct Case { std::vector<std::pair<int, std::uint32_t>> counts; std::vector<int> bits; std::vector<int> values; };
    const Case cases[] = {
        {{{0, 5}}, {1}, {0}},                                  // one symbol: one 1-bit code
        {{{3, 4}, {7, 4}}, {1, 1}, {3, 7}},                    // a tie: the higher (7) joins the reserved point
        {{{0, 10}, {1, 3}, {2, 3}}, {1, 1, 1}, {0, 1, 2}},
        {{{0x00, 8}, {0x01, 4}, {0x11, 2}, {0xF0, 1}}, {1, 1, 1, 1}, {0x00, 0x01, 0x11, 0xF0}},
    };
    for (const Case& tc : cases) {
        SymbolCounts c{};
        for (auto [sym, n] : tc.counts) c[static_cast<std::size_t>(sym)] = n;
        const HuffmanTableDef s = BuildOptimalTable(c);
        std::vector<int> bits;
        int last = 16;
        while (last > 0 && s.bits[static_cast<std::size_t>(last)] == 0) --last;
        for (int i = 1; i <= last; ++i) bits.push_back(s.bits[static_cast<std::size_t>(i)]);
        EXPECT_EQ(bits, tc.bits);
        EXPECT_EQ(std::vector<int>(s.values.begin(), s.values.end()), tc.values);
        ExpectValidTable(c, s);
    }
}

// Random statistics shaped like real AC and DC counts: the table is as good as any.
TEST(OptimalTable, NoPrefixCodeDoesBetter) {
    test::Rng rng(21);
    int checked = 0;
    for (int rep = 0; rep < 400; ++rep) {
        SymbolCounts c{};
        const int n = 1 + rng.Below(rep % 2 ? 12 : 162);
        for (int i = 0; i < n; ++i) {
            const int sym = rep % 2 ? rng.Below(12) : rng.Below(256);
            c[static_cast<std::size_t>(sym)] += 1 + (rng.Next() >> (8 + rng.Below(24)));
        }
        const HuffmanTableDef s = BuildOptimalTable(c);
        ExpectValidTable(c, s);
        int longest = 0;
        const std::uint64_t best = OptimalCost(c, &longest);
        if (longest > 16) continue;  // the 16-bit limit applies: covered below
        ++checked;
        ASSERT_EQ(Cost(c, s), best) << "rep " << rep;
    }
    EXPECT_GT(checked, 150);
}

// Counts growing like Fibonacci numbers would want codes of 30 bits and more.
TEST(OptimalTable, CodesAreLimitedTo16Bits) {
    for (int symbols : {18, 24, 40}) {
        SymbolCounts c{};
        std::uint32_t a = 1, b = 1;
        for (int i = 0; i < symbols; ++i) {
            c[static_cast<std::size_t>(i)] = a;
            const std::uint32_t next = a + b;
            a = b;
            b = next;
        }
        const HuffmanTableDef s = BuildOptimalTable(c);
        int total = 0;
        for (int l = 1; l <= 16; ++l) total += s.bits[static_cast<std::size_t>(l)];
        EXPECT_EQ(total, symbols);
        ExpectValidTable(c, s);
    }
}

TEST(DeriveCodes, CanonicalCodesFromCounts) {
    HuffmanTableDef s;
    s.bits[2] = 3;  // 00 01 10
    s.bits[3] = 1;  // 110
    s.values = {5, 1, 9, 0};
    const HuffmanCodes h = DeriveCodes(s, true);
    const struct { int sym, code, len; } want[] = {{5, 0b00, 2}, {1, 0b01, 2}, {9, 0b10, 2}, {0, 0b110, 3}};
    for (const auto& w : want) {
        EXPECT_EQ(h.code[static_cast<std::size_t>(w.sym)], w.code) << w.sym;
        EXPECT_EQ(h.length[static_cast<std::size_t>(w.sym)], w.len) << w.sym;
    }
    EXPECT_EQ(h.length[2], 0);
}

TEST(DeriveCodes, BadTablesAreRefused) {
    struct Case { const char* what; std::vector<std::pair<int, int>> bits; std::vector<std::uint8_t> values; bool dc; };
    std::vector<std::uint8_t> many(257);
    for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::uint8_t>(i);
    const Case cases[] = {
        {"more than 256 symbols", {{9, 257}}, many, false},
        {"DC symbol above 15", {{2, 2}}, {3, 16}, true},
        {"symbol twice", {{2, 2}}, {4, 4}, false},
        {"all-ones code used", {{1, 2}}, {0, 1}, false},
        {"counts and values disagree", {{2, 3}}, {0, 1}, false},
    };
    for (const Case& c : cases) {
        HuffmanTableDef s;
        for (auto [len, n] : c.bits) s.bits[static_cast<std::size_t>(len)] = static_cast<std::uint8_t>(n > 255 ? 255 : n);
        if (c.bits[0].second > 255) s.bits[10] = static_cast<std::uint8_t>(c.bits[0].second - 255);
        s.values = c.values;
        try {
            DeriveCodes(s, c.dc);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const JpegError& e) {
            EXPECT_EQ(e.Number(), 1) << c.what;
            EXPECT_STREQ(e.what(), "Bad Huffman Table") << c.what;
        }
    }
    HuffmanTableDef ok;
    ok.bits[2] = 2;
    ok.values = {3, 15};
    EXPECT_NO_THROW(DeriveCodes(ok, true));
}

TEST(Category, BitsOfTheMagnitude) {
    const struct { int v, cat; } cases[] = {{0, 0}, {1, 1}, {-1, 1}, {2, 2}, {-3, 2}, {4, 3}, {255, 8}, {-256, 9}, {1023, 10}, {-2047, 11}, {2048, 12}};
    for (const auto& c : cases) EXPECT_EQ(Category(c.v), c.cat) << c.v;
}

}  // namespace
}  // namespace orv::jpeg
