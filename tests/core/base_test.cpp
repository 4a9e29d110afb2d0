// The text and number rules of the settings, and the bitmap file writer.
#include <gtest/gtest.h>

#include "base/bmp.h"
#include "base/text.h"

namespace orv {
namespace {

TEST(Text, LeadingNumberAndIsNumber) {
    struct Case { const char* text; double leading; bool whole; };
    for (const Case& c : {Case{"213.3333", 213.3333, true}, {"  42abc", 42, false}, {"-1", -1, true}, {"+7", 7, true},
                          {"abc", 0, false}, {"", 0, false}, {" ", 0, false}, {".5", 0.5, true}, {"1e3x", 1000, false},
                          {"1e5", 1e5, true}, {"1e", 1, false}, {"-", 0, false}, {".", 0, false}, {"12 34", 12, false},
                          {"\t9 ", 9, true}, {"1e999", 0, false}}) {
        EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.leading) << '"' << c.text << '"';
        EXPECT_EQ(IsNumber(c.text), c.whole) << '"' << c.text << '"';
    }
}

TEST(Text, RoundHalfEvenSaturates) {
    for (auto [v, expected] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {213.3333, 213}, {0.5, 0}, {1.5, 2},
                               {199.9, 200}, {1e12, 2147483647}, {-1e12, -2147483647 - 1}})
        EXPECT_EQ(RoundHalfEven(v), expected) << v;
}

TEST(Text, ParseBoolAndParseInt32) {
    struct BoolCase { const char* text; std::optional<bool> expected; };
    const BoolCase bools[] = {{"True", true}, {"FALSE", false}, {" true ", true}, {"0", false},
                              {"-1", true},   {"0.4", true},     {"yes", std::nullopt}, {"", std::nullopt}};
    for (const auto& c : bools) EXPECT_EQ(ParseBool(c.text), c.expected) << c.text;
    struct IntCase { const char* text; std::optional<int> expected; };
    const IntCase ints[] = {{"80", 80},       {" -5 ", -5}, {"2.5", 2}, {"3.5", 4}, {"x", std::nullopt},
                            {"4294967295", std::nullopt}, {"2147483647", 2147483647}, {"", std::nullopt}};
    for (const auto& c : ints) EXPECT_EQ(ParseInt32(c.text), c.expected) << c.text;
}

TEST(Text, SingleTextKeepsTheFraction) {
    for (auto [v, expected] : {std::pair{3200.0f / 15.0f, "213.3333"}, {200.0f, "200"}, {-4.5f, "-4.5"}, {0.0f, "0"},
                               {-0.0f, "0"}, {1234567.0f / 15.0f, "82304.47"}})
        EXPECT_EQ(SingleText(v), expected) << v;
}

TEST(Bmp, HeaderAndPaddedBottomUpRowsAndImpossibleSizesRefused) {
    // 3 x 2 picture, top row red, bottom row blue, given with a stride of 10 (a junk byte per row).
    const std::uint8_t px[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0xEE, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0xEE};
    const std::vector<std::uint8_t> expected = {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                  // file size, pixel offset
        40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,    // 3 x 2 (bottom-up), 1 plane, 24 bits
        24, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // image bytes, 72 dpi
        255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 0,                        // the bottom row first, padded to 12
        0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
    EXPECT_EQ(EncodeBmp24(3, 2, px, 10), expected);
    EXPECT_EQ(EncodeBmp24(4, 1, px, 12).size(), 54u + 12u) << "a row of 12 bytes needs no padding";
    for (auto [w, h, stride] : {std::tuple{0u, 1u, 3u}, {1u, 0u, 3u}, {0x8000u, 1u, 0x18000u}, {1u, 0x8000u, 3u}, {2u, 1u, 5u}})
        EXPECT_TRUE(EncodeBmp24(w, h, px, stride).empty()) << w << "x" << h << " stride " << stride;
}

}  // namespace
}  // namespace orv
