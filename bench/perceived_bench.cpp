// How fast a switch looks to the user: the real Orvanta.exe on the Wine stand (or Windows),
// its desktop buttons clicked with the real mouse, and from the click (the button released)
//   - to the bar showing the new desktop as current: the old desktop's button, read from the
//     screen, back to the look of a button that is not current;
//   - to the first of the test windows hidden or shown, and to the last.
// The bar's mark must change before the first window moves. Medians over the repetitions,
// for 10, 50 and 200 windows of one process.
//
//   perceived_bench.exe [reps]     (default 7)
// Runs on a stand with the settings of a fresh start (its own settings key is removed at the
// start and the end); Orvanta.exe is looked for in the folder above this one.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/win/bar_ids.h"
#include "bench_windows.h"
#include "common/screen_input.h"
#include "settings/win/registry_store.h"

namespace {

using namespace bench;

constexpr wchar_t kAppTitle[] = L" Orvanta Solvane";
constexpr wchar_t kSettingsKey[] = L"Software\\Quillon\\OrvantaZ";

// The cursor moved there and resting (Wine echoes moves through the X server).
void MoveTo(POINT p) {
    orv::test::SendMouse(0, p);
    for (int i = 0; i < 40; ++i) {
        POINT c{};
        if (GetCursorPos(&c) && c.x == p.x && c.y == p.y) break;
        Pump();
        Sleep(5);
    }
    Sleep(30);
}

// Three pixels of a button's face, from the screen.
std::vector<COLORREF> Face(HDC screen, HWND button) {
    RECT r{};
    GetWindowRect(button, &r);
    return orv::test::FacePixels(screen, r);
}

struct Round {
    double mark = -1, first = -1, last = -1;
};

// Clicks the button of desk `to` (the current one is `from`) and times what follows.
Round Click(HWND bar, int from, int to, const std::vector<HWND>& ws, bool show, const std::vector<COLORREF>& plain, HDC screen) {
    HWND target = GetDlgItem(bar, orv::kIdDesk0 + to - 1), old = GetDlgItem(bar, orv::kIdDesk0 + from - 1);
    RECT r{};
    GetWindowRect(target, &r);
    const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MoveTo(p);
    orv::test::SendMouse(MOUSEEVENTF_LEFTDOWN, p);
    Sleep(40);
    orv::test::SendMouse(MOUSEEVENTF_LEFTUP, p);
    const double t0 = Now();
    Round out;
    for (const double end = t0 + 15000; Now() < end && (out.mark < 0 || out.last < 0);) {
        const double t = Now();
        if (out.mark < 0 && Face(screen, old) == plain) out.mark = t - t0;
        if (out.last < 0) {
            int moved = 0;
            for (HWND h : ws) moved += (IsWindowVisible(h) != FALSE) == show;
            if (moved && out.first < 0) out.first = t - t0;
            if (moved == static_cast<int>(ws.size())) out.last = t - t0;
        }
        Sleep(1);
    }
    // Off the bar, so that no button shows the pointer's hover look next time.
    MoveTo({r.left + 3, r.bottom + 60});
    return out;
}

HWND StartProgram(const std::wstring& exe, PROCESS_INFORMATION& pi) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\"";
    const std::wstring dir = exe.substr(0, exe.find_last_of(L'\\'));
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) return nullptr;
    for (int i = 0; i < 750; ++i) {
        for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, orv::kBarClass, kAppTitle));) {
            DWORD pid = 0;
            if (GetWindowThreadProcessId(h, &pid) && pid == pi.dwProcessId && GetDlgItem(h, orv::kIdDesk0 + 5) && IsWindowVisible(h))
                return h;
        }
        Sleep(20);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    dir.resize(dir.find_last_of(L'\\'));
    const std::wstring exe = dir + L"\\..\\Orvanta.exe", testwins = dir + L"\\..\\tools\\testwins.exe";
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    orv::RegistryStore(orv::kSettingsRoot, "OrvantaZ").Set("CONFIG", "VideoDefault", "0");  // no video desktops
    ULONGLONG idle = 0, total = 0;
    CpuBusySince(idle, total);
    std::printf("load at start: %s\n", LoadAverage().c_str());

    PROCESS_INFORMATION pi{};
    HWND bar = StartProgram(exe, pi);
    if (!bar) {
        std::printf("Orvanta.exe did not come up\n");
        return 1;
    }
    HDC screen = GetDC(nullptr);
    int rc = 0;
    std::printf("%-10s %-8s %12s %14s %13s  %s\n", "windows", "switch", "to the mark", "to the first", "to the last", "mark first");
    for (int n : {10, 50, 200}) {
        WindowSet w;
        AddProcess(w, testwins, {L"count=" + std::to_wstring(n) + L";title=Seen %d;x=300;y=320;w=200;h=120"}, false);
        CollectWindows(w);
        if (static_cast<int>(w.all.size()) != n) {
            std::printf("N=%d: only %zu test windows came up\n", n, w.all.size());
            rc = 1;
            CloseAll(w);
            break;
        }
        MoveTo({5, GetSystemMetrics(SM_CYSCREEN) - 5});
        // A button that is not current, as it looks with the pointer away.
        const std::vector<COLORREF> plain = Face(screen, GetDlgItem(bar, orv::kIdDesk0 + 3));
        std::vector<double> mark[2], first[2], last[2];
        int markFirst[2] = {0, 0};
        for (int r = 0; r < reps; ++r) {
            for (int leg = 0; leg < 2; ++leg) {
                const Round x = Click(bar, leg ? 2 : 1, leg ? 1 : 2, w.all, leg == 1, plain, screen);
                mark[leg].push_back(x.mark), first[leg].push_back(x.first), last[leg].push_back(x.last);
                markFirst[leg] += x.mark >= 0 && x.mark <= x.first;
                Sleep(300);
            }
        }
        for (int leg = 0; leg < 2; ++leg)
            std::printf("%-10d %-8s %9.1f ms %11.1f ms %10.1f ms  %d/%d\n", n, leg ? "2 -> 1" : "1 -> 2", Median(mark[leg]),
                        Median(first[leg]), Median(last[leg]), markFirst[leg], reps);
        std::fflush(stdout);
        CloseAll(w);
    }
    ReleaseDC(nullptr, screen);
    PostMessageW(bar, WM_CLOSE, 0, 0);
    TerminateProcess(pi.hProcess, 0);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    std::printf("load at end: %s; CPUs busy %.0f%% meanwhile\n", LoadAverage().c_str(), CpuBusySince(idle, total));
    return rc;
}
