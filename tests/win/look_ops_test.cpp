#include <gtest/gtest.h>

#include "app/win/default_wallpapers.h"
#include "app/win/look_ops.h"
#include "app/win/window_ops.h"
#include "base/bmp.h"
#include "common/test_files.h"
#include "settings/win/registry_mod.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// A 3 x 2 bitmap file whose every byte differs, so swapped colours or rows show.
std::string Bmp(std::uint8_t seed) {
    std::uint8_t px[18];
    for (int i = 0; i < 18; ++i) px[i] = static_cast<std::uint8_t>(seed + 13 * i);
    const auto file = EncodeBmp24(3, 2, px, 9);
    return std::string(file.begin(), file.end());
}

TEST(ConvertPictureToBmp, APictureBecomesTheSameBitmapAndNothingIsWrittenForABrokenOne) {
    test::TempFolder t;
    test::WriteFile(t.path() / "in.bmp", Bmp(7));
    ASSERT_TRUE(ConvertPictureToBmp(t / "in.bmp", t / "Wäll.bmp"));
    EXPECT_EQ(test::ReadFile(PathFromUtf8(t / "Wäll.bmp")), Bmp(7));
    // As shipped beside the program, over the picture made before.
    ASSERT_TRUE(ConvertPictureToBmp(ORV_SOURCE_DIR "/res/bg1.jpg", t / "Wäll.bmp"));
    EXPECT_EQ(test::ReadFile(PathFromUtf8(t / "Wäll.bmp")).size(), 54u + 800u * 3u * 600u);
    test::WriteFile(t.path() / "broken.jpg", "\xFF\xD8 not really a jpeg");
    EXPECT_FALSE(ConvertPictureToBmp(t / "missing.jpg", t / "a.bmp"));
    EXPECT_FALSE(ConvertPictureToBmp(t / "broken.jpg", t / "b.bmp"));
    EXPECT_FALSE(fs::exists(t.path() / "a.bmp") || fs::exists(t.path() / "b.bmp"));
}

// Puts the system's colour and wallpaper back as they were.
struct SystemLookGuard {
    const std::uint32_t colour = GetSysColor(COLOR_BACKGROUND);
    const std::string wall = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
    const std::string style = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle");
    const std::string tile = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper");
    ~SystemLookGuard() { PutLookOnScreen({true, colour, tile, style, wall == " " ? "" : wall}); }
};

// A window of ours that counts the colour and wallpaper broadcasts it receives.
int colourBroadcasts = 0, wallpaperBroadcasts = 0;
struct BroadcastCounter {
    HWND h = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    BroadcastCounter() {
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND to, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            colourBroadcasts += m == WM_SYSCOLORCHANGE;
            wallpaperBroadcasts += m == WM_SETTINGCHANGE && w == SPI_SETDESKWALLPAPER;
            return DefWindowProcW(to, m, w, l);
        }));
    }
    ~BroadcastCounter() { DestroyWindow(h); }
    std::tuple<int, int> Take() {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
        return std::tuple(std::exchange(colourBroadcasts, 0), std::exchange(wallpaperBroadcasts, 0));
    }
};

TEST(Win32LookOps, TheLookTakesEffectAtOnceAndIsBroadcastOnlyWhenItChanges) {
    SystemLookGuard guard;
    test::TempFolder t;
    const std::string bmp = t / "Wänd 1.bmp";
    test::WriteFile(PathFromUtf8(bmp), Bmp(1));
    const bool tiled = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper") == "1";
    const LookRequest look{true, 0x00102030, tiled ? "1" : "0", "0", bmp};
    PutLookOnScreen(look);
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), bmp) << "kept in the user's profile";

    BroadcastCounter counter;
    counter.Take();
    PutLookOnScreen(look);  // as it is: nothing to tell anyone
    EXPECT_EQ(counter.Take(), std::tuple(0, 0));
    // A new colour, a new style for the same file, or another file: each is broadcast.
    PutLookOnScreen({true, 0x00302010, tiled ? "0" : "1", "0", bmp});
    PutLookOnScreen({false, 0, "", "", ""});
    EXPECT_EQ(counter.Take(), std::tuple(1, 2));
}

// Faults: every switch's look broadcast in turn (or the oldest kept) behind a hung
// application; a quit that waits on it without a bound, or does not wait at all; a look
// requested while held (during a switch) put on the screen at once, or never once released;
// the looks of desktops flipped through broadcast one by one; a look on the screen taken for
// one still on its way while its broadcast waits.
TEST(LookWorker, TheLatestLookWinsAndTheWaitIsBoundedWhileAnApplicationHangs) {
    SystemLookGuard guard;
    BroadcastCounter counter;
    const COLORREF base = GetSysColor(COLOR_BACKGROUND) ^ 0x00404040;
    const std::string wall = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
    Win32LookOps ops;
    {
        test::ForeignWindows hung({{L"", SW_HIDE}});  // a background application that stops pumping
        hung.Hang(2500);
        counter.Take();
        ops.RequestLook({true, base, "", "", wall});
        ULONGLONG t0 = GetTickCount64();
        EXPECT_FALSE(ops.FinishLook(400)) << "the broadcast waits on the hung window";
        EXPECT_LT(GetTickCount64() - t0, 900u);
        for (COLORREF c : {base ^ 1u, base ^ 2u, base ^ 3u}) ops.RequestLook({true, c, "", "", wall});
        EXPECT_FALSE(ops.LookShown());
        EXPECT_TRUE(ops.FinishLook(20000));
    }
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), base ^ 3u);
    EXPECT_EQ(counter.Take(), std::tuple(2, 0)) << "the first and the latest look only";
    ops.HoldLooks(true);
    ops.RequestLook({true, base, "", "", wall});
    EXPECT_FALSE(ops.FinishLook(300)) << "held, yet on the screen";
    // Flipping through desktops: each switch releases a look and the next holds again a few
    // milliseconds later. Only the last desktop's look goes on the screen.
    counter.Take();
    const ULONGLONG t0 = GetTickCount64();
    for (COLORREF c : {base ^ 1u, base ^ 2u, base}) {
        ops.HoldLooks(true);
        ops.RequestLook({true, c, "", "", wall});
        ops.HoldLooks(false);
        Sleep(8);
    }
    const bool quick = GetTickCount64() - t0 < 45;  // a stalled test thread lets a look through
    EXPECT_TRUE(ops.FinishLook(5000));
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), base);
    if (quick) {
        EXPECT_EQ(counter.Take(), std::tuple(1, 0)) << "a desktop passed through had its look broadcast";
    }
    // A look on the screen counts as shown while its broadcast still waits on a hung
    // application: the user may change it meanwhile, and the next switch must save that.
    test::TempFolder t;
    test::WriteFile(t.path() / "w.bmp", Bmp(3));
    test::ForeignWindows hung({{L"", SW_HIDE}});
    hung.Hang(2000);
    ops.RequestLook({false, 0, "", "", t / "w.bmp"});
    EXPECT_TRUE(test::WaitFor([&] { return ops.LookShown(); }, 1500));
    EXPECT_FALSE(ops.LookDone()) << "the broadcast waits on the hung window";
    EXPECT_TRUE(ops.FinishLook(20000));
}

// Fault: a look released by a switch settles while the program of a window it hid is still
// working through its hide (it would answer the broadcast first, and repaint on its way out).
TEST(Win32LookOps, ALookReleasedByASwitchWaitsForTheProgramsOfTheWindowsItHid) {
    SystemLookGuard guard;
    test::TempFolder t;
    test::WriteFile(t.path() / "w.bmp", Bmp(5));  // a wallpaper counts as shown before its broadcast
    test::ForeignWindows fw({{L"Leaving", SW_SHOWNA}});  // not active: hidden by a posted request alone
    Win32WindowOps windows;
    Win32LookOps ops;
    ops.SetDepartedSource([&] { return windows.TakeDeparted(); });
    const ULONGLONG busyFrom = GetTickCount64();
    fw.Hang(180);  // its hide waits in its queue till then
    windows.HideStack({{ToId(fw.windows[0]), fw.threadId}});
    ops.HoldLooks(true);
    ops.RequestLook({false, 0, "", "", t / "w.bmp"});
    ops.HoldLooks(false);
    Sleep(150);
    if (const bool shown = ops.LookShown(); GetTickCount64() - busyFrom < 220) {  // not stalled past its hide
        EXPECT_FALSE(shown) << "put on the screen before the window was hidden";
    }
    EXPECT_TRUE(ops.FinishLook(5000));
    EXPECT_FALSE(IsWindowVisible(fw.windows[0]));
}

}  // namespace
}  // namespace orv
