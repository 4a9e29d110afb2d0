// The time of a desktop switch 1 -> 2 -> 1 with N eligible windows of another process,
// against the floor: the same windows hidden and shown with bare ShowWindow calls, in the
// same run, interleaved; and each switch again with its journal written (to a file in the
// temp folder), to show what the journal costs. Runs under Wine (or Windows) with
// testwins.exe beside it in ../tools. Prints one line per N and the ratios.
//
//   switch_bench.exe [reps]
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "app/desk_manager.h"
#include "app/win/journal_file.h"
#include "app/win/look_ops.h"
#include "app/win/shell_files.h"
#include "app/win/window_ops.h"
#include "base/win/utf.h"
#include "settings/win/registry_store.h"

namespace {

using namespace orv;

struct QuietUi final : DeskUi {
    void MarkCurrentDesk(int) override {}
    void HideBar() override {}
    bool ConfirmQuit() override { return false; }
    void EndApplication() override {}
};

// Window ops without the look: what the switch costs for the windows alone.
struct NoLook final : LookOps {
    std::uint32_t GetBackgroundColor() override { return 0; }
    std::string RegGetString(const std::string&, const std::string&) override { return {}; }
    bool ShellCopyFiles(const std::string&, const std::string&) override { return true; }
    void RequestLook(const LookRequest&) override {}
    bool LookShown() override { return true; }
};

double Now() {
    static LARGE_INTEGER f = [] {
        LARGE_INTEGER x;
        QueryPerformanceFrequency(&x);
        return x;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

bool AllVisible(const std::vector<HWND>& ws, bool visible) {
    for (HWND h : ws)
        if ((IsWindowVisible(h) != FALSE) != visible) return false;
    return true;
}

void WaitAll(const std::vector<HWND>& ws, bool visible) {
    const double end = Now() + 10000;
    while (!AllVisible(ws, visible) && Now() < end) Sleep(0);
}

struct Windows {
    PROCESS_INFORMATION pi{};
    std::vector<HWND> hwnds;
};

BOOL CALLBACK Collect(HWND h, LPARAM lp) {
    auto* w = reinterpret_cast<Windows*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == w->pi.dwProcessId && IsWindowVisible(h)) w->hwnds.push_back(h);
    return TRUE;
}

Windows Open(const std::wstring& testwins, int n) {
    Windows w;
    std::wstring cmd = L"\"" + testwins + L"\" \"count=" + std::to_wstring(n) + L";title=Bench %d;w=200;h=120\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(testwins.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &w.pi)) return w;
    const std::wstring ready = L"Local\\OrvTestWinsReady-" + std::to_wstring(w.pi.dwProcessId);
    for (int i = 0; i < 400; ++i) {
        HANDLE e = OpenEventW(SYNCHRONIZE, FALSE, ready.c_str());
        if (e) {
            WaitForSingleObject(e, 20000);
            CloseHandle(e);
            break;
        }
        Sleep(50);
    }
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&w));
    return w;
}

void Close(Windows& w) {
    TerminateProcess(w.pi.hProcess, 0);
    WaitForSingleObject(w.pi.hProcess, 5000);
    CloseHandle(w.pi.hProcess);
    CloseHandle(w.pi.hThread);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    dir.resize(dir.find_last_of(L'\\'));
    const std::wstring testwins = dir + L"\\..\\tools\\testwins.exe";

    // A settings store of its own, removed at the end.
    const std::string root = "Software\\OrvantaBench";
    RegistryStore store(root, "OrvantaZ");
    Win32WindowOps windowOps;
    Win32LookOps lookOps;
    NoLook noLook;
    ShellIconShelf shelf;
    NoDesktopVideo video;
    QuietUi ui;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string data = Narrow(temp);

    Win32JournalOps journalOps(Widen(data) + L"OrvantaBench.journal");
    DeskJournal journal(journalOps);
    std::printf("%-6s %10s %10s %10s %10s %10s %7s %7s %7s %7s\n", "N", "floor ms", "switch ms", "+journal", "windows ms",
                "+journal", "ratio", "j.ratio", "jrn/sw", "jrn/win");
    for (int n : {10, 50, 200}) {
        Windows w = Open(testwins, n);
        if (static_cast<int>(w.hwnds.size()) != n) {
            std::printf("N=%d: only %zu test windows came up\n", n, w.hwnds.size());
            Close(w);
            return 1;
        }
        DeskWindows full(windowOps, " Orvanta Solvane"), bare(windowOps, " Orvanta Solvane");
        DeskWindows fullJ(windowOps, " Orvanta Solvane"), bareJ(windowOps, " Orvanta Solvane");
        DesktopLook look(lookOps, store, data), none(noLook, store, data);
        DeskManager withLook({full, look, shelf, video, ui}, "", data);
        DeskManager windowsOnly({bare, none, shelf, video, ui}, "", data);
        DeskManager withLookJ({fullJ, look, shelf, video, ui}, "", data);
        DeskManager windowsOnlyJ({bareJ, none, shelf, video, ui}, "", data);
        withLookJ.SetJournal(&journal);
        windowsOnlyJ.SetJournal(&journal);

        // One round trip: hide every window, then show them again, until all are done.
        auto roundTrip = [&](const auto& hide, const auto& show) {
            const double t0 = Now();
            hide();
            WaitAll(w.hwnds, false);
            show();
            WaitAll(w.hwnds, true);
            return Now() - t0;
        };
        std::vector<double> floor, sw, win, swj, winj;
        for (int r = 0; r < reps; ++r) {
            floor.push_back(roundTrip([&] { for (HWND h : w.hwnds) ShowWindow(h, SW_HIDE); },
                                      [&] { for (HWND h : w.hwnds) ShowWindow(h, SW_SHOWNORMAL); }));
            sw.push_back(roundTrip([&] { withLook.DoAction(2); }, [&] { withLook.DoAction(1); }));
            win.push_back(roundTrip([&] { windowsOnly.DoAction(2); }, [&] { windowsOnly.DoAction(1); }));
            swj.push_back(roundTrip([&] { withLookJ.DoAction(2); }, [&] { withLookJ.DoAction(1); }));
            winj.push_back(roundTrip([&] { windowsOnlyJ.DoAction(2); }, [&] { windowsOnlyJ.DoAction(1); }));
        }
        const double f = Median(floor), s = Median(sw), o = Median(win), sj = Median(swj), oj = Median(winj);
        std::printf("%-6d %10.1f %10.1f %10.1f %10.1f %10.1f %7.2f %7.2f %7.2f %7.2f\n", n, f, s, sj, o, oj, s / f,
                    sj / f, sj / s, oj / o);
        Close(w);
    }
    journal.Remove();
    std::printf("journal writes: %d\n", journal.Writes());
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OrvantaBench");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\OrvantaBench");
    return 0;
}
