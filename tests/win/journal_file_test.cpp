// The journal's file and window owners against the real API.
#include <gtest/gtest.h>

#include "app/win/journal_file.h"
#include "app/win/window_ops.h"
#include "base/win/utf.h"
#include "common/test_files.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// A journal of n windows.
std::string Journal(int n) {
    JournalState s;
    s.windows.resize(static_cast<std::size_t>(n));
    return FormatJournal(s);
}

TEST(JournalFile, TheNewestWholeJournalIsReadAndRemoveClearsBothSlots) {
    // Catches: a write not read back (a shorter one written in place over a longer one
    // included), a journal an earlier run left outnumbering new writes, a slot left by
    // Remove.
    test::TempFolder t;
    const fs::path path = t.path() / PathFromUtf8("Dätä 日本") / "Orvanta.journal";
    fs::create_directories(path.parent_path());
    {
        Win32JournalOps ops(path.wstring());
        for (int n : {3, 4000, 1, 0}) {  // over 64 KB, then shorter ones over longer ones
            ASSERT_TRUE(ops.Write(Journal(n), n > 1000));
            EXPECT_EQ(ops.Read(), Journal(n));
        }
        EXPECT_EQ(test::ReadTree(path.parent_path()).size(), 2u) << "two slots, nothing else";
    }
    Win32JournalOps ops(path.wstring());  // the next run: its journal is newer than both left
    ASSERT_TRUE(ops.Write(Journal(5), false));
    EXPECT_EQ(ops.Read(), Journal(5));
    EXPECT_TRUE(ops.Exists());
    ops.Remove();
    EXPECT_FALSE(ops.Read() || ops.Exists());
    EXPECT_TRUE(test::ReadTree(path.parent_path()).empty());
    EXPECT_FALSE(Win32JournalOps((t.path() / "missing" / "j").wstring()).Write("x", true));
}

TEST(JournalFile, OwnersNameTheWindowsProcessStartTimeAndClass) {
    // Catches: the thread id taken for the process id, our own start time taken for the
    // window's, a class name cut, a closed window given an owner.
    const std::wstring title = Widen(test::UniqueName("Owned"));
    test::Child child(test::SelfPath().parent_path().parent_path() / "tools" / "testwins.exe", L"testwins \"title=" + title + L"\"");
    ASSERT_TRUE(child.started);
    HWND h = nullptr;
    for (int i = 0; i < 500 && !h; ++i, Sleep(20)) h = FindWindowW(L"OrvTestWindow", title.c_str());
    FILETIME start{}, x{}, y{}, z{};
    GetProcessTimes(child.pi.hProcess, &start, &x, &y, &z);
    Win32JournalOps ops(L"unused");
    EXPECT_EQ(ops.Owner(ToId(h)), (WindowOwner{child.pi.dwProcessId, (std::uint64_t{start.dwHighDateTime} << 32) | start.dwLowDateTime,
                                               "OrvTestWindow"}));
    EXPECT_NE(ops.Owner(ToId(h))->processStart, ProcessStartTime(GetCurrentProcess()));
    TerminateProcess(child.pi.hProcess, 0);
    child.ExitCode(5000);
    EXPECT_TRUE(test::WaitFor([&] { return !IsWindow(h); }, 2000));
    EXPECT_FALSE(ops.Owner(ToId(h))) << "a closed window has no owner";
}

}  // namespace
}  // namespace orv
