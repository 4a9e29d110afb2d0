#include <gtest/gtest.h>

#include <stdexcept>

#include "base/win/fatal.h"
#include "base/win/log.h"
#include "base/win/window_base.h"
#include "common/test_files.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

constexpr wchar_t kChildVar[] = L"ORV_FATAL_CHILD";  // "<window to show>|<log folder>"

struct Thrower final : Window {
    bool Make() { return RegisterClassOnce(L"OrvThrower") && Create(L"OrvThrower", L"", WS_POPUP, 0, 0, 0, 1, 1, nullptr); }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_APP) throw std::runtime_error("boom");
        return Default(msg, wp, lp);
    }
};

// In a process of its own, started by the test below: a window procedure throws.
const bool kChild = [] {
    wchar_t arg[600];
    if (!GetEnvironmentVariableW(kChildVar, arg, 600)) return false;
    OpenLog(wcschr(arg, L'|') + 1);
    InstallFatalPath([](void* h) noexcept { ShowWindowAsync(static_cast<HWND>(h), SW_SHOWNORMAL); },
                     reinterpret_cast<HWND>(static_cast<INT_PTR>(_wtoi64(arg))));
    Thrower w;
    if (w.Make()) SendMessageW(w.hwnd(), WM_APP, 0, 0);
    ExitProcess(1);  // the exception went through unseen
}();

// Faults: an exception under a window procedure ends the process through std::terminate
// (nothing shown again, no log line), or is swallowed and the process runs on broken.
TEST(FatalPath, AnExceptionInAWindowProcedureShowsTheHiddenWindowsLogsAndEnds) {
    test::TempFolder t;
    HWND hidden = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    SetEnvironmentVariableW(kChildVar, (std::to_wstring(reinterpret_cast<INT_PTR>(hidden)) + L"|" + t.path().wstring()).c_str());
    test::Child child(test::SelfPath(), L"");
    SetEnvironmentVariableW(kChildVar, nullptr);
    ASSERT_TRUE(child.started);
    EXPECT_EQ(child.ExitCode(20000), kFatalExitCode);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
    EXPECT_TRUE(IsWindowVisible(hidden));
    EXPECT_NE(test::ReadFile(t.path() / kLogName).find("Fatal: exception in a window procedure: boom"), std::string::npos);
    DestroyWindow(hidden);
}

}  // namespace
}  // namespace orv
