// Every file decodes with libjpeg-turbo, the independent decoder, without a warning; the
// decoded coefficients are the ones the encoder stored; libjpeg transcoding the file with
// its own optimised tables gives back the same bytes; pictures come back within PSNR
// bounds; golden hashes catch any silent change of the output.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <tuple>

#include "libjpeg_decoder.h"
#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_tables.h"
#include "test_images.h"

#include <jpeglib.h>

namespace orv {
namespace {

using Factors = std::array<int, 6>;

struct Encoded {
    std::vector<std::uint8_t> file;
    std::vector<cJpeg::Component> comps;
};

Encoded Encode(const BgrPicture& p, int quality, Factors f, const std::string& comment = "") {
    cJpeg j;
    j.Quality(quality);
    j.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
    j.Comment(comment);
    EXPECT_EQ(j.SampleBuffer(p.View(), p.Width(), p.Height(), 0, 0), 0);
    return {j.Encode(), j.Components()};
}

// The decoder sees the stored coefficients, block for block.
void ExpectSameCoefficients(const Encoded& e, const std::string& what) {
    const test::DecodedCoefficients d = test::DecodeCoefficients(e.file);
    ASSERT_TRUE(d.ok) << what << ": " << d.message;
    EXPECT_EQ(d.warnings, 0) << what << ": " << d.message;
    ASSERT_EQ(d.comps.size(), e.comps.size()) << what;
    for (std::size_t c = 0; c < e.comps.size(); ++c) {
        const cJpeg::Component& mine = e.comps[c];
        const auto& theirs = d.comps[c];
        ASSERT_EQ(theirs.blocksWide, mine.blocksWide) << what << " component " << c;
        ASSERT_EQ(theirs.blocksHigh, mine.blocksHigh) << what << " component " << c;
        for (std::size_t b = 0; b < theirs.natural.size() / 64; ++b)
            for (int n = 0; n < 64; ++n)
                ASSERT_EQ(theirs.natural[64 * b + static_cast<std::size_t>(n)],
                          mine.coefficients[64 * b + jpeg::kZigzagOfNatural[static_cast<std::size_t>(n)]])
                    << what << " component " << c << " block " << b << " position " << n;
    }
}

double Psnr(const BgrPicture& p, const test::DecodedPixels& d) {
    double sse = 0;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) {
            const std::uint8_t* s = p.Row(y) + 3 * x;
            const std::uint8_t* o = d.pixels.data() + 3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(p.Width()) + static_cast<std::size_t>(x));
            for (int c = 0; c < 3; ++c) {
                const double e = static_cast<double>(o[c]) - s[2 - c];
                sse += e * e;
            }
        }
    const double mse = sse / (3.0 * p.Width() * p.Height());
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

// Sizes around 8 and 16, tiny and long ones, with every sampling libjpeg can upsample.
TEST(Decode, OddSizesAndSamplings) {
    const std::pair<int, int> sizes[] = {{1, 1}, {6, 5}, {17, 13}, {4095, 3}, {3, 300}, {7, 9}, {8, 8}, {9, 8},
                                         {15, 16}, {16, 17}, {31, 33}, {32, 32}, {33, 47}, {48, 49}, {64, 63}};
    const Factors factors[] = {{2, 2, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}, {2, 1, 1, 1, 1, 1}, {1, 2, 1, 1, 1, 1},
                               {4, 1, 1, 1, 1, 1}, {1, 4, 1, 1, 1, 1}, {4, 2, 2, 1, 2, 1}, {2, 2, 2, 2, 2, 2},
                               {1, 1, 2, 2, 1, 1}, {3, 1, 1, 1, 1, 1}, {3, 3, 1, 1, 1, 1}, {1, 1, 0, 0, 0, 0},
                               {4, 4, 1, 1, 1, 1}, {4, 2, 1, 1, 1, 1}};
    for (auto [w, h] : sizes) {
        const BgrPicture p = test::PhotoLike(w, h, static_cast<std::uint32_t>(w * 31 + h));
        for (const Factors& f : factors) {
            const std::string what = std::to_string(w) + "x" + std::to_string(h) + " factors " + std::to_string(f[0]) +
                                     std::to_string(f[1]) + std::to_string(f[2]) + std::to_string(f[3]);
            const Encoded e = Encode(p, 80, f);
            const test::DecodedPixels d = test::DecodePixels(e.file);
            ASSERT_TRUE(d.ok) << what << ": " << d.message;
            EXPECT_EQ(d.warnings, 0) << what << ": " << d.message;
            EXPECT_EQ(d.width, w) << what;
            EXPECT_EQ(d.height, h) << what;
            EXPECT_EQ(d.components, f[2] ? 3 : 1) << what;
            ExpectSameCoefficients(e, what);
        }
    }
}

// Factors whose ratios are not whole numbers: libjpeg cannot upsample them, but reads
// the coefficients.
TEST(Decode, FractionalSamplingsStillCarryTheirCoefficients) {
    const Factors factors[] = {{3, 2, 2, 1, 1, 1}, {4, 3, 3, 3, 2, 3}, {2, 3, 3, 2, 1, 1}};
    for (auto [w, h] : {std::pair{37, 29}, std::pair{5, 70}, std::pair{100, 3}}) {
        const BgrPicture p = test::ScreenshotLike(w, h);
        for (const Factors& f : factors) ExpectSameCoefficients(Encode(p, 60, f), std::to_string(w) + "x" + std::to_string(h));
    }
}

TEST(Decode, EveryQuality) {
    const BgrPicture photo = test::PhotoLike(40, 24), screen = test::ScreenshotLike(37, 23);
    for (int q = 1; q <= 100; ++q) {
        for (const BgrPicture* p : {&photo, &screen}) {
            const Encoded e = Encode(*p, q, {2, 2, 1, 1, 1, 1}, q % 2 ? "comment" : "");
            const test::DecodedPixels d = test::DecodePixels(e.file);
            ASSERT_TRUE(d.ok) << "quality " << q << ": " << d.message;
            EXPECT_EQ(d.warnings, 0) << "quality " << q << ": " << d.message;
            ExpectSameCoefficients(e, "quality " + std::to_string(q));
        }
    }
}

// libjpeg re-encoding our coefficients with its own optimised tables (the same Annex K.2
// procedure and tie rule) and our quantisation tables writes the very same file.
TEST(Decode, LibjpegTranscodingGivesTheSameBytes) {
    struct Case { int w, h, q; Factors f; bool photo; };
    const Case cases[] = {{1, 1, 80, {2, 2, 1, 1, 1, 1}, true}, {17, 13, 80, {2, 2, 1, 1, 1, 1}, true},
                          {203, 77, 75, {2, 2, 1, 1, 1, 1}, true}, {203, 77, 95, {1, 1, 1, 1, 1, 1}, false},
                          {64, 48, 30, {2, 1, 1, 1, 1, 1}, false}, {99, 99, 50, {1, 1, 0, 0, 0, 0}, true},
                          {120, 66, 100, {2, 2, 1, 1, 1, 1}, false}, {50, 50, 5, {2, 2, 1, 1, 1, 1}, true}};
    for (const Case& c : cases) {
        const BgrPicture p = c.photo ? test::PhotoLike(c.w, c.h) : test::ScreenshotLike(c.w, c.h);
        const Encoded e = Encode(p, c.q, c.f);

        jpeg_decompress_struct in{};
        jpeg_compress_struct out{};
        jpeg_error_mgr err1{}, err2{};
        in.err = jpeg_std_error(&err1);
        out.err = jpeg_std_error(&err2);
        jpeg_create_decompress(&in);
        jpeg_create_compress(&out);
        jpeg_mem_src(&in, e.file.data(), static_cast<unsigned long>(e.file.size()));
        jpeg_read_header(&in, TRUE);
        jvirt_barray_ptr* coefs = jpeg_read_coefficients(&in);
        jpeg_copy_critical_parameters(&in, &out);
        out.optimize_coding = TRUE;
        unsigned char* buf = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&out, &buf, &size);
        jpeg_write_coefficients(&out, coefs);
        jpeg_finish_compress(&out);
        jpeg_destroy_compress(&out);
        jpeg_finish_decompress(&in);
        jpeg_destroy_decompress(&in);
        const std::vector<std::uint8_t> again(buf, buf + size);
        std::free(buf);
        EXPECT_EQ(again, e.file) << c.w << "x" << c.h << " q" << c.q;
    }
}

TEST(Decode, PicturesComeBackClose) {
    struct Case { int w, h, q; Factors f; bool photo; double minPsnr; };
    const Case cases[] = {
        {320, 200, 80, {2, 2, 1, 1, 1, 1}, true, 33.0}, {320, 200, 95, {1, 1, 1, 1, 1, 1}, true, 41.0},
        {320, 200, 100, {1, 1, 1, 1, 1, 1}, true, 49.0}, {321, 199, 80, {2, 2, 1, 1, 1, 1}, false, 26.0},
        {320, 200, 50, {2, 1, 1, 1, 1, 1}, true, 31.0}, {320, 200, 10, {2, 2, 1, 1, 1, 1}, true, 24.0},
        {48, 48, 90, {2, 2, 1, 1, 1, 1}, true, 30.0},
    };
    for (const Case& c : cases) {
        const BgrPicture p = c.photo ? test::PhotoLike(c.w, c.h) : test::ScreenshotLike(c.w, c.h);
        const test::DecodedPixels d = test::DecodePixels(Encode(p, c.q, c.f).file);
        ASSERT_TRUE(d.ok);
        EXPECT_GE(Psnr(p, d), c.minPsnr) << c.w << "x" << c.h << " q" << c.q;
    }
    // Colours that reveal a red/blue swap: pure red stays red.
    BgrPicture red(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) red.Set(x, y, 250, 10, 10);
    const test::DecodedPixels d = test::DecodePixels(Encode(red, 90, {2, 2, 1, 1, 1, 1}).file);
    ASSERT_TRUE(d.ok);
    EXPECT_GT(d.pixels[0], 230);
    EXPECT_LT(d.pixels[2], 30);
}

// The desktop screenshot of the benchmark (text, frames, icons on flat areas) at a
// smaller size and a tiny one: libjpeg reads the very coefficients, and the picture comes
// back close.
TEST(Decode, DesktopScreenshot) {
    for (auto [w, h, minPsnr] : {std::tuple{800, 450, 30.0}, std::tuple{17, 13, 16.0}}) {
        const BgrPicture p = test::DesktopScreenshot(w, h);
        const Encoded e = Encode(p, 80, {2, 2, 1, 1, 1, 1});
        ExpectSameCoefficients(e, "desktop " + std::to_string(w));
        const test::DecodedPixels d = test::DecodePixels(e.file);
        ASSERT_TRUE(d.ok) << d.message;
        EXPECT_GE(Psnr(p, d), minPsnr) << w << "x" << h;
    }
}

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& v) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint8_t b : v) h = (h ^ b) * 1099511628211ull;
    return h;
}

// Any change of the output shows here. After a deliberate change, check the files with
// the tests above and take the new values from the failure messages.
TEST(Golden, OutputHashes) {
    struct Case { int w, h, q; Factors f; bool photo; const char* comment; std::uint64_t hash; };
    const Case cases[] = {
        {1, 1, 80, {2, 2, 1, 1, 1, 1}, true, "", 0xb6f1f7054aeaf5a6ull},
        {6, 5, 80, {2, 2, 1, 1, 1, 1}, true, "", 0x11d79ddb3eb76804ull},
        {17, 13, 80, {2, 2, 1, 1, 1, 1}, true, "", 0xe74169fc6ee7cfd2ull},
        {17, 13, 75, {1, 1, 0, 0, 0, 0}, false, "", 0x5fd6a81901249386ull},
        {64, 40, 1, {2, 2, 1, 1, 1, 1}, true, "", 0xe1c28e82484f341bull},
        {64, 40, 100, {1, 1, 1, 1, 1, 1}, false, "", 0xbb5e43d92ea06b2eull},
        {97, 61, 60, {2, 1, 1, 1, 1, 1}, true, "  Jpeg Quality 60", 0x57eff4ab538c9fbbull},
        {130, 70, 85, {4, 2, 2, 1, 2, 1}, false, "", 0x0d4cf9799a45315eull},
    };
    for (const Case& c : cases) {
        const BgrPicture p = c.photo ? test::PhotoLike(c.w, c.h) : test::ScreenshotLike(c.w, c.h);
        const std::uint64_t h = Fnv1a(Encode(p, c.q, c.f, c.comment).file);
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%016llxull", static_cast<unsigned long long>(h));
        EXPECT_EQ(h, c.hash) << c.w << "x" << c.h << " q" << c.q << ": " << hex;
    }
}

}  // namespace
}  // namespace orv
