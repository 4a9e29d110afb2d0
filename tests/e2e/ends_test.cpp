// The unhappy ends of the real exe: a crash from outside while windows are hidden, a quit
// while another application hangs, and kills, after which the watchdog or the next start
// brings everything back, leaving others' windows alone and ignoring a garbage journal.
#include "app/desktop_look.h"
#include "app/journal.h"
#include "app/win/journal_file.h"
#include "app/win/bar_ids.h"
#include "app/win/window_ops.h"
#include "base/win/fatal.h"
#include "e2e/driver.h"
#include "settings/win/registry_mod.h"

namespace orv::e2e {
namespace {

using test::ReadFile;

std::string Wallpaper() {
    const std::string w = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
    return w == " " ? "" : w;
}
fs::path Data(const char* name) { return PathFromUtf8(DataFolder()) / name; }
fs::path Desk(int d) { return PathFromUtf8(DesktopFolder()) / ("desk" + std::to_string(d) + ".txt"); }

// Faults: quitting while an application hangs never puts desktop 1's look back, or waits for
// the hung application without a bound; a crash leaves the other desktops' windows hidden for
// good (no filter, or one that waits on a hung window), or ends without a word in the log.
TEST_F(AppTest, AQuitWhileAnApplicationHangsOrACrashFromOutsideEndsInTimeShowingEveryWindowAgain) {
    SetSetting("DESK2", "1", "255");
    for (const bool crash : {false, true}) {
        TestWindows tw = OpenTestWindows({L"title=Max;state=max", L"title=One;x=480;y=300", L"title=Hangs;hang=1;x=560;y=380"});
        ASSERT_TRUE(tw.Ready() && Start());
        ClickDesk(2);
        for (const auto& [h, t] : tw.items) ASSERT_TRUE(WaitVisible(h, false));
        ASSERT_TRUE(WaitUntil([] { return Wallpaper() == DataPath("Wall2.bmp"); }, 5000));
        ASSERT_EQ(FreshSysColour(), 255u);
        // The look's closing broadcast must have passed the window before it hangs: a window
        // that hangs while the broadcast waits on it holds the worker until the system calls it
        // hung (5 s), longer than quitting waits, and the quit's look would never start.
        PumpFor(1500);
        HWND hangs = tw.Get(L"Hangs");
        ASSERT_TRUE(PostMessageW(hangs, RegisterWindowMessageW(L"OrvTestHang"), 0, 0));  // for ever
        ASSERT_TRUE(WaitUntil([&] { return !Responds(hangs, 100); }, 3000));
        if (crash)  // another process makes the program run a thread that jumps nowhere
            ASSERT_TRUE(UniqueHandle(CreateRemoteThread(App().Handle(), nullptr, 0,
                                                        reinterpret_cast<LPTHREAD_START_ROUTINE>(16), nullptr, 0, nullptr)));
        else
            ASSERT_TRUE(Quit(IDYES));
        EXPECT_TRUE(App().WaitExit(2500)) << crash;
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeProcess(App().Handle(), &code) && (code == kFatalExitCode) == crash) << code;
        for (const wchar_t* t : {L"Max", L"One"}) EXPECT_TRUE(WaitVisible(tw.Get(t), true, 2000)) << crash;
        EXPECT_TRUE(IsZoomed(tw.Get(L"Max")));
        EXPECT_NE(ReadLog().find(crash ? "Fatal: unhandled exception 0xC0000005" : "not on the screen within"),
                  std::string::npos) << ReadLog();
        if (!crash) { EXPECT_TRUE(Wallpaper().empty() && FreshSysColour() == 0u) << "desktop 1's look back"; }
    }
}

TEST_F(AppTest, AKilledRunComesBackFromTheWatchdogOrTheNextStartAndAGarbageJournalIsIgnored) {
    // Catches: windows left hidden or in the wrong state after a kill, a slow recovery, files
    // filed under the wrong desktop, desktop 3's look taken for desktop 1's, a closed window or
    // another process's window touched, a torn journal acted on.
    SetSetting("CONFIG", "SharedIcons", "False");
    test::WriteFile(Data("Orvanta.journal"), "OrvantaJournal\t1\ncurrent\t2\n");
    SetSysColour(RGB(40, 50, 60));
    ASSERT_TRUE(Start());
    EXPECT_NE(ReadLog().find("Journal ignored (no end line)"), std::string::npos);
    std::vector<TestWindows> tws;
    auto fill = [&](int desks) {  // a normal, a minimised and a maximised window and a file per desktop
        for (int d = 1; d <= desks; ++d) {
            tws.push_back(OpenTestWindows({L"title=N" + std::to_wstring(d), L"title=Min;state=min", L"title=Max;state=max"}));
            ASSERT_TRUE(tws.back().Ready());
            test::WriteFile(Desk(d), "on " + std::to_string(d));
            ClickDesk(d + 1);
        }
    };
    auto allBack = [&] {  // visible again, each in its state
        for (const TestWindows& tw : tws)
            for (const auto& [h, t] : tw.items)
                if (!IsWindowVisible(h) || IsIconic(h) != (t == L"Min") || IsZoomed(h) != (t == L"Max")) return false;
        return true;
    };
    auto filesHome = [&](int desks) {
        EXPECT_EQ(ReadFile(Desk(1)), "on 1");
        for (int d = 2; d <= desks; ++d) EXPECT_EQ(ReadFile(IconFolder(d) / Desk(d).filename()), "on " + std::to_string(d));
    };
    fill(5);
    const DWORD dog = WatchdogOf(App().Pid());
    ASSERT_NE(dog, 0u);
    ASSERT_FALSE(allBack() || IsWindowVisible(tws[0].items[0].first));
    TerminateProcess(App().Handle(), 1);
    EXPECT_TRUE(WaitUntil([&] { return allBack(); }, 1000)) << "15 windows back within a second of the kill";
    EXPECT_TRUE(Process(OpenProcess(SYNCHRONIZE, FALSE, dog), dog).WaitExit(10000));
    filesHome(5);
    Win32JournalOps journal(Data("Orvanta.journal").wstring());
    EXPECT_FALSE(journal.Exists());

    EXPECT_EQ(FreshSysColour(), RGB(40, 50, 60));
    tws.clear();  // their windows close
    ASSERT_TRUE(Start());
    fill(2);
    SetSysColour(RGB(200, 0, 0));  // desktop 3's colour, on the screen at the kill
    const DWORD dog2 = WatchdogOf(App().Pid());
    Process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, dog2), dog2).Kill();
    ClickDesk(1);  // the watchdog killed alone changes nothing
    ClickDesk(3);
    EXPECT_TRUE(Responds(Bar()) && !IsWindowVisible(tws[0].items[0].first));
    const HWND closed = tws.back().items[2].first;
    PostMessageW(closed, WM_CLOSE, 0, 0);
    TestWindows other = OpenTestWindows({L"title=Not ours;state=hidden"});
    ASSERT_TRUE(other.Ready() && WaitUntil([&] { return !IsWindow(closed); }, 5000));
    App().Kill();
    std::optional<JournalState> j = ParseJournal(journal.Read().value_or(""));
    ASSERT_TRUE(j && j->currentDesk == 3 && j->iconsDesk == 3);
    j->windows.push_back(j->windows.front());  // a handle the program never hid, of another process
    j->windows.back().handle = ToId(other.items[0].first);
    ASSERT_TRUE(Win32JournalOps(Data("Orvanta.journal").wstring()).Write(FormatJournal(*j), false));  // and closed

    ASSERT_TRUE(Start());  // the bar shows once the recovery is done
    EXPECT_TRUE(WaitUntil([&] {
        return ReadLog().find("desktop 3: 5 windows shown again, 2 gone or not theirs") != std::string::npos &&
               IsWindowVisible(Bar());
    }, 5000));
    tws.back().items.pop_back();
    EXPECT_TRUE(WaitUntil([&] { return allBack(); }, 3000));
    EXPECT_FALSE(IsWindowVisible(other.items[0].first));
    filesHome(2);
    EXPECT_EQ(FreshSysColour(), RGB(40, 50, 60));

    ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
    EXPECT_FALSE(journal.Exists());
}

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
    const POINT button = Centre(Rect(GetDlgItem(Bar(), kIdDesk0 + 1)));
    ASSERT_TRUE(MouseDrag(button, button));
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(IconFolder(1)) && !fs::is_empty(IconFolder(1)); }, 10000));
    ASSERT_TRUE(UniqueHandle(CreateRemoteThread(App().Handle(), nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(16),
                                                nullptr, 0, nullptr)));
    EXPECT_TRUE(App().WaitExit(2500));
    for (const wchar_t* t : {L"Max", L"Plain"}) EXPECT_TRUE(WaitVisible(tw.Get(t), true, 2000)) << t;
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
