// The encoder's rules that show in the file: options, errors, the orders of work, files,
// and golden hashes of the output. Portable: runs natively and under Wine, where the hashes
// hold the Windows build's vector paths to the same bytes.
#include "snapshot/cjpeg.h"

#include <gtest/gtest.h>

#include "common/test_files.h"
#include "jpeg_stream.h"
#include "snapshot/jpeg_error.h"
#include "snapshot/mod_jpeg.h"
#include "test_images.h"

namespace orv {
namespace {

using test::Factors;

// Factors outside 1..4 and comments longer than 65533 are refused and change nothing, as does
// a quality outside 1..100; the snapshot comment's two lines.
TEST(Options, RefusedValuesChangeNothing) {
    const std::pair<Factors, bool> cases[] = {{{2, 2, 1, 1, 1, 1}, true},  {{4, 4, 4, 4, 4, 4}, true},  {{1, 1, 0, 0, 0, 0}, true},
                                              {{0, 1, 0, 0, 0, 0}, false}, {{1, 5, 1, 1, 1, 1}, false}, {{2, 2, 0, 1, 1, 1}, false},
                                              {{2, 2, 1, 1, 1, 0}, false}, {{2, 2, 1, 1, 5, 1}, false}, {{-1, 2, 1, 1, 1, 1}, false}};
    for (const auto& [f, ok] : cases) {
        cJpeg j;
        try {
            j.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
            EXPECT_TRUE(ok) << f[0] << f[1] << f[2] << f[3] << f[4] << f[5];
        } catch (const JpegError& e) {
            EXPECT_TRUE(!ok && e.Number() == 1 && std::string(e.what()) == "Invalid Sampling Value") << f[0] << f[1] << f[2] << f[3] << f[4] << f[5];
            EXPECT_EQ(j.Encode(), cJpeg().Encode());
        }
    }
    cJpeg j, at33;
    j.Comment(std::string(65533, 'x'));
    EXPECT_THROW(j.Comment(std::string(65534, 'y')), JpegError);
    EXPECT_EQ(test::ReadSegments(j.Encode()).at(2).Text(), std::string(65533, 'x'));  // SOI, APP0, COM
    at33.Quality(33);
    EXPECT_NE(at33.Encode(), cJpeg().Encode());  // the tables differ from the default 75's
    j.Comment("");
    for (int bad : {0, 101, -5}) {
        j.Quality(33), j.Quality(bad);
        EXPECT_EQ(j.Encode(), at33.Encode()) << bad;
    }
    for (int q : {80, 7}) EXPECT_EQ(SnapshotComment(q), std::string("  Snapshot Created in Tessara - ") + kMakerWebAddress + "\r\n  Jpeg Quality " + std::to_string(q));
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
    EXPECT_EQ(std::vector<std::uint8_t>(file.end() - 16, file.end()), (std::vector<std::uint8_t>{0xFF, 0xDA, 0, 12, 3, 1, 0, 2, 0x11, 3, 0x11, 0, 63, 0, 0xFF, 0xD9}));
}

// Any change of the output shows here. After a deliberate change, check the files with the
// decode tests and take the new values from the failure messages.
TEST(Golden, OutputHashes) {
    struct Case { int w, h, q; Factors f; bool photo; const char* comment; std::uint64_t hash; };
    const Case cases[] = {
        {1, 1, 80, {2, 2, 1, 1, 1, 1}, true, "", 0xb6f1f7054aeaf5a6ull},      {6, 5, 80, {2, 2, 1, 1, 1, 1}, true, "", 0x11d79ddb3eb76804ull},
        {17, 13, 80, {2, 2, 1, 1, 1, 1}, true, "", 0xe74169fc6ee7cfd2ull},    {17, 13, 75, {1, 1, 0, 0, 0, 0}, false, "", 0x5fd6a81901249386ull},
        {64, 40, 1, {2, 2, 1, 1, 1, 1}, true, "", 0xe1c28e82484f341bull},     {64, 40, 100, {1, 1, 1, 1, 1, 1}, false, "", 0xbb5e43d92ea06b2eull},
        {97, 61, 60, {2, 1, 1, 1, 1, 1}, true, "  Jpeg Quality 60", 0x57eff4ab538c9fbbull}, {130, 70, 85, {4, 2, 2, 1, 2, 1}, false, "", 0x0d4cf9799a45315eull},
    };
    for (const Case& c : cases) {
        const BgrPicture p = c.photo ? test::PhotoLike(c.w, c.h) : test::ScreenshotLike(c.w, c.h);
        std::uint64_t h = 1469598103934665603ull;  // FNV-1a
        for (std::uint8_t byte : test::Encode(p, c.q, c.f, c.comment)) h = (h ^ byte) * 1099511628211ull;
        EXPECT_EQ(h, c.hash) << c.w << "x" << c.h << " q" << c.q << ": 0x" << std::hex << h << "ull";
    }
}

// SaveFile never overwrites (codes 1 no name, 2 exists, 3 not written); SaveJpeg replaces a
// file, also a read-only one with a non-ASCII name, but never a folder.
TEST(Files, SaveFileAndSaveJpeg) {
    test::TempFolder dir;
    const BgrPicture p = test::ScreenshotLike(33, 21);
    cJpeg j;
    ASSERT_EQ(j.SampleBuffer(p.View(), 33, 21, 0, 0), 0);
    test::WriteFile(dir.path() / "snap.jpg", "keep");
    std::filesystem::create_directory(dir.path() / "folder.jpg");
    EXPECT_EQ(j.SaveFile(""), 1);
    EXPECT_EQ(j.SaveFile(dir / "snap.jpg"), 2);
    EXPECT_EQ(j.SaveFile(dir / "folder.jpg"), 2);
    EXPECT_EQ(j.SaveFile(dir / "missing folder/a.jpg"), 3);
    EXPECT_EQ(test::ReadFile(dir.path() / "snap.jpg"), "keep");
    for (const std::string leaf : {"fresh.jpg", "snap.jpg", "Schnappschuss \xc3\xa4\xc3\xb6\xc3\xbc \xe6\x97\xa5\xe6\x9c\xac.jpg", "folder.jpg"}) {
        const std::string name = dir / leaf;
        if (leaf[0] == 'S') test::WriteFile(PathFromUtf8(name), "old");
        if (leaf[0] != 'f') std::filesystem::permissions(PathFromUtf8(name), std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
        jpeg::BufferSampler sampler(p.View(), 0, 0, 33, 21);
        SaveJpeg(sampler, 33, 21, SnapshotComment(80), name, 80);
        const std::string file = leaf == "folder.jpg" ? "" : test::ReadFile(PathFromUtf8(name));
        EXPECT_TRUE(leaf == "folder.jpg" || std::vector<std::uint8_t>(file.begin(), file.end()) == test::Encode(p, 80, {2, 2, 1, 1, 1, 1}, SnapshotComment(80))) << leaf;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.jpg"));
    EXPECT_EQ(j.SaveFile(dir / "new.jpg"), 0);
    const std::vector<std::uint8_t> bytes = j.Encode();
    EXPECT_EQ(test::ReadFile(dir.path() / "new.jpg"), std::string(bytes.begin(), bytes.end()));
}

}  // namespace
}  // namespace orv
