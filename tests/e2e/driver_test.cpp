// The end-to-end driver against the real API: test windows in every show state, hung windows,
// the real mouse on buttons, message boxes and drags, process ends, the registry. Runs on the
// Wine test stand (scripts/stand.sh), which also provides the stand-in "Program Manager".
#include "e2e/driver.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>

namespace orv::e2e {
namespace {

bool Contains(const std::vector<HWND>& v, HWND h) { return std::find(v.begin(), v.end(), h) != v.end(); }

TEST(DriverText, Utf8RoundTripsNastyStrings) {
    const std::wstring cases[] = {L"", L"plain", L"K\u00f6ln \u2013 \u00e4\u00f6\u00fc\u00df", L"\u65e5\u672c\u8a9e",
                                  L"emoji \U0001F600 pair", std::wstring(L"nul\0inside", 10)};
    for (const auto& c : cases) EXPECT_EQ(Widen(Narrow(c)), c);
    EXPECT_EQ(Narrow(L"\u00e9"), "\xc3\xa9");
    EXPECT_EQ(Widen("\xe2\x82\xac"), L"\u20ac");
}

TEST(DriverProcess, QuotedArgumentsReadBackUnchanged) {
    const std::vector<std::wstring> args = {L"a b", L"\"", L"\\", L"a\\\\\"b", L"", L"x\\", L"tab\there",
                                            L"title=Gamma;state=max", L"\u00fcber \"quoted\" \\path\\"};
    std::wstring line = L"prog.exe";
    for (const auto& a : args) line += L" " + QuoteArg(a);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &argc);
    ASSERT_NE(argv, nullptr);
    ASSERT_EQ(argc, static_cast<int>(args.size()) + 1);
    for (size_t i = 0; i < args.size(); ++i) EXPECT_EQ(std::wstring(argv[i + 1]), args[i]) << "argument " << i;
    LocalFree(argv);
}

TEST(DriverWindows, OpensWindowsInEveryShowState) {
    const std::wstring unicode = L"\u03a9mega K\u00f6ln \u65e5\u672c";
    TestWindows tw = OpenTestWindows({L"title=Alpha", L"title=Beta;state=min", L"title=;state=normal",
                                      L"title=Gamma;state=max", L"title=Delta;state=hidden",
                                      L"title=Program Manager Clone", L"title=" + unicode});
    ASSERT_TRUE(tw.Ready());
    ASSERT_EQ(tw.Items().size(), 7u);

    const WindowState alpha = GetWindowState(tw.Get(L"Alpha"));
    EXPECT_TRUE(alpha.exists);
    EXPECT_TRUE(alpha.visible);
    EXPECT_FALSE(alpha.iconic);
    EXPECT_FALSE(alpha.zoomed);
    EXPECT_EQ(alpha.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(alpha.title, L"Alpha");

    const WindowState beta = GetWindowState(tw.Get(L"Beta"));
    EXPECT_TRUE(beta.visible);
    EXPECT_TRUE(beta.iconic);
    EXPECT_EQ(beta.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));

    const WindowState untitled = GetWindowState(tw.Items()[2].hwnd);
    EXPECT_TRUE(untitled.exists);
    EXPECT_TRUE(untitled.visible);
    EXPECT_EQ(untitled.title, L"");
    EXPECT_EQ(tw.Items()[2].title, L"");

    const WindowState gamma = GetWindowState(tw.Get(L"Gamma"));
    EXPECT_TRUE(gamma.visible);
    EXPECT_TRUE(gamma.zoomed);
    EXPECT_FALSE(gamma.iconic);
    EXPECT_EQ(gamma.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));

    const WindowState delta = GetWindowState(tw.Get(L"Delta"));
    EXPECT_TRUE(delta.exists);
    EXPECT_FALSE(delta.visible);

    HWND clone = tw.Get(L"Program Manager Clone");
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(WindowClass(clone), L"OrvTestWindow");

    HWND uni = tw.Get(unicode);
    ASSERT_NE(uni, nullptr);
    EXPECT_EQ(WindowTitle(uni), unicode);

    const auto mine = TopWindowsOfProcess(tw.Pid());
    for (const auto& item : tw.Items()) {
        EXPECT_TRUE(Contains(mine, item.hwnd)) << Narrow(item.title);
        EXPECT_EQ(WindowPid(item.hwnd), tw.Pid());
    }
    EXPECT_FALSE(Contains(mine, FindTopWindow(L"Progman", L"Program Manager")));
}

TEST(DriverWindows, CountNumbersTheTitles) {
    TestWindows tw = OpenTestWindows({L"count=5;title=Bench %d;state=min"});
    ASSERT_TRUE(tw.Ready());
    ASSERT_EQ(tw.Items().size(), 5u);
    for (int i = 1; i <= 5; ++i) {
        HWND h = tw.Get(L"Bench " + std::to_wstring(i));
        ASSERT_NE(h, nullptr) << i;
        EXPECT_EQ(WindowTitle(h), L"Bench " + std::to_wstring(i));
        EXPECT_TRUE(IsIconic(h));
    }
    auto all = tw.All();
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::unique(all.begin(), all.end()), all.end()) << "five distinct windows";
}

TEST(DriverWindows, WaitForWindowFiltersByClassTitleAndProcess) {
    TestWindows tw = OpenTestWindows({L"title=Findable One", L"title=Findable Two"});
    ASSERT_TRUE(tw.Ready());
    EXPECT_EQ(WaitForWindow(nullptr, L"Findable Two", 2000), tw.Get(L"Findable Two"));
    EXPECT_EQ(WaitForWindow(L"OrvTestWindow", L"Findable One", 2000, tw.Pid()), tw.Get(L"Findable One"));
    EXPECT_EQ(WaitForWindow(L"Edit", L"Findable One", 200), nullptr);
    EXPECT_EQ(WaitForWindow(nullptr, L"Findable One", 200, GetCurrentProcessId()), nullptr);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(WaitForWindow(nullptr, L"No such window anywhere", 300), nullptr);
    EXPECT_GE(GetTickCount64() - start, 280u) << "waited the whole timeout";
}

TEST(DriverWindows, WaitForWindowSeesAWindowThatComesLater) {
    Process later = Launch(BuildPath(L"tools/testwins.exe"), {L"title=Comes Later"});
    ASSERT_TRUE(later.Valid());
    HWND h = WaitForWindow(L"OrvTestWindow", L"Comes Later", 10000, later.Pid());
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(later.Kill());
    EXPECT_FALSE(IsWindow(h));
}

TEST(DriverWindows, HangMessageStopsTheWindowsThread) {
    TestWindows tw = OpenTestWindows({L"title=Hung One;hang=1", L"title=Still Fine"});
    ASSERT_TRUE(tw.Ready());
    HWND hung = tw.Get(L"Hung One");
    HWND fine = tw.Get(L"Still Fine");
    EXPECT_TRUE(Responds(hung));
    EXPECT_FALSE(IsHungAppWindow(hung));

    ASSERT_TRUE(tw.Hang(hung));
    EXPECT_TRUE(WaitUntil([&] { return !Responds(hung, 200); }, 3000));
    EXPECT_TRUE(Responds(fine)) << "the other windows live on another thread";
    // The system calls a window hung after about five seconds without reading messages.
    EXPECT_TRUE(WaitUntil([&] { return IsHungAppWindow(hung) != FALSE; }, 12000));
    EXPECT_FALSE(IsHungAppWindow(fine));
    // A hung window's caption is still readable without waiting on it.
    EXPECT_EQ(WindowTitle(hung), L"Hung One");
    EXPECT_TRUE(tw.Kill());
}

TEST(DriverWindows, HangNowStopsAfterTheFirstPaint) {
    TestWindows tw = OpenTestWindows({L"title=Frozen;hang=now", L"title=Thawed"});
    ASSERT_TRUE(tw.Ready());
    HWND frozen = tw.Get(L"Frozen");
    ASSERT_NE(frozen, nullptr);
    EXPECT_TRUE(IsWindowVisible(frozen));
    EXPECT_FALSE(Responds(frozen, 300));
    EXPECT_TRUE(Responds(tw.Get(L"Thawed")));
}

TEST(DriverProcess, EndsWhenAllWindowsClosedAndReportsExitCodes) {
    TestWindows tw = OpenTestWindows({L"title=Closer A", L"title=Closer B;state=hidden"});
    ASSERT_TRUE(tw.Ready());
    Process& p = tw.GetProcess();
    EXPECT_FALSE(p.WaitExit(200));
    EXPECT_FALSE(p.ExitCode().has_value());
    PostMessageW(tw.Get(L"Closer A"), WM_CLOSE, 0, 0);
    EXPECT_FALSE(p.WaitExit(300)) << "one window is still open";
    PostMessageW(tw.Get(L"Closer B"), WM_CLOSE, 0, 0);
    ASSERT_TRUE(p.WaitExit(5000));
    EXPECT_EQ(p.ExitCode(), std::optional<DWORD>(0));

    TestWindows other = OpenTestWindows({L"title=Killed"});
    ASSERT_TRUE(other.Ready());
    EXPECT_TRUE(other.Kill());
    EXPECT_EQ(other.GetProcess().ExitCode(), std::optional<DWORD>(1));
    EXPECT_FALSE(IsWindow(other.Get(L"Killed")));
}

TEST(DriverProcess, DestructorEndsARunningProcess) {
    HWND h = nullptr;
    DWORD pid = 0;
    {
        TestWindows tw = OpenTestWindows({L"title=Short Lived"});
        ASSERT_TRUE(tw.Ready());
        h = tw.Get(L"Short Lived");
        pid = tw.Pid();
        EXPECT_TRUE(IsWindow(h));
    }
    EXPECT_FALSE(IsWindow(h));
    HANDLE gone = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (gone) {  // the id may linger while the object is being destroyed
        EXPECT_EQ(WaitForSingleObject(gone, 2000), WAIT_OBJECT_0);
        CloseHandle(gone);
    }
}

TEST(DriverStand, ProgramManagerCoversTheScreenAtTheBottom) {
    HWND progman = FindTopWindow(L"Progman", L"Program Manager");
    ASSERT_NE(progman, nullptr) << "the stand-in shell is not running";
    RECT rc = {};
    GetWindowRect(progman, &rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rc.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(GetWindowLongW(progman, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "not in the task list";

    TestWindows tw = OpenTestWindows({L"title=Above;x=40;y=40;w=300;h=200"});
    ASSERT_TRUE(tw.Ready());
    HWND above = tw.Get(L"Above");
    // Trying to raise the shell window leaves it at the bottom.
    SetWindowPos(progman, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Settle(progman);
    bool seenProgman = false;
    bool visibleAfter = false;
    for (HWND h : TopWindows()) {
        if (h == progman) seenProgman = true;
        else if (seenProgman && IsWindowVisible(h)) visibleAfter = true;
    }
    EXPECT_TRUE(seenProgman);
    EXPECT_FALSE(visibleAfter) << "a visible window lies below the shell window";

    // A click on the desktop does not activate it.
    ASSERT_TRUE(SetForegroundWindow(above) || GetForegroundWindow() == above);
    Settle(above);
    const int x = GetSystemMetrics(SM_CXSCREEN) - 20;
    const int y = GetSystemMetrics(SM_CYSCREEN) - 20;
    ASSERT_EQ(WindowFromPoint({x, y}), progman);
    ASSERT_TRUE(MouseClick(x, y));
    Settle(progman);
    EXPECT_NE(GetForegroundWindow(), progman);
}

TEST(DriverMouse, ClickControlPressesTheButtonWithTheMouse) {
    TestWindows tw = OpenTestWindows({L"title=Clicky;button=101;x=120;y=100;w=320;h=220"});
    ASSERT_TRUE(tw.Ready());
    HWND clicky = tw.Get(L"Clicky");
    ASSERT_NE(FindControl(clicky, 101), nullptr);
    EXPECT_EQ(FindControl(clicky, 999), nullptr);
    EXPECT_FALSE(ClickControl(clicky, 999));

    ASSERT_TRUE(ClickControl(clicky, 101));
    EXPECT_TRUE(WaitUntil([&] { return WindowTitle(clicky) == L"Clicky #1"; }, 3000)) << Narrow(WindowTitle(clicky));
    ASSERT_TRUE(ClickControl(clicky, 101));
    EXPECT_TRUE(WaitUntil([&] { return WindowTitle(clicky) == L"Clicky #2"; }, 3000)) << Narrow(WindowTitle(clicky));

    // The pointer really went there.
    RECT rc = {};
    GetWindowRect(FindControl(clicky, 101), &rc);
    POINT at = {};
    GetCursorPos(&at);
    EXPECT_TRUE(PtInRect(&rc, at));
}

TEST(DriverMouse, ClickControlBringsACoveredWindowForward) {
    TestWindows tw = OpenTestWindows({L"title=Under;button=7;x=100;y=100;w=300;h=200",
                                      L"title=Cover;x=80;y=80;w=360;h=260"});
    ASSERT_TRUE(tw.Ready());
    HWND under = tw.Get(L"Under");
    RECT rc = {};
    GetWindowRect(FindControl(under, 7), &rc);
    const POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ASSERT_EQ(GetAncestor(WindowFromPoint(centre), GA_ROOT), tw.Get(L"Cover"));
    ASSERT_TRUE(ClickControl(under, 7));
    EXPECT_TRUE(WaitUntil([&] { return WindowTitle(under) == L"Under #1"; }, 3000)) << Narrow(WindowTitle(under));
}

TEST(DriverMouse, AnswersAMessageBoxByItsTextWithARealClick) {
    TestWindows tw = OpenTestWindows({L"title=Asker;button=102;box=Delete everything?;x=150;y=120;w=320;h=220"});
    ASSERT_TRUE(tw.Ready());
    HWND asker = tw.Get(L"Asker");

    ASSERT_TRUE(ClickControl(asker, 102));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(L"Asker", nullptr, tw.Pid())) != nullptr; }, 5000))
        << "caption now: " << Narrow(WindowTitle(asker));
    EXPECT_EQ(MessageBoxText(box), L"Delete everything?");
    EXPECT_FALSE(AnswerMessageBox(L"Asker", L"Something else?", IDYES, 300));
    EXPECT_FALSE(AnswerMessageBox(L"Other Title", L"Delete everything?", IDYES, 300));
    EXPECT_TRUE(IsWindowVisible(box)) << "a box that does not match is left alone";
    ASSERT_TRUE(AnswerMessageBox(L"Asker", L"Delete everything?", IDNO, 5000));
    EXPECT_TRUE(WaitUntil([&] { return WindowTitle(asker) == L"Asker #1:7"; }, 3000)) << Narrow(WindowTitle(asker));

    ASSERT_TRUE(ClickControl(asker, 102));
    ASSERT_TRUE(AnswerMessageBox(L"Asker", L"Delete everything?", IDYES, 5000));
    EXPECT_TRUE(WaitUntil([&] { return WindowTitle(asker) == L"Asker #2:6"; }, 3000)) << Narrow(WindowTitle(asker));

    EXPECT_FALSE(AnswerMessageBox(L"Asker", L"Delete everything?", IDYES, 300)) << "no box is open now";
}

TEST(DriverMouse, MouseDownUpDragsFromHereToThere) {
    TestWindows tw = OpenTestWindows({L"title=Tracker;track=1;x=200;y=150;w=420;h=320"});
    ASSERT_TRUE(tw.Ready());
    HWND tracker = tw.Get(L"Tracker");
    POINT origin = {0, 0};
    ClientToScreen(tracker, &origin);
    ASSERT_TRUE(MouseDownUp(origin.x + 50, origin.y + 60, origin.x + 250, origin.y + 160));
    Settle(tracker);
    EXPECT_TRUE(WaitUntil([&] { return WindowTitle(tracker) == L"Tracker drag 50,60>250,160"; }, 3000))
        << Narrow(WindowTitle(tracker));
}

TEST(DriverRegistry, WritesReadsAndDeletesTrees) {
    const std::wstring key = L"Software\\OrvantaDriverTest\\" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(DeleteTree(HKEY_CURRENT_USER, key));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, key, L"Name"), std::nullopt);

    const std::wstring value = L"K\u00f6ln \u65e5\u672c";
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, key + L"\\Sub", L"Name", value));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, key + L"\\Sub", L"Name"), std::optional<std::wstring>(value));
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, key, L"Empty", L""));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, key, L"Empty"), std::optional<std::wstring>(L""));
    ASSERT_TRUE(WriteDword(HKEY_CURRENT_USER, key, L"Count", 0xDEADBEEF));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, key, L"Count"), std::optional<DWORD>(0xDEADBEEF));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, key, L"Count"), std::nullopt) << "a DWORD is not a string";
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, key + L"\\Sub", L"Name"), std::nullopt) << "a string is not a DWORD";

    ASSERT_TRUE(DeleteTree(HKEY_CURRENT_USER, key));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, key + L"\\Sub", L"Name"), std::nullopt);
    HKEY probe = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &probe), ERROR_SUCCESS);
    if (probe) RegCloseKey(probe);
    EXPECT_TRUE(DeleteTree(HKEY_CURRENT_USER, key)) << "deleting what is gone is fine";
    EXPECT_FALSE(DeleteTree(HKEY_CURRENT_USER, L"")) << "never the whole root";
    DeleteTree(HKEY_CURRENT_USER, L"Software\\OrvantaDriverTest");
}

}  // namespace
}  // namespace orv::e2e
