#include <gtest/gtest.h>

#include <fstream>

#include "app/win/default_wallpapers.h"
#include "sandbox.h"

namespace orv {
namespace {

using test::TempFolder;

std::string ReadAll(const std::string& path) {
    std::ifstream f(PathFromUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}
std::uint32_t U32(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

TEST(DefaultWallpapers, ShippedPicturesBecomeBitmaps) {
    TempFolder t;
    for (int n = 1; n <= 6; ++n) {
        const std::string jpg = std::string(ORV_SOURCE_DIR) + "/res/bg" + std::to_string(n) + ".jpg";
        const std::string bmp = t / ("Wäll" + std::to_string(n) + ".bmp");
        ASSERT_TRUE(ConvertPictureToBmp(jpg, bmp)) << jpg;
        const std::string b = ReadAll(bmp);
        ASSERT_GT(b.size(), 54u);
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(U32(b, 2), b.size());
        EXPECT_EQ(U32(b, 18), 800u);
        EXPECT_EQ(U32(b, 22), 600u);
        EXPECT_EQ(b[28], 24);
        EXPECT_EQ(b.size(), 54u + 2400u * 600u);
    }
}

TEST(DefaultWallpapers, MissingOrBrokenPictureWritesNothing) {
    TempFolder t;
    EXPECT_FALSE(ConvertPictureToBmp(t / "missing.jpg", t / "a.bmp"));
    EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(t / "a.bmp")));
    std::ofstream(PathFromUtf8(t / "broken.jpg"), std::ios::binary) << "\xFF\xD8 not really a jpeg";
    EXPECT_FALSE(ConvertPictureToBmp(t / "broken.jpg", t / "b.bmp"));
    EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(t / "b.bmp")));
}

}  // namespace
}  // namespace orv
