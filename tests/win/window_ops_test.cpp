#include <gtest/gtest.h>

#include "app/win/window_ops.h"
#include "base/win/utf.h"
#include "common/test_files.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

TEST(Win32WindowOps, AnotherApplicationsWindowsAreReadAndShownAsRecordedAndAHungOneNeverBlocks) {
    const std::wstring tag = Widen(test::UniqueName(""));
    test::ForeignWindows fw({{L"Normal" + tag, SW_SHOWNORMAL}, {L"Mini" + tag, SW_SHOWMINIMIZED},
                             {L"Maxi" + tag, SW_SHOWMAXIMIZED}, {L"Hidden" + tag, SW_HIDE}, {L"", SW_SHOWNORMAL},
                             {L"Grüße 日本" + tag, SW_SHOWNORMAL}});
    const HWND normal = fw.windows[0], mini = fw.windows[1], maxi = fw.windows[2], hidden = fw.windows[3];
    Win32WindowOps ops;
    std::map<WindowId, std::string> seen;
    ops.EnumerateTopLevel([&](WindowId id, const std::string& title) { seen[id] = title; });
    EXPECT_EQ(seen[ToId(normal)], Narrow(L"Normal" + tag));
    EXPECT_EQ(seen[ToId(fw.windows[5])], Narrow(L"Grüße 日本" + tag));
    EXPECT_EQ(seen.count(ToId(fw.windows[4])), 1u) << "an untitled window is visited too";
    EXPECT_EQ(std::tuple(ops.ShowCommand(ToId(normal)), ops.ShowCommand(ToId(mini)), ops.ShowCommand(ToId(maxi))),
              std::tuple(SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED));
    EXPECT_EQ(std::tuple(ops.IsVisible(ToId(normal)), ops.IsVisible(ToId(hidden))), std::tuple(1, 0));
    for (auto [h, showCmd] : {std::pair{mini, SW_SHOWMINIMIZED}, {maxi, SW_SHOWMAXIMIZED}}) {
        ASSERT_TRUE(ops.Show(ToId(h), SW_HIDE));
        ASSERT_TRUE(ops.Show(ToId(h), showCmd));
    }
    EXPECT_TRUE(test::WaitFor([&] { return IsIconic(mini) && IsZoomed(maxi) && IsWindowVisible(mini) && IsWindowVisible(maxi); }, 2000));

    Win32WindowOps later;  // a probe that has not asked this thread yet (answers are kept a while)
    fw.Hang(3000);
    const ULONGLONG t0 = GetTickCount64();
    later.EnumerateTopLevel([](WindowId, const std::string&) {});
    EXPECT_TRUE(later.Show(ToId(normal), SW_HIDE));
    EXPECT_LT(GetTickCount64() - t0, 1500u) << "waited on a window that does not answer";
    EXPECT_TRUE(IsWindowVisible(normal));
    EXPECT_EQ(later.IsVisible(ToId(normal)), 0) << "asked to hide: no longer on this desktop";
    // The request waits in the window's queue and takes effect when it wakes up.
    EXPECT_TRUE(test::WaitFor([&] { return !IsWindowVisible(normal); }, 6000));
    EXPECT_TRUE(later.Show(ToId(normal), SW_SHOWNORMAL));
    EXPECT_TRUE(test::WaitFor([&] { return IsWindowVisible(normal) != FALSE; }, 3000));
}

}  // namespace
}  // namespace orv
