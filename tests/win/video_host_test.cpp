// The video's host on the stand-in shell, in both of its shapes.
#include "video/win/video_host.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

void Pump(DWORD ms) {
    for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end; Sleep(10))
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m);
}

// The stand-in shell rebuilt (as after Explorer restarts): 0 as it is, 1 classic, 2 24H2.
void Rebuild(WPARAM shape) {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(FindWindowW(L"Progman", nullptr), RegisterWindowMessageW(L"OrvStandinRebuild"), shape, 0,
                        SMTO_ABORTIFHUNG, 3000, &r);
    Pump(300);
}
struct ShellShape {
    explicit ShellShape(WPARAM shape) { Rebuild(shape); }
    ~ShellShape() { Rebuild(1); }
};

// A plain child window standing in for the media device's, over the host's rectangle.
struct FakeVideo {
    HWND hwnd = nullptr;
    explicit FakeVideo(const VideoHost& host) { Make(host); }
    void Make(const VideoHost& host) {
        const RECT r = host.Rect();
        hwnd = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, r.right, r.bottom, host.Parent(),
                               nullptr, nullptr, nullptr);
    }
    ~FakeVideo() { DestroyWindow(hwnd); }
};

// Waits for onHostChanged after the shell rebuilt itself, then puts the video back (a new
// one when it went with its parent, as a player opens the device again).
void ExpectChangeSeenAndPutBack(VideoHost& host, FakeVideo& video) {
    bool changed = false;
    host.onHostChanged = [&] { changed = true; };
    Rebuild(0);
    for (int i = 0; i < 30 && !changed; ++i) Pump(100);
    ASSERT_TRUE(changed) << "the shell's new windows went unnoticed";
    ASSERT_TRUE(host.Arrange());
    if (!IsWindow(video.hwnd)) video.Make(host);
    ASSERT_TRUE(host.Place(video.hwnd));
    EXPECT_TRUE(host.InPlace());
}

// Faults: the shell not asked for its icons' "WorkerW" (the video lands in "Progman", under
// the icons' window and the wallpaper's), the video put into the icons' "WorkerW" or the first
// "WorkerW" rather than the one right behind it, the rebuilt shell not noticed.
TEST(VideoHost, ClassicShellPutsTheVideoIntoTheWorkerBehindTheIcons) {
    ShellShape shape(1);
    auto host = VideoHost::Create();
    ASSERT_TRUE(host && host->Arrange());
    HWND icons = FindWindowExW(nullptr, nullptr, L"WorkerW", nullptr);
    while (icons && !FindWindowExW(icons, nullptr, L"SHELLDLL_DefView", nullptr))
        icons = FindWindowExW(nullptr, icons, L"WorkerW", nullptr);
    ASSERT_TRUE(icons) << "the shell was not asked for its icons' WorkerW";
    EXPECT_EQ(host->Parent(), FindWindowExW(nullptr, icons, L"WorkerW", nullptr));
    FakeVideo video(*host);
    ASSERT_TRUE(host->Place(video.hwnd));
    RECT r{};
    EXPECT_TRUE(GetWindowRect(video.hwnd, &r) && r.right - r.left == GetSystemMetrics(SM_CXSCREEN));
    EXPECT_TRUE(host->InPlace());
    ExpectChangeSeenAndPutBack(*host, video);
    EXPECT_TRUE(FindWindowExW(GetWindow(host->Parent(), GW_HWNDPREV), nullptr, L"SHELLDLL_DefView", nullptr));
    host->Leave();
}

// Faults: the video in front of the icon layer or behind the wallpaper's "WorkerW", a child
// of that "WorkerW", the shell's new windows in front of the video not noticed.
TEST(VideoHost, Win24H2ShellPutsTheVideoBetweenTheIconsAndTheWallpaper) {
    ShellShape shape(2);
    auto host = VideoHost::Create();
    ASSERT_TRUE(host && host->Arrange());
    HWND progman = FindWindowW(L"Progman", nullptr);
    EXPECT_EQ(host->Parent(), progman);
    FakeVideo video(*host);
    ASSERT_TRUE(host->Place(video.hwnd));
    EXPECT_EQ(GetWindow(video.hwnd, GW_HWNDPREV), FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr));
    EXPECT_EQ(GetWindow(video.hwnd, GW_HWNDNEXT), FindWindowExW(progman, nullptr, L"WorkerW", nullptr));
    EXPECT_TRUE(host->InPlace());
    ExpectChangeSeenAndPutBack(*host, video);
    EXPECT_EQ(GetWindow(video.hwnd, GW_HWNDPREV), FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr));
    host->Leave();
}

}  // namespace
}  // namespace orv
