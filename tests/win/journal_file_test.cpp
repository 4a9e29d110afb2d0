// The journal's file and window owners against the real API.
#include <gtest/gtest.h>

#include "app/win/journal_file.h"
#include "app/win/window_ops.h"
#include "base/win/utf.h"
#include "common/test_files.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

TEST(JournalFile, WritesReplaceWholeLeaveNoTemporaryAndRemoveClears) {
    // Catches: a rename that cannot replace (the second write fails), a temporary left
    // beside the journal or taken for it, a read cut short.
    test::TempFolder t;
    const fs::path path = t.path() / PathFromUtf8("Dätä 日本") / "Orvanta.journal";
    fs::create_directories(path.parent_path());
    Win32JournalOps ops(path.wstring());
    for (const std::string& text : {std::string("first\n"), std::string(100000, 'x'), std::string("third\n")}) {
        ASSERT_TRUE(ops.Write(text, text.size() > 99));
        EXPECT_EQ(ops.Read(), text);
        EXPECT_EQ(test::ReadTree(path.parent_path()).size(), 1u) << "only the journal itself";
    }
    test::WriteFile(path.wstring() + L".tmp", "torn");  // a write cut before its rename
    EXPECT_EQ(ops.Read(), "third\n");
    ops.Remove();
    EXPECT_FALSE(ops.Read());
    EXPECT_TRUE(test::ReadTree(path.parent_path()).empty());
    EXPECT_FALSE(Win32JournalOps((t.path() / "missing" / "j").wstring()).Write("x", true));
}

TEST(JournalFile, OwnersNameTheWindowsProcessStartTimeAndClass) {
    // Catches: the thread id taken for the process id, our own start time taken for the
    // window's, a class name cut, a closed window given an owner.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring exe = fs::path(self).parent_path().parent_path() / "tools" / "testwins.exe";
    const std::wstring title = Widen(test::UniqueName("Owned"));
    std::wstring cmd = L"\"" + exe + L"\" \"title=" + title + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND h = nullptr;
    for (int i = 0; i < 500 && !h; ++i, Sleep(20)) h = FindWindowW(L"OrvTestWindow", title.c_str());
    FILETIME start{}, x{}, y{}, z{};
    GetProcessTimes(pi.hProcess, &start, &x, &y, &z);
    Win32JournalOps ops(L"unused");
    EXPECT_EQ(ops.Owner(ToId(h)), (WindowOwner{pi.dwProcessId, (std::uint64_t{start.dwHighDateTime} << 32) | start.dwLowDateTime,
                                               "OrvTestWindow"}));
    EXPECT_NE(ops.Owner(ToId(h))->processStart, ProcessStartTime(GetCurrentProcessId()));
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    for (int i = 0; i < 100 && IsWindow(h); ++i) Sleep(20);
    EXPECT_FALSE(ops.Owner(ToId(h))) << "a closed window has no owner";
    CloseHandle(pi.hProcess), CloseHandle(pi.hThread);
}

}  // namespace
}  // namespace orv
