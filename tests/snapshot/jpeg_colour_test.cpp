#include "snapshot/jpeg_colour.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv::jpeg {
namespace {

// The formulas in double precision, rounded once to single precision.
float Y(int r, int g, int b) { return static_cast<float>(0.299 * r + 0.587 * g + 0.114 * b - 128.0); }
float Cb(int r, int g, int b) { return static_cast<float>(-0.16874 * r - 0.33126 * g + 0.5 * b); }
float Cr(int r, int g, int b) { return static_cast<float>(0.5 * r - 0.41869 * g - 0.08131 * b); }

// Every colour of the 24-bit cube, a row of 256 blues at a time, through both paths. Row
// lengths vary so the vector loop and its tail both see every value.
TEST(ColourConversion, EveryColourMatchesTheDoubleFormulas) {
    std::vector<std::uint8_t> row(3 * 256);
    std::vector<float> y(256), cb(256), cr(256), y2(256), cb2(256), cr2(256);
    long mismatches = 0;
    for (int r = 0; r < 256; ++r) {
        for (int g = 0; g < 256; ++g) {
            for (int b = 0; b < 256; ++b) {
                row[3 * static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(b);
                row[3 * static_cast<std::size_t>(b) + 1] = static_cast<std::uint8_t>(g);
                row[3 * static_cast<std::size_t>(b) + 2] = static_cast<std::uint8_t>(r);
            }
            const int n = 256 - (r + g) % 7;  // 250..256 pixels
            ConvertRow(row.data(), n, y.data(), cb.data(), cr.data());
            ConvertRowPortable(row.data(), n, y2.data(), cb2.data(), cr2.data());
            for (int b = 0; b < n; ++b) {
                const std::size_t i = static_cast<std::size_t>(b);
                const bool ok = y[i] == Y(r, g, b) && cb[i] == Cb(r, g, b) && cr[i] == Cr(r, g, b) &&
                                y2[i] == y[i] && cb2[i] == cb[i] && cr2[i] == cr[i];
                if (!ok && ++mismatches < 5) {
                    ADD_FAILURE() << "rgb " << r << "," << g << "," << b << ": " << y[i] << " " << cb[i] << " " << cr[i]
                                  << " want " << Y(r, g, b) << " " << Cb(r, g, b) << " " << Cr(r, g, b);
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// Where the exact value is 0 the double formula leaves a tiny remainder; it is kept.
TEST(ColourConversion, TinyRemaindersOfTheDoubleFormulaAreKept) {
    struct Case { int r, g, b; };
    const Case cases[] = {{8, 200, 72}, {12, 190, 113}, {5, 5, 5}, {10, 10, 10}, {0, 0, 0}, {255, 255, 255}};
    for (const Case& c : cases) {
        const std::uint8_t px[3] = {static_cast<std::uint8_t>(c.b), static_cast<std::uint8_t>(c.g), static_cast<std::uint8_t>(c.r)};
        float y = 1, cb = 1, cr = 1;
        ConvertRow(px, 1, &y, &cb, &cr);
        EXPECT_EQ(y, Y(c.r, c.g, c.b));
        EXPECT_EQ(cr, Cr(c.r, c.g, c.b));
    }
    EXPECT_NE(Y(8, 200, 72), 0.0f);   // 299 * 8 + 587 * 200 + 114 * 72 = 128000 exactly
    EXPECT_NE(Cr(5, 5, 5), 0.0f);
}

TEST(ColourConversion, ComponentsCanBeLeftOut) {
    const std::uint8_t px[3 * 9] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    float y[9], cb[9];
    ConvertRow(px, 9, y, cb, nullptr);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(y[i], Y(px[3 * i + 2], px[3 * i + 1], px[3 * i]));
        EXPECT_EQ(cb[i], Cb(px[3 * i + 2], px[3 * i + 1], px[3 * i]));
    }
}

}  // namespace
}  // namespace orv::jpeg
