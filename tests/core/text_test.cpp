#include "base/text.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Text, LeadingNumber) {
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"213.3333", 213.3333}, {"  42abc", 42}, {"-1", -1}, {"+7", 7}, {"abc", 0}, {"", 0},
        {".5", 0.5}, {"1e3x", 1000}, {"1e", 1}, {"-", 0}, {"12 34", 12}, {"\t9", 9},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.expected) << c.text;
}

TEST(Text, IsNumberNeedsTheWholeText) {
    struct Case { const char* text; bool expected; };
    const Case cases[] = {
        {"2", true}, {" 2 ", true}, {"-3.5", true}, {"x", false}, {"2x", false},
        {"", false}, {" ", false}, {"1e5", true}, {".", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Text, RoundHalfEven) {
    struct Case { double v; int expected; };
    const Case cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {213.3333, 213},
                          {0.5, 0}, {1.5, 2}, {199.9, 200}, {1e12, 2147483647}, {-1e12, -2147483647 - 1}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.v), c.expected) << c.v;
}

TEST(Text, ParseBool) {
    struct Case { const char* text; std::optional<bool> expected; };
    const Case cases[] = {{"True", true}, {"FALSE", false}, {"true", true}, {"0", false},
                          {"-1", true}, {"2", true}, {"yes", std::nullopt}, {"", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(ParseBool(c.text), c.expected) << c.text;
}

TEST(Text, ParseInt32) {
    struct Case { const char* text; std::optional<int> expected; };
    const Case cases[] = {{"80", 80}, {" -5 ", -5}, {"2.5", 2}, {"x", std::nullopt},
                          {"4294967295", std::nullopt}, {"2147483647", 2147483647}, {"", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(ParseInt32(c.text), c.expected) << c.text;
}

TEST(Text, SingleTextKeepsTheFraction) {
    struct Case { float v; const char* expected; };
    const Case cases[] = {{3200.0f / 15.0f, "213.3333"}, {200.0f, "200"}, {-4.5f, "-4.5"},
                          {0.0f, "0"}, {-0.0f, "0"}, {1234567.0f / 15.0f, "82304.47"}};
    for (const auto& c : cases) EXPECT_EQ(SingleText(c.v), c.expected);
}

TEST(Text, ContainsNoCase) {
    EXPECT_TRUE(ContainsNoCase("C:\\Users\\u\\AppData\\MICROSOFT\\wallpaper1.BMP", "Microsoft\\Wallpaper1.bmp"));
    EXPECT_FALSE(ContainsNoCase("C:\\Microsoft\\Wallpaper2.bmp", "Microsoft\\Wallpaper1.bmp"));
    EXPECT_FALSE(ContainsNoCase("short", "longer text"));
}

}  // namespace
}  // namespace orv
