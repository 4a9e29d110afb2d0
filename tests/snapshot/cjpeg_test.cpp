// The encoder's rules that show in the file: markers, lengths, errors, files. Portable
// (runs natively and under Wine).
#include "snapshot/cjpeg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/paths.h"
#include "jpeg_stream.h"
#include "snapshot/jpeg_error.h"
#include "snapshot/jpeg_file.h"
#include "snapshot/mod_jpeg.h"
#include "test_images.h"

namespace orv {
namespace {

std::vector<std::uint8_t> EncodePicture(const BgrPicture& p, int quality, std::array<int, 6> f = {2, 2, 1, 1, 1, 1},
                                        const std::string& comment = "") {
    cJpeg j;
    j.Quality(quality);
    j.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
    j.Comment(comment);
    EXPECT_EQ(j.SampleBuffer(p.View(), p.Width(), p.Height(), 0, 0), 0);
    return j.Encode();
}

template <class F>
void ExpectJpegError(F&& f, const char* text, const char* what) {
    try {
        f();
        ADD_FAILURE() << what << ": no error";
    } catch (const JpegError& e) {
        EXPECT_EQ(e.Number(), 1) << what;
        EXPECT_STREQ(e.what(), text) << what;
    }
}

TEST(SamplingFrequencies, ValuesOutsideOneToFourAreRefused) {
    struct Case { std::array<int, 6> f; bool ok; };
    const Case cases[] = {
        {{2, 2, 1, 1, 1, 1}, true}, {{4, 4, 4, 4, 4, 4}, true}, {{1, 1, 0, 0, 0, 0}, true}, {{3, 2, 0, 0, 0, 0}, true},
        {{0, 1, 0, 0, 0, 0}, false}, {{1, 5, 1, 1, 1, 1}, false}, {{2, 2, 0, 1, 1, 1}, false},
        {{2, 2, 1, 1, 1, 0}, false}, {{2, 2, 1, 1, 5, 1}, false}, {{-1, 2, 1, 1, 1, 1}, false},
    };
    for (const Case& c : cases) {
        cJpeg j;
        auto call = [&] { j.SetSamplingFrequencies(c.f[0], c.f[1], c.f[2], c.f[3], c.f[4], c.f[5]); };
        if (c.ok) EXPECT_NO_THROW(call());
        else ExpectJpegError(call, "Invalid Sampling Value", "sampling");
    }
}

TEST(SamplingFrequencies, ComponentsAndTheirFactors) {
    cJpeg j;
    ASSERT_EQ(j.Components().size(), 3u);  // 4:2:0 after construction
    EXPECT_EQ(j.Components()[0].h, 2);
    EXPECT_EQ(j.Components()[0].v, 2);
    EXPECT_EQ(j.Components()[2].table, 1);
    j.SetSamplingFrequencies(3, 4, 0, 0, 0, 0);  // greyscale: 1 x 1 whatever H1, V1 say
    ASSERT_EQ(j.Components().size(), 1u);
    EXPECT_EQ(j.Components()[0].h, 1);
    EXPECT_EQ(j.Components()[0].v, 1);
    EXPECT_EQ(j.MaxH(), 1);
    j.SetSamplingFrequencies(1, 2, 3, 1, 2, 4);
    EXPECT_EQ(j.MaxH(), 3);
    EXPECT_EQ(j.MaxV(), 4);
    EXPECT_EQ(j.Components()[1].id, 2);
}

TEST(Comment, LongestIs65533Characters) {
    cJpeg j;
    EXPECT_NO_THROW(j.Comment(std::string(65533, 'x')));
    EXPECT_EQ(j.Comment().size(), 65533u);
    ExpectJpegError([&] { j.Comment(std::string(65534, 'x')); }, "Illegal Comment Length", "comment");
    EXPECT_EQ(j.Comment().size(), 65533u);
}

// The segments in their order and with their lengths.
TEST(Markers, OrderAndLengths) {
    const BgrPicture p = test::PhotoLike(17, 13);
    struct Case { const char* what; std::array<int, 6> f; std::string comment; std::vector<std::uint8_t> order; };
    const Case cases[] = {
        {"colour with comment", {2, 2, 1, 1, 1, 1}, "hello",
         {0xD8, 0xE0, 0xFE, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9}},
        {"colour, no comment", {2, 2, 1, 1, 1, 1}, "", {0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9}},
        {"greyscale", {1, 1, 0, 0, 0, 0}, "", {0xD8, 0xE0, 0xDB, 0xC0, 0xC4, 0xC4, 0xDA, 0xD9}},
        {"16 luminance blocks: a scan of its own", {4, 4, 1, 1, 1, 1}, "",
         {0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xDA, 0xD9}},
        {"2x2 each: 4 + 4, then 4", {2, 2, 2, 2, 2, 2}, "",
         {0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xDA, 0xD9}},
        {"3 scans", {4, 3, 3, 3, 2, 3}, "", {0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xDA, 0xDA, 0xD9}},
    };
    for (const Case& c : cases) {
        const auto file = EncodePicture(p, 80, c.f, c.comment);
        const test::Stream s = test::ReadStream(file);
        ASSERT_TRUE(s.ok) << c.what << ": " << s.error;
        EXPECT_EQ(test::MarkerOrder(s), c.order) << c.what;
        EXPECT_EQ(s.trailing, 0u) << c.what;
        const std::size_t ncomp = c.f[2] ? 3 : 1;
        int dht = 0;
        for (const test::Segment& seg : s.segments) {
            switch (seg.marker) {
            case 0xE0: {
                const std::vector<std::uint8_t> app0 = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
                EXPECT_EQ(seg.declaredLength, 16u);
                EXPECT_EQ(seg.payload, app0);
                break;
            }
            case 0xFE: EXPECT_EQ(std::string(seg.payload.begin(), seg.payload.end()), c.comment); break;
            case 0xDB: EXPECT_EQ(seg.declaredLength, 67u); EXPECT_LE(seg.payload[0], 1); break;
            case 0xC0:
                EXPECT_EQ(seg.declaredLength, 8 + 3 * ncomp) << c.what;
                EXPECT_EQ(seg.payload[0], 8);
                EXPECT_EQ(seg.payload[1] << 8 | seg.payload[2], 13);
                EXPECT_EQ(seg.payload[3] << 8 | seg.payload[4], 17);
                EXPECT_EQ(seg.payload[5], ncomp);
                for (std::size_t i = 0; i < ncomp; ++i) {
                    EXPECT_EQ(seg.payload[6 + 3 * i], i + 1);
                    if (ncomp == 3) EXPECT_EQ(seg.payload[7 + 3 * i], c.f[2 * i] * 16 + c.f[2 * i + 1]);
                    else EXPECT_EQ(seg.payload[7 + 3 * i], 0x11);
                    EXPECT_EQ(seg.payload[8 + 3 * i], i == 0 ? 0 : 1);
                }
                break;
            case 0xC4: {
                static constexpr std::uint8_t kIds[4] = {0x00, 0x10, 0x01, 0x11};
                EXPECT_EQ(seg.payload[0], kIds[dht++]) << c.what;
                std::size_t n = 0;
                for (int i = 1; i <= 16; ++i) n += seg.payload[static_cast<std::size_t>(i)];
                EXPECT_EQ(seg.declaredLength, 2 + 1 + 16 + n);
                break;
            }
            case 0xDA: {
                const std::size_t ns = seg.payload[0];
                EXPECT_EQ(seg.declaredLength, 6 + 2 * ns);
                for (std::size_t k = 0; k < ns; ++k) {
                    const int id = seg.payload[1 + 2 * k];
                    EXPECT_EQ(seg.payload[2 + 2 * k], id == 1 ? 0x00 : 0x11);
                }
                EXPECT_EQ(seg.payload[1 + 2 * ns], 0);
                EXPECT_EQ(seg.payload[2 + 2 * ns], 63);
                EXPECT_EQ(seg.payload[3 + 2 * ns], 0);
                std::vector<std::uint8_t> data;
                EXPECT_TRUE(test::Unstuff(seg.entropy, data)) << c.what;
                break;
            }
            default: break;
            }
        }
    }
}

TEST(SnapshotComment, TwoLinesAndTheQuality) {
    const std::string c = SnapshotComment(80);
    EXPECT_EQ(c.rfind("  Snapshot Created in Tessara - ", 0), 0u);
    const std::size_t crlf = c.find("\r\n");
    ASSERT_NE(crlf, std::string::npos);
    EXPECT_EQ(c.find("\r\n", crlf + 1), std::string::npos);
    EXPECT_EQ(c.substr(crlf + 2), "  Jpeg Quality 80");
    EXPECT_EQ(SnapshotComment(7).substr(c.find("\r\n") + 2), "  Jpeg Quality 7");
}

TEST(Sample, BadRectanglesAreRefused) {
    const BgrPicture p = test::PhotoLike(20, 10);
    struct Case { int w, h, left, top; int result; };
    const Case cases[] = {{20, 10, 0, 0, 0}, {10, 5, 10, 5, 0}, {0, 10, 0, 0, 1}, {20, 0, 0, 0, 1},
                          {21, 10, 0, 0, 1}, {10, 5, 11, 0, 1}, {10, 5, 0, 6, 1}, {5, 5, -1, 0, 1}};
    for (const Case& c : cases) {
        cJpeg j;
        EXPECT_EQ(j.SampleBuffer(p.View(), c.w, c.h, c.left, c.top), c.result) << c.w << "x" << c.h << "+" << c.left << "+" << c.top;
    }
}

// A sampler with no twin: the encoder then makes the sizes one after the other, as it does
// over a device context, instead of side by side.
class LoneSampler final : public jpeg::PictureSampler {
public:
    LoneSampler(const BgrView& v, int w, int h) : inner_(v, 0, 0, w, h) {}
    bool Prepare(int w, int h) override {
        ++prepared;
        return inner_.Prepare(w, h);
    }
    const std::uint8_t* Row(int y) override { return inner_.Row(y); }
    int prepared = 0;

private:
    jpeg::BufferSampler inner_;
};

// Both orders of work give the same file, for one to three picture sizes.
TEST(Sample, SizesSideBySideOrOneAfterTheOtherGiveTheSameFile) {
    const std::array<int, 6> factors[] = {{2, 2, 1, 1, 1, 1}, {2, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}, {4, 2, 1, 1, 2, 1},
                                          {1, 1, 0, 0, 0, 0}};
    const int sizes[][2] = {{1, 1}, {17, 13}, {64, 48}, {101, 37}};
    for (const auto& f : factors) {
        for (const auto& wh : sizes) {
            const BgrPicture p = test::ScreenshotLike(wh[0], wh[1]);
            const std::vector<std::uint8_t> together = EncodePicture(p, 80, f);
            cJpeg j;
            j.Quality(80);
            j.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
            LoneSampler lone(p.View(), p.Width(), p.Height());
            ASSERT_EQ(j.Sample(lone, p.Width(), p.Height()), 0);
            EXPECT_GE(lone.prepared, 1);
            EXPECT_EQ(j.Encode(), together) << wh[0] << "x" << wh[1] << " factors " << f[0] << f[1] << f[2] << f[3] << f[4] << f[5];
        }
    }
}

// A sampler that can make the full size only (no twin): the chroma picture fails after the
// luminance has been made. Nothing half made is kept, and the file has no scan data.
class FullSizeOnlySampler final : public jpeg::PictureSampler {
public:
    FullSizeOnlySampler(const BgrView& v, int w, int h) : inner_(v, 0, 0, w, h), w_(w), h_(h) {}
    bool Prepare(int w, int h) override { return w == w_ && h == h_ && inner_.Prepare(w, h); }
    const std::uint8_t* Row(int y) override { return inner_.Row(y); }

private:
    jpeg::BufferSampler inner_;
    int w_, h_;
};

TEST(Sample, APictureThatCannotBeMadeLeavesNoCoefficients) {
    const BgrPicture p = test::PhotoLike(40, 24);
    cJpeg j;
    FullSizeOnlySampler s(p.View(), 40, 24);
    EXPECT_EQ(j.Sample(s, 40, 24), 1);
    for (const cJpeg::Component& c : j.Components()) {
        EXPECT_TRUE(c.coefficients.empty());
        EXPECT_TRUE(c.masks.empty());
    }
    const std::vector<std::uint8_t> file = j.Encode();
    ASSERT_GE(file.size(), 4u);
    // SOS segment (12 + 2 bytes with three components) straight before EOI.
    EXPECT_EQ(file[file.size() - 2], 0xFF);
    EXPECT_EQ(file[file.size() - 1], 0xD9);
    EXPECT_EQ(file[file.size() - 16], 0xFF);
    EXPECT_EQ(file[file.size() - 15], 0xDA);
}

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("orv_snapshot_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        for (auto& e : std::filesystem::recursive_directory_iterator(dir_, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Name(const std::string& utf8) const { return Utf8FromPath(dir_) + "/" + utf8; }
    static std::vector<std::uint8_t> Read(const std::string& name) {
        std::ifstream f(PathFromUtf8(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    std::filesystem::path dir_;
};

TEST_F(Files, SaveFileNeverOverwrites) {
    const BgrPicture p = test::PhotoLike(9, 9);
    cJpeg j;
    ASSERT_EQ(j.SampleBuffer(p.View(), 9, 9, 0, 0), 0);
    EXPECT_EQ(j.SaveFile(""), 1);
    const std::string name = Name("snap.jpg");
    { std::ofstream(PathFromUtf8(name)) << "keep"; }
    EXPECT_EQ(j.SaveFile(name), 2);
    EXPECT_EQ(Read(name), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    const std::string fresh = Name("fresh.jpg");
    EXPECT_EQ(j.SaveFile(fresh), 0);
    EXPECT_EQ(Read(fresh), j.Encode());
}

TEST_F(Files, SaveJpegReplacesEvenAReadOnlyFile) {
    const BgrPicture p = test::ScreenshotLike(33, 21);
    const std::string leaves[] = {"plain.jpg", "Schnappschuss \xc3\xa4\xc3\xb6\xc3\xbc \xe6\x97\xa5\xe6\x9c\xac.jpg"};
    for (const std::string& leaf : leaves) {
        const std::string name = Name(leaf);
        { std::ofstream(PathFromUtf8(name)) << "old"; }
        std::filesystem::permissions(PathFromUtf8(name), std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
        SaveJpeg(p.View(), name, 80);
        const auto bytes = Read(name);
        ASSERT_GT(bytes.size(), 100u) << leaf;
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1], 0xD8);
        const test::Stream s = test::ReadStream(bytes);
        ASSERT_TRUE(s.ok);
        EXPECT_EQ(s.segments[2].marker, 0xFE);
        EXPECT_EQ(std::string(s.segments[2].payload.begin(), s.segments[2].payload.end()), SnapshotComment(80));
    }
}

TEST_F(Files, FileExistsSeesFilesNotFolders) {
    const std::string file = Name("a.jpg"), folder = Name("folder");
    { std::ofstream(PathFromUtf8(file)) << "x"; }
    std::filesystem::create_directory(PathFromUtf8(folder));
    EXPECT_TRUE(jpeg::FileExists(file));
    EXPECT_FALSE(jpeg::FileExists(folder));
    EXPECT_FALSE(jpeg::FileExists(Name("missing.jpg")));
    EXPECT_FALSE(jpeg::FileExists(""));
}

}  // namespace
}  // namespace orv
