#include "snapshot/jpeg_bitwriter.h"

#include <gtest/gtest.h>

#include "test_images.h"

namespace orv::jpeg {
namespace {

std::vector<std::uint8_t> Write(const std::vector<std::pair<std::uint32_t, int>>& codes) {
    ByteSink sink;
    BitWriter bw(sink);
    bw.ReserveBlock();
    for (auto [code, size] : codes) bw.Put(code, size);
    bw.CommitBlock();
    bw.Finish();
    return sink.Take();
}

TEST(BitWriter, BytesStuffingAndFill) {
    struct Case { const char* what; std::vector<std::pair<std::uint32_t, int>> codes; std::vector<std::uint8_t> bytes; };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"one bit 0, filled with ones", {{0, 1}}, {0x7F}},
        {"one bit 1", {{1, 1}}, {0xFF, 0x00}},
        {"a whole byte", {{0xA5, 8}}, {0xA5}},
        {"0xFF stuffed", {{0xFF, 8}, {0x12, 8}}, {0xFF, 0x00, 0x12}},
        {"across bytes", {{0b101, 3}, {0b0011, 4}, {0b11110, 5}}, {0b10100111, 0b1110'1111}},
        {"27 bits", {{0x5ABCDEF, 27}}, {0xB5, 0x79, 0xBD, 0xFF, 0x00}},
        {"64 bits in 4 puts then more", {{0xFFFF, 16}, {0x0000, 16}, {0xFF00, 16}, {0x00FF, 16}, {0x3, 2}},
         {0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00}},
    };
    for (const Case& c : cases) EXPECT_EQ(Write(c.codes), c.bytes) << c.what;
}

// Long random streams against a bit-by-bit model.
TEST(BitWriter, MatchesABitByBitModel) {
    test::Rng rng(77);
    for (int rep = 0; rep < 50; ++rep) {
        std::vector<std::pair<std::uint32_t, int>> codes;
        std::vector<int> bits;
        const int n = 1 + rng.Below(400);
        for (int i = 0; i < n; ++i) {
            const int size = 1 + rng.Below(27);
            // Many ones, so 0xFF bytes are common.
            std::uint32_t code = (rng.Below(2) ? rng.Next() : 0xFFFFFFFFu) & ((size == 32 ? 0u : 1u << size) - 1u);
            codes.push_back({code, size});
            for (int b = size - 1; b >= 0; --b) bits.push_back(static_cast<int>(code >> b & 1));
        }
        while (bits.size() % 8) bits.push_back(1);
        std::vector<std::uint8_t> want;
        for (std::size_t i = 0; i < bits.size(); i += 8) {
            int v = 0;
            for (int b = 0; b < 8; ++b) v = v << 1 | bits[i + static_cast<std::size_t>(b)];
            want.push_back(static_cast<std::uint8_t>(v));
            if (v == 0xFF) want.push_back(0);
        }
        ByteSink sink;
        BitWriter bw(sink);
        for (std::size_t i = 0; i < codes.size(); ++i) {
            bw.ReserveBlock();
            bw.Put(codes[i].first, codes[i].second);
            bw.CommitBlock();
        }
        bw.Finish();
        ASSERT_EQ(sink.Take(), want) << "rep " << rep;
    }
}

}  // namespace
}  // namespace orv::jpeg
