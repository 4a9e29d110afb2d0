// The encoder fed from a device context, and SaveJpeg of a cImage, under Wine: the buffer
// path's file wherever no reduction is involved, and a file the system's decoder reads back.
#include "snapshot/win/dc_sampler.h"

#include <gtest/gtest.h>

#include "base/win/utf.h"
#include "jpeg_stream.h"
#include "snapshot/mod_jpeg.h"
#include "test_images.h"
#include "win/gdi_test_util.h"

namespace orv {
namespace {

// Full-size sampling (no reduced component) gives the buffer path's file byte for byte;
// reduced pictures come from the system's halftone scaling of the same rectangle, close to
// the buffer path's area average.
TEST(DcSampler, GivesTheBufferPathsPictures) {
    const BgrPicture picture = test::PhotoLike(64, 48, 3);
    cImage image;
    ASSERT_TRUE(test::FillImage(image, picture));
    const int cases[][8] = {{1, 1, 0, 0, 1, 1, 0, 0}, {17, 9, 0, 0, 1, 1, 0, 0}, {64, 48, 0, 0, 1, 1, 1, 1}, {20, 13, 7, 5, 1, 1, 1, 1},
                            {40, 30, 3, 11, 2, 1, 2, 1}, {1, 1, 31, 17, 3, 2, 3, 2}};  // w, h, left, top, H1, V1, H2 = H3, V2 = V3
    for (const auto& [w, h, left, top, h1, v1, h2, v2] : cases) {
        cJpeg fromDc, fromBuffer;
        for (cJpeg* j : {&fromDc, &fromBuffer}) j->SetSamplingFrequencies(h1, v1, h2, v2, h2, v2);
        DcSampler sampler(image.hdc(), left, top, w, h);
        ASSERT_EQ(fromDc.Sample(sampler, w, h), 0);
        ASSERT_EQ(fromBuffer.SampleBuffer(picture.View(), w, h, left, top), 0);
        EXPECT_EQ(fromDc.Encode(), fromBuffer.Encode()) << w << "x" << h << "+" << left << "+" << top;
    }
    for (const auto& [w, h, left, top, rw, rh] : {std::array{64, 48, 0, 0, 32, 24}, std::array{40, 30, 5, 9, 20, 15}, std::array{20, 20, 0, 0, 7, 9}}) {
        DcSampler fromDc(image.hdc(), left, top, w, h);
        jpeg::BufferSampler fromBuffer(picture.View(), left, top, w, h);
        ASSERT_TRUE(fromDc.Prepare(rw, rh) && fromBuffer.Prepare(rw, rh));
        double sum = 0;
        for (int i = 0; i < 3 * rw * rh; ++i) sum += std::abs(fromDc.Row(i / (3 * rw))[i % (3 * rw)] - fromBuffer.Row(i / (3 * rw))[i % (3 * rw)]);
        EXPECT_LT(sum / (3.0 * rw * rh), 6.0) << w << "x" << h << " to " << rw << "x" << rh;
        EXPECT_FALSE(fromDc.Prepare(w + 1, h)) << "larger than the rectangle";
    }
    EXPECT_FALSE(DcSampler(nullptr, 0, 0, 8, 8).Prepare(8, 8));
}

// The file replaces whatever had the name (read-only and hidden too), carries the snapshot
// comment and decodes with the system's decoder close to the picture.
TEST(SaveJpeg, WritesACImageTheSystemDecodes) {
    struct Case { const char* name; int w, h, quality; bool photo; double minPsnr; bool existing; };
    const Case cases[] = {{"snap 1.jpg", 96, 64, 90, true, 30.0, false}, {"Schnappschu\xC3\x9F \xE6\x88\xAA\xE5\x9B\xBE.jpg", 61, 37, 75, true, 27.0, true},
                          {"screen.jpg", 160, 120, 80, false, 24.0, false}, {"tiny.jpg", 1, 1, 100, true, 30.0, true}};
    test::TempFolder folder;
    for (const Case& c : cases) {
        const BgrPicture picture = c.photo ? test::PhotoLike(c.w, c.h) : test::ScreenshotLike(c.w, c.h);
        cImage image;
        ASSERT_TRUE(test::FillImage(image, picture));
        const std::string name = folder / c.name;
        if (c.existing) {
            test::WriteFile(PathFromUtf8(name), "old");
            SetFileAttributesW(Widen(name).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        }
        ASSERT_NO_THROW(SaveJpeg(image, name, c.quality)) << c.name;
        const std::string file = test::ReadFile(PathFromUtf8(name));
        EXPECT_EQ(test::ReadSegments({file.begin(), file.end()}).at(2).Text(), SnapshotComment(c.quality)) << c.name;  // SOI, APP0, COM
        const BgrPicture decoded = test::DecodeWithSystem(name);
        ASSERT_TRUE(decoded.Width() == c.w && decoded.Height() == c.h) << c.name;
        EXPECT_GT(test::Psnr(decoded.View(), picture.View()), c.minPsnr) << c.name;
    }
}

// The comment's code page: characters as single bytes of the code page, '?' for the missing.
TEST(SaveJpeg, CommentTextGoesToTheCodePage) {
    EXPECT_EQ(ToCodePage(L"Gr\u00FC\u00DFe \u00E9 \u65E5", 1252), "Gr\xFC\xDF" "e \xE9 ?");
    EXPECT_EQ(ToCodePage(L"Snapshot 80", CP_ACP), "Snapshot 80");
    EXPECT_EQ(Narrow(L"Gr\u00FC\u00DFe"), "Gr\xC3\xBC\xC3\x9F" "e");
}

}  // namespace
}  // namespace orv
