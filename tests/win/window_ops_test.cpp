#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/win/window_ops.h"
#include "sandbox.h"

namespace orv {
namespace {

// Windows owned by a thread of their own, like another application's windows; the thread
// can be told to stop pumping messages for a while, like a hung application.
class ForeignWindows {
public:
    ForeignWindows() {
        thread_ = std::thread([this] { Run(); });
        while (!ready_) Sleep(5);
    }
    ~ForeignWindows() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Make(const std::wstring& title, int showCmd) {
        HWND h = nullptr;
        Call([&] {
            h = CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
            ShowWindow(h, showCmd);
        });
        return h;
    }
    void Hang(DWORD ms) {
        PostThreadMessageW(threadId_, WM_APP, ms, 0);
        Sleep(50);  // let the thread enter its sleep
    }

private:
    void Call(const std::function<void()>& f) {
        PostThreadMessageW(threadId_, WM_APP + 1, 0, reinterpret_cast<LPARAM>(&f));
        while (!done_.exchange(false)) Sleep(2);
    }
    void Run() {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        threadId_ = GetCurrentThreadId();
        ready_ = true;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.hwnd == nullptr && msg.message == WM_APP) {
                Sleep(static_cast<DWORD>(msg.wParam));
            } else if (msg.hwnd == nullptr && msg.message == WM_APP + 1) {
                (*reinterpret_cast<const std::function<void()>*>(msg.lParam))();
                done_ = true;
            } else {
                DispatchMessageW(&msg);
            }
        }
    }
    std::thread thread_;
    std::atomic<bool> ready_{false};
    std::atomic<bool> done_{false};
    DWORD threadId_ = 0;
};

bool WaitFor(const std::function<bool()>& pred, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        if (pred()) return true;
        Sleep(10);
    }
    return pred();
}

TEST(Win32WindowOps, EnumeratesTitlesAndShowStatesOfOtherThreadsWindows) {
    ForeignWindows fw;
    const std::wstring tag = Widen(test::UniqueName("ops"));
    HWND normal = fw.Make(L"Normal " + tag, SW_SHOWNORMAL);
    HWND mini = fw.Make(L"Mini " + tag, SW_SHOWMINIMIZED);
    HWND maxi = fw.Make(L"Maxi " + tag, SW_SHOWMAXIMIZED);
    HWND hidden = fw.Make(L"Hidden " + tag, SW_HIDE);
    HWND untitled = fw.Make(L"", SW_SHOWNORMAL);
    HWND unicode = fw.Make(L"Grüße 日本 " + tag, SW_SHOWNORMAL);

    Win32WindowOps ops;
    std::map<WindowId, std::string> seen;
    ops.EnumerateTopLevel([&](WindowId id, const std::string& title) { seen[id] = title; });
    ASSERT_TRUE(seen.count(ToId(normal)));
    EXPECT_EQ(seen[ToId(normal)], Narrow(L"Normal " + tag));
    EXPECT_EQ(seen[ToId(unicode)], Narrow(L"Grüße 日本 " + tag));
    ASSERT_TRUE(seen.count(ToId(untitled)));
    EXPECT_EQ(seen[ToId(untitled)], "");

    EXPECT_EQ(ops.ShowCommand(ToId(normal)), SW_SHOWNORMAL);
    EXPECT_EQ(ops.ShowCommand(ToId(mini)), SW_SHOWMINIMIZED);
    EXPECT_EQ(ops.ShowCommand(ToId(maxi)), SW_SHOWMAXIMIZED);
    EXPECT_EQ(ops.IsVisible(ToId(normal)), 1);
    EXPECT_EQ(ops.IsVisible(ToId(hidden)), 0);

    // Hidden and shown again with the recorded command, across threads.
    ASSERT_TRUE(ops.Show(ToId(mini), SW_HIDE));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(mini); }, 2000));
    ASSERT_TRUE(ops.Show(ToId(mini), SW_SHOWMINIMIZED));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(mini) && IsIconic(mini); }, 2000));
    ASSERT_TRUE(ops.Show(ToId(maxi), SW_HIDE));
    ASSERT_TRUE(ops.Show(ToId(maxi), SW_SHOWMAXIMIZED));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(maxi) && IsZoomed(maxi); }, 2000));
}

TEST(Win32WindowOps, AHungApplicationNeverBlocksAndItsWindowStillChanges) {
    ForeignWindows fw;
    HWND h = fw.Make(Widen(test::UniqueName("Hung")), SW_SHOWNORMAL);
    Win32WindowOps ops;
    fw.Hang(3000);
    const ULONGLONG t0 = GetTickCount64();
    EXPECT_TRUE(ops.Show(ToId(h), SW_HIDE));
    const ULONGLONG spent = GetTickCount64() - t0;
    EXPECT_LT(spent, 1500u) << "Show waited on a window that does not answer";
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(ops.IsVisible(ToId(h)), 0) << "asked to hide: no longer on this desktop";
    // The request waits in the window's queue and takes effect when it wakes up.
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(h); }, 6000));
    EXPECT_TRUE(ops.Show(ToId(h), SW_SHOWNORMAL));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(h) != FALSE; }, 3000));
}

TEST(Win32WindowOps, AClosedWindowFailsQuietly) {
    Win32WindowOps ops;
    HWND h = CreateWindowExW(0, L"STATIC", L"short-lived", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    WindowId id = ToId(h);
    DestroyWindow(h);
    EXPECT_FALSE(ops.Show(id, SW_SHOWNORMAL));
    EXPECT_EQ(ops.IsVisible(id), 0);
    EXPECT_EQ(ops.ShowCommand(id), 0);
}

TEST(Win32WindowOps, OwnThreadWindowsAreShownAtOnce) {
    Win32WindowOps ops;
    HWND h = CreateWindowExW(0, L"STATIC", L"own", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
    EXPECT_TRUE(ops.Show(ToId(h), SW_SHOWNORMAL));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(ops.Show(ToId(h), SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(h));
    DestroyWindow(h);
}

}  // namespace
}  // namespace orv
