// The stand itself, as the other scenarios rely on it: one desktop picture, the shell's.
#include "e2e/driver.h"

#include "base/bmp.h"

namespace orv::e2e {
namespace {

using StandTest = AppTest;  // clean look before and after

COLORREF ScreenPixel(POINT p) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Fault: Wine's desktop window paints its own wallpaper (always centred) over the shell's
// stretched one, and over every window, whenever it is invalidated; a screenshot then shows
// the picture twice. Left quarter red, the rest blue: stretched, the probe point is blue; in a
// centred copy it falls in the red quarter.
TEST_F(StandTest, OnlyTheShellPaintsTheWallpaper) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const int w = cx / 4, h = cy / 4;
    const POINT probe = {(cx - w) / 2 + w / 8, cy / 2};  // red in the centred copy, blue stretched
    std::vector<std::uint8_t> bgr(static_cast<size_t>(w) * h * 3);
    for (int i = 0; i < w * h; ++i) {
        const bool red = i % w < w / 4;
        bgr[i * 3 + 0] = red ? 0 : 255;
        bgr[i * 3 + 2] = red ? 255 : 0;
    }
    const auto file = EncodeBmp24(w, h, bgr.data(), w * 3);
    const fs::path path = fs::temp_directory_path() / test::UniqueName("wall.bmp");
    test::WriteFile(path, std::string(file.begin(), file.end()));
    std::wstring wide = path.wstring();
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, wide.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE));

    auto blue = [&] { return ScreenPixel(probe) == RGB(0, 0, 255); };
    ASSERT_TRUE(WaitUntil(blue, 5000)) << "the shell paints the picture stretched";
    RedrawWindow(GetDesktopWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
    EXPECT_FALSE(WaitUntil([&] { return !blue(); }, 1500)) << "something painted over the shell's picture";
    std::error_code ec;
    fs::remove(path, ec);
}

}  // namespace
}  // namespace orv::e2e
