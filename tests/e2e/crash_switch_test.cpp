// A crash in the middle of a switch, caused from outside while the Desktop's files move.
#include <cstdio>

#include "app/win/bar_ids.h"
#include "base/win/fatal.h"
#include "e2e/driver.h"

namespace orv::e2e {
namespace {

// Faults: a crash between the hides and the icon moves of a switch leaves windows hidden,
// leaves desktop 1's files in its folder, or files them under the desktop being entered
// (the journal not written before the hides, or not between the two moves).
TEST_F(AppTest, ACrashInsideASwitchBringsBackTheWindowsAndDesktopOnesFiles) {
    SetSetting("CONFIG", "SharedIcons", "False");
    const fs::path desk = PathFromUtf8(DesktopFolder());
    test::Tree one, two = {{"two.txt", "2"}, {"f7.txt", "desktop 2's own f7"}};
    for (int i = 0; i < 400; ++i) one["f" + std::to_string(i) + ".txt"] = std::to_string(i);
    test::PlantTree(desk, one);
    test::PlantTree(IconFolder(2), two);
    TestWindows tw = OpenTestWindows({L"title=Max;state=max", L"title=Plain;x=480;y=300"});
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    const DWORD watchdog = WatchdogOf(App().Pid());
    ASSERT_NE(watchdog, 0u);

    // Desktop 2 is pressed; once the first files reach desktop 1's folder, another process
    // makes the program run a thread that jumps nowhere.
    ASSERT_TRUE(MouseDrag(Centre(Rect(GetDlgItem(Bar(), kIdDesk0 + 1))), Centre(Rect(GetDlgItem(Bar(), kIdDesk0 + 1)))));
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(IconFolder(1)) && !fs::is_empty(IconFolder(1)); }, 10000));
    ASSERT_TRUE(UniqueHandle(CreateRemoteThread(App().Handle(), nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(16),
                                                nullptr, 0, nullptr)));
    const auto moved = std::distance(fs::directory_iterator(IconFolder(1)), fs::directory_iterator());
    std::printf("crashed with %d of %zu files moved out\n", static_cast<int>(moved), one.size());
    EXPECT_TRUE(App().WaitExit(2500));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(App().Handle(), &code) && code == kFatalExitCode) << code;
    for (HWND h : tw.All()) EXPECT_TRUE(WaitVisible(h, true, 2000));
    EXPECT_TRUE(IsZoomed(tw.Get(L"Max")));

    // The watchdog puts the Desktop folder back to desktop 1's files, then ends.
    UniqueHandle w(OpenProcess(SYNCHRONIZE, FALSE, watchdog));
    ASSERT_TRUE(w);
    EXPECT_EQ(WaitForSingleObject(w.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(test::ReadTree(desk), one);
    EXPECT_EQ(test::ReadTree(IconFolder(1)), test::Tree{});
    EXPECT_EQ(test::ReadTree(IconFolder(2)), two);
}

}  // namespace
}  // namespace orv::e2e
