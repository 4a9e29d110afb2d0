// The journal's file and window owners against the real API.
#include <gtest/gtest.h>

#include "app/win/journal_file.h"
#include "app/win/window_ops.h"
#include "base/win/handles.h"
#include "base/win/utf.h"
#include "common/test_files.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

TEST(JournalFile, WritesReplaceWholeLeaveNoTemporaryAndRemoveClears) {
    // Catches: a rename that cannot replace (the second write fails), a temporary file left
    // beside the journal, a stale temporary taken for the journal, a read cut short.
    test::TempFolder t;
    const fs::path path = t.path() / PathFromUtf8("Dätä 日本") / "Orvanta.journal";
    fs::create_directories(path.parent_path());
    Win32JournalOps ops(path.wstring());
    EXPECT_FALSE(ops.Read()) << "no journal yet";
    const std::string big(100000, 'x');
    for (const std::string& text : {std::string("first\n"), big, std::string("third\n")}) {
        ASSERT_TRUE(ops.Write(text, text == big));
        EXPECT_EQ(ops.Read(), text);
        EXPECT_EQ(test::ReadTree(path.parent_path()).size(), 1u) << "only the journal itself";
    }
    test::WriteFile(fs::path(path.wstring() + L".tmp"), "torn");  // a write cut before its rename
    EXPECT_EQ(ops.Read(), "third\n");
    ops.Remove();
    EXPECT_FALSE(ops.Read());
    EXPECT_TRUE(test::ReadTree(path.parent_path()).empty()) << "the torn temporary goes too";

    Win32JournalOps nowhere((t.path() / "missing" / "Orvanta.journal").wstring());
    EXPECT_FALSE(nowhere.Write("x", true)) << "a folder that does not exist";
}

// A test window in a process of its own.
struct Child {
    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
    explicit Child(const std::wstring& title) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring exe = fs::path(self).parent_path().parent_path() / "tools" / "testwins.exe";
        std::wstring cmd = L"\"" + exe + L"\" \"title=" + title + L";state=max\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
        for (int i = 0; i < 500 && !window; ++i, Sleep(20)) window = FindWindowW(L"OrvTestWindow", title.c_str());
    }
    ~Child() {
        if (!pi.hProcess) return;
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
};

std::uint64_t StartOf(HANDLE process) {
    FILETIME c{}, e{}, k{}, u{};
    GetProcessTimes(process, &c, &e, &k, &u);
    return (static_cast<std::uint64_t>(c.dwHighDateTime) << 32) | c.dwLowDateTime;
}

TEST(JournalFile, OwnersNameTheWindowsProcessAndRecoveryShowsOnlyAMatch) {
    // Catches: the thread id taken for the process id, our own process's start time taken for
    // the window's, a class name cut, a closed window given an owner, and recovery showing a
    // window whose owner differs or losing the recorded show command.
    Child child(Widen(test::UniqueName("Owned")));
    ASSERT_TRUE(child.window);
    Win32JournalOps ops(L"unused");
    const WindowOwner owner{child.pi.dwProcessId, StartOf(child.pi.hProcess), "OrvTestWindow"};
    EXPECT_EQ(ops.Owner(ToId(child.window)), owner);
    EXPECT_NE(owner.processStart, ProcessStartTime(GetCurrentProcessId())) << "a process started later";

    ShowWindow(child.window, SW_HIDE);
    JournalWindow w{2, ToId(child.window), kSwShowMaximized, owner, "Owned"};
    WindowOwner reused = owner;
    ++reused.processStart;
    EXPECT_EQ(RecoverWindows({2, 0, {{2, w.handle, w.showCmd, reused, "Owned"}}}, ops), 0);
    EXPECT_EQ(RecoverWindows({2, 0, {{2, w.handle, w.showCmd, {owner.pid, owner.processStart, "Other"}, "Owned"}}}, ops), 0);
    Sleep(200);
    EXPECT_FALSE(IsWindowVisible(child.window)) << "another process's window is left alone";
    EXPECT_EQ(RecoverWindows({2, 0, {w}}, ops), 1);
    for (int i = 0; i < 100 && !IsWindowVisible(child.window); ++i) Sleep(20);
    EXPECT_TRUE(IsWindowVisible(child.window));
    EXPECT_TRUE(IsZoomed(child.window));

    TerminateProcess(child.pi.hProcess, 0);
    WaitForSingleObject(child.pi.hProcess, 5000);
    for (int i = 0; i < 100 && IsWindow(child.window); ++i) Sleep(20);
    EXPECT_FALSE(ops.Owner(w.handle)) << "a closed window has no owner";
}

}  // namespace
}  // namespace orv
