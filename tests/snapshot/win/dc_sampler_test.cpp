// The encoder fed from a device context, and SaveJpeg of a cImage, under Wine: the same
// file as from the pixel buffer wherever no reduction is involved, and a file the system's
// own decoder (WIC) reads back close to the picture.
#include "snapshot/win/dc_sampler.h"

#include <gtest/gtest.h>

#include "jpeg_stream.h"
#include "snapshot/jpeg_error.h"
#include "snapshot/mod_jpeg.h"
#include "test_images.h"
#include "win/gdi_test_util.h"

#include "base/win/utf.h"

namespace orv {
namespace {

// Full-size sampling (no reduced component) must give the buffer path's file byte for byte.
TEST(SampleHDC, WithoutReductionEqualsTheBufferPath) {
    struct Case { int w, h, left, top; int f[6]; };
    const Case cases[] = {
        {1, 1, 0, 0, {1, 1, 0, 0, 0, 0}},     {17, 9, 0, 0, {1, 1, 0, 0, 0, 0}},
        {64, 48, 0, 0, {1, 1, 1, 1, 1, 1}},   {33, 21, 0, 0, {1, 1, 1, 1, 1, 1}},
        {20, 13, 7, 5, {1, 1, 1, 1, 1, 1}},   {40, 30, 3, 11, {2, 1, 2, 1, 2, 1}},  // equal factors: no reduction
        {1, 1, 31, 17, {3, 2, 3, 2, 3, 2}},
    };
    const BgrPicture picture = test::PhotoLike(64, 48);
    cImage image;
    ASSERT_TRUE(test::FillImage(image, picture));
    for (const Case& c : cases) {
        cJpeg fromDc, fromBuffer;
        fromDc.SetSamplingFrequencies(c.f[0], c.f[1], c.f[2], c.f[3], c.f[4], c.f[5]);
        fromBuffer.SetSamplingFrequencies(c.f[0], c.f[1], c.f[2], c.f[3], c.f[4], c.f[5]);
        ASSERT_EQ(SampleHDC(fromDc, image.hdc(), c.w, c.h, c.left, c.top), 0);
        ASSERT_EQ(fromBuffer.SampleBuffer(picture.View(), c.w, c.h, c.left, c.top), 0);
        EXPECT_EQ(fromDc.Encode(), fromBuffer.Encode()) << c.w << "x" << c.h << "+" << c.left << "+" << c.top;
    }
}

TEST(SampleHDC, RefusesWhatItCannotSample) {
    cJpeg jpeg;
    EXPECT_EQ(SampleHDC(jpeg, nullptr, 8, 8, 0, 0), 1);  // no DC to read
    cImage image;
    ASSERT_TRUE(image.Create(8, 8, 24));
    EXPECT_EQ(SampleHDC(jpeg, image.hdc(), 0, 8, 0, 0), 1);
    EXPECT_EQ(SampleHDC(jpeg, image.hdc(), 8, -1, 0, 0), 1);
}

// Reduced components come from the system's halftone scaling: flat areas stay flat and the
// reduction stays near the area average of the buffer path.
TEST(DcSampler, ReductionIsCloseToTheAreaAverage) {
    struct Case { int w, h, left, top, rw, rh; };
    const Case cases[] = {{64, 48, 0, 0, 32, 24}, {33, 21, 0, 0, 17, 11}, {40, 30, 5, 9, 20, 15}, {20, 20, 0, 0, 7, 9}};
    const BgrPicture picture = test::PhotoLike(64, 48, 3);
    cImage image;
    ASSERT_TRUE(test::FillImage(image, picture));
    for (const Case& c : cases) {
        DcSampler fromDc(image.hdc(), c.left, c.top, c.w, c.h);
        jpeg::BufferSampler fromBuffer(picture.View(), c.left, c.top, c.w, c.h);
        ASSERT_TRUE(fromDc.Prepare(c.rw, c.rh));
        ASSERT_TRUE(fromBuffer.Prepare(c.rw, c.rh));
        double sum = 0;
        for (int y = 0; y < c.rh; ++y) {
            const std::uint8_t* a = fromDc.Row(y);
            const std::uint8_t* b = fromBuffer.Row(y);
            for (int i = 0; i < 3 * c.rw; ++i) sum += std::abs(a[i] - b[i]);
        }
        EXPECT_LT(sum / (3.0 * c.rw * c.rh), 6.0) << c.w << "x" << c.h << " to " << c.rw << "x" << c.rh;
        EXPECT_FALSE(fromDc.Prepare(c.w + 1, c.h)) << "larger than the rectangle";
    }
    // A flat picture stays exactly flat.
    cImage flat;
    ASSERT_TRUE(flat.Create(30, 20, 24));
    const RECT all{0, 0, 30, 20};
    UniqueBrush brush(CreateSolidBrush(RGB(200, 30, 90)));
    FillRect(flat.hdc(), &all, brush.get());
    DcSampler sampler(flat.hdc(), 0, 0, 30, 20);
    ASSERT_TRUE(sampler.Prepare(15, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 15; ++x) {
            const std::uint8_t* p = sampler.Row(y) + 3 * x;
            ASSERT_EQ(RGB(p[2], p[1], p[0]), RGB(200, 30, 90)) << x << "," << y;
        }
}

std::string CommentOf(const std::vector<std::uint8_t>& file) {
    const test::Stream s = test::ReadStream(file);
    for (const test::Segment& seg : s.segments) {
        if (seg.marker == 0xFE) return std::string(seg.payload.begin(), seg.payload.end());
    }
    return {};
}

TEST(SaveJpeg, WritesACImageTheSystemDecodes) {
    struct Case { const char* name; int w, h, quality; bool photo; double minPsnr; bool existing; };
    const Case cases[] = {
        {"snap 1.jpg", 96, 64, 90, true, 30.0, false},
        {"Schnappschu\xC3\x9F \xE6\x88\xAA\xE5\x9B\xBE.jpg", 61, 37, 75, true, 27.0, true},  // non-ASCII name, replaces a read-only file
        {"screen.jpg", 160, 120, 80, false, 24.0, false},
        {"tiny.jpg", 1, 1, 100, true, 30.0, true},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        const BgrPicture picture = c.photo ? test::PhotoLike(c.w, c.h) : test::ScreenshotLike(c.w, c.h);
        cImage image;
        ASSERT_TRUE(test::FillImage(image, picture));
        const std::wstring path = folder.Path() + L"\\" + Widen(c.name);
        if (c.existing) {
            const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);
            DWORD written = 0;
            WriteFile(h, "old", 3, &written, nullptr);
            CloseHandle(h);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        }
        ASSERT_NO_THROW(SaveJpeg(image, Narrow(path), c.quality)) << c.name;

        const std::vector<std::uint8_t> file = test::ReadAll(path);
        ASSERT_GT(file.size(), 100u) << c.name;
        EXPECT_EQ(CommentOf(file), SnapshotComment(c.quality)) << c.name;
        const test::Stream stream = test::ReadStream(file);
        EXPECT_TRUE(stream.ok) << stream.error;
        const BgrPicture decoded = test::DecodeWithWic(path);
        ASSERT_EQ(decoded.Width(), c.w) << c.name;
        ASSERT_EQ(decoded.Height(), c.h) << c.name;
        EXPECT_GT(test::Psnr(decoded, picture.View()), c.minPsnr) << c.name;
    }
}

// The file from the DC differs from the buffer path's only in the reduced chroma, so both
// decode to nearly the same picture.
TEST(SaveJpeg, AgreesWithTheBufferPathOnTheSamePixels) {
    const BgrPicture picture = test::PhotoLike(80, 56, 21);
    cImage image;
    ASSERT_TRUE(test::FillImage(image, picture));
    test::TempFolder folder;
    const std::string fromDc = Narrow(folder.Path() + L"\\dc.jpg"), fromBuffer = Narrow(folder.Path() + L"\\buffer.jpg");
    SaveJpeg(image, fromDc, 85);
    SaveJpeg(picture.View(), fromBuffer, 85);
    const std::vector<std::uint8_t> a = test::ReadAll(Widen(fromDc)), b = test::ReadAll(Widen(fromBuffer));
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(CommentOf(a), CommentOf(b));
    const BgrPicture da = test::DecodeWithWic(Widen(fromDc)), db = test::DecodeWithWic(Widen(fromBuffer));
    ASSERT_EQ(da.Width(), 80);
    ASSERT_EQ(db.Width(), 80);
    EXPECT_GT(test::Psnr(da, db.View()), 35.0);
}

}  // namespace
}  // namespace orv
