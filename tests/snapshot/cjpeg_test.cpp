// The encoder's rules that show in the file: options, markers and their lengths, errors,
// files, and golden hashes of the output. Portable: runs natively and under Wine, where the
// hashes hold the Windows build's vector paths to the same bytes.
#include "snapshot/cjpeg.h"

#include <gtest/gtest.h>

#include "common/test_files.h"
#include "jpeg_stream.h"
#include "snapshot/jpeg_error.h"
#include "snapshot/jpeg_file.h"
#include "snapshot/mod_jpeg.h"
#include "test_images.h"

namespace orv {
namespace {

using test::Factors;

TEST(Options, SamplingFactorsOutsideOneToFourAndLongCommentsAreRefused) {
    const std::pair<Factors, bool> cases[] = {
        {{2, 2, 1, 1, 1, 1}, true},   {{4, 4, 4, 4, 4, 4}, true},   {{1, 1, 0, 0, 0, 0}, true},  {{0, 1, 0, 0, 0, 0}, false},
        {{1, 5, 1, 1, 1, 1}, false},  {{2, 2, 0, 1, 1, 1}, false},  {{2, 2, 1, 1, 1, 0}, false}, {{2, 2, 1, 1, 5, 1}, false},
        {{-1, 2, 1, 1, 1, 1}, false},
    };
    for (const auto& [f, ok] : cases) {
        cJpeg j;
        try {
            j.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
            EXPECT_TRUE(ok) << f[0] << f[1] << f[2] << f[3] << f[4] << f[5];
        } catch (const JpegError& e) {
            EXPECT_FALSE(ok) << f[0] << f[1] << f[2] << f[3] << f[4] << f[5];
            EXPECT_EQ(e.Number(), 1);
            EXPECT_STREQ(e.what(), "Invalid Sampling Value");
        }
    }
    cJpeg j;
    j.Comment(std::string(65533, 'x'));
    EXPECT_THROW(j.Comment(std::string(65534, 'y')), JpegError);
    EXPECT_EQ(test::SegmentText(j.Encode(), 0xFE), std::string(65533, 'x'));  // the old comment stays
    for (int q : {80, 7})
        EXPECT_EQ(SnapshotComment(q), std::string("  Snapshot Created in Tessara - ") + kMakerWebAddress + "\r\n  Jpeg Quality " + std::to_string(q));
}

TEST(Options, AQualityOutsideOneTo100ChangesNothing) {
    cJpeg at33;
    at33.Quality(33);
    EXPECT_NE(at33.Encode(), cJpeg().Encode());  // the tables differ from the default 75's
    for (int bad : {0, 101, -5}) {
        cJpeg j;
        j.Quality(33);
        j.Quality(bad);
        EXPECT_EQ(j.Encode(), at33.Encode()) << bad;
    }
}

// The segments in their order (the reader stops at a wrong length), scans of at most 10
// blocks per MCU; the JFIF header and the comment, which libjpeg does not check.
TEST(Markers, OrderAndTheFieldsNoDecoderChecks) {
    const BgrPicture p = test::PhotoLike(17, 13);
    const std::pair<Factors, std::string> cases[] = {
        {{2, 2, 1, 1, 1, 1}, "\xD8\xE0\xFE\xDB\xDB\xC0\xC4\xC4\xC4\xC4\xDA\xD9"},
        {{3, 4, 0, 0, 0, 0}, "\xD8\xE0\xFE\xDB\xC0\xC4\xC4\xDA\xD9"},                          // greyscale
        {{2, 2, 2, 2, 2, 2}, "\xD8\xE0\xFE\xDB\xDB\xC0\xC4\xC4\xC4\xC4\xDA\xDA\xD9"},      // 4 + 4 | 4
        {{4, 3, 3, 3, 2, 3}, "\xD8\xE0\xFE\xDB\xDB\xC0\xC4\xC4\xC4\xC4\xDA\xDA\xDA\xD9"},  // 12 | 9 | 6
    };
    for (const auto& [f, want] : cases) {
        std::string order;
        for (const test::Segment& s : test::ReadSegments(test::Encode(p, 80, f, "hello"))) {
            order.push_back(static_cast<char>(s.marker));
            EXPECT_TRUE(s.marker != 0xE0 || s.payload == std::vector<std::uint8_t>({'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}));
            EXPECT_TRUE(s.marker != 0xFE || s.Text() == "hello");
            EXPECT_TRUE(s.marker != 0xC0 || s.payload[7] == (f[2] ? f[0] * 16 + f[1] : 0x11)) << "factors of Y";  // grey: 1 x 1
        }
        EXPECT_EQ(order, want) << f[0] << f[1] << f[2] << f[3] << f[4] << f[5];
    }
    EXPECT_EQ(test::ReadSegments(test::Encode(p, 80))[2].marker, 0xDB);  // no comment, no COM segment
}

TEST(Sample, RectanglesOutsideThePictureAreRefused) {
    const BgrPicture p = test::PhotoLike(20, 10);
    const int cases[][5] = {{20, 10, 0, 0, 0}, {10, 5, 10, 5, 0}, {0, 10, 0, 0, 1}, {20, 0, 0, 0, 1},
                            {21, 10, 0, 0, 1}, {10, 5, 11, 0, 1}, {10, 5, 0, 6, 1}, {5, 5, -1, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(cJpeg().SampleBuffer(p.View(), c[0], c[1], c[2], c[3]), c[4]) << c[0] << "x" << c[1] << "+" << c[2] << "+" << c[3];
}

// A sampler without twins (as over a device context), optionally able to make the full size
// only: the encoder then makes the sizes one after the other instead of side by side, with
// the same result; when the chroma picture cannot be made after the luminance was, nothing
// half made is kept: the file has no scan data (SOS straight before EOI).
class LoneSampler final : public jpeg::PictureSampler {
public:
    LoneSampler(const BgrPicture& p, bool fullSizeOnly) : inner_(p.View(), 0, 0, p.Width(), p.Height()), p_(p), fullOnly_(fullSizeOnly) {}
    bool Prepare(int w, int h) override { return (!fullOnly_ || (w == p_.Width() && h == p_.Height())) && inner_.Prepare(w, h); }
    const std::uint8_t* Row(int y) override { return inner_.Row(y); }

private:
    jpeg::BufferSampler inner_;
    const BgrPicture& p_;
    bool fullOnly_;
};

TEST(Sample, SizesOneAfterTheOther) {
    for (const Factors& f : {Factors{2, 2, 1, 1, 1, 1}, Factors{2, 1, 1, 1, 1, 1}, Factors{4, 2, 1, 1, 2, 1}, Factors{1, 1, 0, 0, 0, 0}})
        for (auto [w, h] : {std::pair{1, 1}, std::pair{17, 13}, std::pair{101, 37}}) {
            const BgrPicture p = test::ScreenshotLike(w, h);
            cJpeg j;
            j.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
            LoneSampler lone(p, false);
            ASSERT_EQ(j.Sample(lone, w, h), 0);
            EXPECT_EQ(j.Encode(), test::Encode(p, 75, f)) << w << "x" << h << " factors " << f[0] << f[1] << f[2] << f[3] << f[4] << f[5];
        }
    const BgrPicture p = test::PhotoLike(40, 24);
    cJpeg j;
    LoneSampler fullOnly(p, true);
    EXPECT_EQ(j.Sample(fullOnly, 40, 24), 1);
    const std::vector<std::uint8_t> file = j.Encode();
    EXPECT_EQ(std::vector<std::uint8_t>(file.end() - 16, file.end() - 12), (std::vector<std::uint8_t>{0xFF, 0xDA, 0, 12}));
    EXPECT_EQ(std::vector<std::uint8_t>(file.end() - 2, file.end()), (std::vector<std::uint8_t>{0xFF, 0xD9}));
}

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& v) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint8_t b : v) h = (h ^ b) * 1099511628211ull;
    return h;
}

// Any change of the output shows here. After a deliberate change, check the files with the
// decode tests and take the new values from the failure messages.
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
        const std::uint64_t h = Fnv1a(test::Encode(p, c.q, c.f, c.comment));
        EXPECT_EQ(h, c.hash) << c.w << "x" << c.h << " q" << c.q << ": 0x" << std::hex << h << "ull";
    }
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(Files, SaveFileNeverOverwrites) {
    test::TempFolder dir;
    const BgrPicture p = test::PhotoLike(9, 9);
    cJpeg j;
    ASSERT_EQ(j.SampleBuffer(p.View(), 9, 9, 0, 0), 0);
    EXPECT_EQ(j.SaveFile(""), 1);
    test::WriteFile(dir.path() / "snap.jpg", "keep");
    std::filesystem::create_directory(dir.path() / "folder.jpg");
    EXPECT_EQ(j.SaveFile(dir / "snap.jpg"), 2);
    EXPECT_EQ(j.SaveFile(dir / "folder.jpg"), 2);
    EXPECT_EQ(test::ReadFile(dir.path() / "snap.jpg"), "keep");
    EXPECT_EQ(j.SaveFile(dir / "fresh.jpg"), 0);
    EXPECT_EQ(Bytes(test::ReadFile(dir.path() / "fresh.jpg")), j.Encode());
    EXPECT_EQ(j.SaveFile(dir / "missing folder/a.jpg"), 3);
}

TEST(Files, SaveJpegReplacesEvenAReadOnlyFileButNoFolder) {
    test::TempFolder dir;
    const BgrPicture p = test::ScreenshotLike(33, 21);
    for (const std::string leaf : {"plain.jpg", "Schnappschuss \xc3\xa4\xc3\xb6\xc3\xbc \xe6\x97\xa5\xe6\x9c\xac.jpg"}) {
        const std::string name = dir / leaf;
        test::WriteFile(PathFromUtf8(name), "old");
        std::filesystem::permissions(PathFromUtf8(name), std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
        jpeg::BufferSampler sampler(p.View(), 0, 0, 33, 21);
        SaveJpeg(sampler, 33, 21, SnapshotComment(80), name, 80);
        EXPECT_EQ(Bytes(test::ReadFile(PathFromUtf8(name))), test::Encode(p, 80, {2, 2, 1, 1, 1, 1}, SnapshotComment(80))) << leaf;
    }
    std::filesystem::create_directory(dir.path() / "folder.jpg");
    EXPECT_FALSE(jpeg::FileExists(dir / "folder.jpg"));
    EXPECT_FALSE(jpeg::FileExists(""));
    jpeg::BufferSampler sampler(p.View(), 0, 0, 33, 21);
    SaveJpeg(sampler, 33, 21, "", dir / "folder.jpg", 80);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.jpg"));  // not deleted, not written
}

}  // namespace
}  // namespace orv
