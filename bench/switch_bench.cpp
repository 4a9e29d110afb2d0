// The time of a desktop switch 1 -> 2 -> 1 against the floor, in the same run, interleaved,
// with the end state checked after every round trip: every window visible again, each in its
// show state, the test windows' stacking order and the active window as before. Two floors:
// bare ShowWindow(SW_HIDE) then ShowWindow(SW_SHOWNA), bottom of the stack first (leaves the
// stacking order alone but activates nothing), and the floor of earlier runs, kept so figures
// stay comparable (hide top first, then show each with its show command, which activates it).
// The switch runs with its look (desktop 2 has a colour of its own) and with its journal
// written too (to a file in the temp folder). A third reference, "calls alone", makes only
// the switch's own hide and show calls (posted hides, then each window shown below the one
// before), without the reads, journal, look and order check around them. Configurations: 10,
// 50 and 200 windows of one process, and a mix of eight processes with minimised and
// maximised windows and one hung application. A hung window's requests go to its queue
// (ShowWindowAsync), in the floors too; nothing waits on it. The look a switch puts on the
// screen after its windows is let finish before the next variant starts.
// Runs under Wine (or Windows) with testwins.exe beside it in ../tools.
//
//   switch_bench.exe [reps]        the timings (default 7 repetitions)
//   switch_bench.exe --soak [N]    N round trips (default 10000) with 30 windows; this
//                                  process's handles, private memory, GDI and USER objects
// With ORV_BENCH_ORDER set, the first changed stacking order of each variant is printed (as
// positions before the round trip, top first); with ORV_BENCH_SAMPLES set, every repetition's
// time; with ORV_BENCH_N=n, of the configurations of one process only the one of n windows
// runs (0: none), and the mix. "hidden": the median time from the switch's start to every
// window of the desktop left hidden.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/desk_manager.h"
#include "app/win/journal_file.h"
#include "app/win/look_ops.h"
#include "app/win/shell_files.h"
#include "app/win/window_ops.h"
#include "base/win/utf.h"
#include "bench_windows.h"
#include "settings/win/registry_store.h"

namespace {

using namespace orv;
using namespace bench;

struct QuietUi final : DeskUi {
    void MarkCurrentDesk(int) override {}
    void HideBar() override {}
    bool ConfirmQuit() override { return false; }
    void EndApplication() override {}
};

// What every switch shares: a settings store of its own, the system's ops, the journal.
struct Program {
    RegistryStore store{"Software\\OrvantaBench", "OrvantaZ"};
    Win32WindowOps windowOps;
    Win32LookOps lookOps;
    ShellIconShelf shelf;
    NoDesktopVideo video;
    QuietUi ui;
    std::string data;
    Win32JournalOps journalOps;
    DeskJournal journal{journalOps};
    HWND bar = nullptr;  // stands for the program's bar: small, topmost, out of the task list
    explicit Program(const std::string& temp) : data(temp), journalOps(Widen(temp) + L"OrvantaBench.journal") {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvantaBenchBar";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassW(&wc);
        bar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L" Orvanta Solvane", WS_POPUP | WS_BORDER,
                              700, 0, 200, 32, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(bar, SW_SHOWNA);
        windowOps.SetActivationKeeper(bar);
        lookOps.SetDepartedSource([this] { return windowOps.TakeDeparted(); });
    }
    ~Program() { DestroyWindow(bar); }
};

bool Hung(const WindowSet& w, HWND h) { return std::find(w.hung.begin(), w.hung.end(), h) != w.hung.end(); }

void Show(const WindowSet& w, HWND h, int cmd) {
    if (Hung(w, h)) ShowWindowAsync(h, cmd);
    else ShowWindow(h, cmd);
}

struct Variant {
    const char* name;
    std::function<void(const EndState&)> hide, show;
    std::vector<double> ms;
    Mismatches end;
    std::vector<double> hideMs{};  // to every window hidden
};

void RunConfig(Program& p, const char* name, WindowSet& w, int reps) {
    DeskWindows full(p.windowOps, " Orvanta Solvane"), fullJ(p.windowOps, " Orvanta Solvane");
    DesktopLook look(p.lookOps, p.store, p.data);
    DeskManager withLook({full, look, p.shelf, p.video, p.ui}, "", p.data);
    DeskManager withLookJ({fullJ, look, p.shelf, p.video, p.ui}, "", p.data);
    withLookJ.SetJournal(&p.journal);
    auto sw = [](DeskManager& m, int desk) { return [&m, desk](const EndState&) { m.DoAction(desk); }; };

    std::vector<Variant> vs;
    vs.push_back({"floor SW_SHOWNA",
                  [&](const EndState& b) { for (auto it = b.order.rbegin(); it != b.order.rend(); ++it) Show(w, *it, SW_HIDE); },
                  [&](const EndState& b) { for (auto it = b.order.rbegin(); it != b.order.rend(); ++it) Show(w, *it, SW_SHOWNA); }, {}, {}});
    vs.push_back({"floor (earlier)", [&](const EndState&) { for (HWND h : w.all) Show(w, h, SW_HIDE); },
                  [&](const EndState&) { for (std::size_t i = 0; i < w.all.size(); ++i) Show(w, w.all[i], w.showCmd[i]); }, {}, {}});
    constexpr UINT kCalls = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_DEFERERASE;
    vs.push_back({"calls alone",
                  [&](const EndState& b) {
                      for (HWND h : b.order) SetWindowPos(h, nullptr, 0, 0, 0, 0, kCalls | SWP_ASYNCWINDOWPOS | SWP_NOZORDER | SWP_HIDEWINDOW);
                  },
                  [&](const EndState& b) {
                      HWND above = HWND_TOP;
                      for (HWND h : b.order) {
                          if (Hung(w, h)) {
                              ShowWindowAsync(h, SW_SHOWNA);
                          } else {
                              SetWindowPos(h, above, 0, 0, 0, 0, kCalls | SWP_SHOWWINDOW);
                              above = h;
                          }
                      }
                  }, {}, {}});
    vs.push_back({"switch", sw(withLook, 2), sw(withLook, 1), {}, {}});
    vs.push_back({"switch+journal", sw(withLookJ, 2), sw(withLookJ, 1), {}, {}});
    for (int r = 0; r < reps; ++r) {
        for (auto& v : vs) {
            ActivateTop(w);
            const EndState before = CaptureSettled(w.all);
            const double t0 = Now();
            v.hide(before);
            WaitAll(w.live, false);
            v.hideMs.push_back(Now() - t0);
            v.show(before);
            WaitAll(w.live, true);  // the time to the last window shown
            v.ms.push_back(Now() - t0);
            bool settled = true;
            v.end.Add(before, CaptureSettled(w.all, &settled), w.hung);
            v.end.unsettled += !settled;
            // The look a switch released goes on the screen after its windows are back: it
            // finishes here, so that its broadcast and repaints are not timed as the next
            // variant's. (Not with a hung application, which holds the broadcast up.)
            if (w.hung.empty()) p.lookOps.FinishLook(3000);
        }
    }
    const double fna = Median(vs[0].ms), fe = Median(vs[1].ms);
    std::printf("%s: %zu windows (%zu hung), %d repetitions\n", name, w.all.size(), w.hung.size(), reps);
    std::printf("  %-16s %9s %7s %7s %7s  %s\n", "", "median ms", "/floor", "/earlier", "hidden", "end state after 1 -> 2 -> 1");
    for (auto& v : vs) {
        const double m = Median(v.ms);
        std::printf("  %-16s %9.1f %7.2f %7.2f %7.1f  %s\n", v.name, m, m / fna, m / fe, Median(v.hideMs), v.end.Describe().c_str());
        if (std::getenv("ORV_BENCH_ORDER") && !v.end.firstOrder.empty()) std::printf("    %s\n", v.end.firstOrder.c_str());
        if (std::getenv("ORV_BENCH_SAMPLES")) {
            std::printf("    ms:");
            for (double x : v.ms) std::printf(" %.0f", x);
            std::printf("\n");
        }
    }
    std::fflush(stdout);
}

void PrintLoad(const char* when, ULONGLONG& idle, ULONGLONG& total) {
    const std::string la = LoadAverage();
    const double busy = CpuBusySince(idle, total);
    std::printf("load %s: loadavg %s; CPUs busy %.0f%% since %s\n", when, la.empty() ? "(unreadable)" : la.c_str(), busy,
                std::strcmp(when, "at start") == 0 ? "boot" : "start");
}

void PrintResources(const char* when) {
    const Resources r = ReadResources();
    std::printf("  %-26s handles %4lu  private %7.0f KiB  GDI %3lu  USER %3lu | handle values %4lu  RssAnon %lld KiB\n",
                when, r.handles, static_cast<double>(r.privateBytes) / 1024.0, r.gdi, r.user, r.probedHandles,
                r.rssAnonKiB);
    std::fflush(stdout);
}

int Soak(Program& p, const std::wstring& testwins, int n) {
    WindowSet w;
    if (!AddProcess(w, testwins, {L"count=30;title=Soak %d;w=200;h=120"}, false)) {
        std::printf("testwins.exe did not come up\n");
        CloseAll(w);
        return 1;
    }
    CollectWindows(w);
    if (w.all.size() != 30) {
        std::printf("only %zu soak windows came up\n", w.all.size());
        CloseAll(w);
        return 1;
    }
    DeskWindows windows(p.windowOps, " Orvanta Solvane");
    DesktopLook look(p.lookOps, p.store, p.data);
    DeskManager m({windows, look, p.shelf, p.video, p.ui}, "", p.data);
    m.SetJournal(&p.journal);
    std::printf("soak: %d round trips (%d switches) with 30 windows, look and journal on\n", n, 2 * n);
    PrintResources("before the first switch");
    int notBack = 0;
    const double t0 = Now();
    for (int i = 1; i <= n; ++i) {
        m.DoAction(2);
        WaitAll(w.live, false);
        m.DoAction(1);
        WaitAll(w.live, true);
        notBack += !AllVisible(w.all, true);
        if (i == 50) PrintResources("after 100 switches");
        else if (i % 1000 == 0 && i != n) PrintResources(("after " + std::to_string(2 * i) + " switches").c_str());
    }
    PrintResources(("after " + std::to_string(2 * n) + " switches").c_str());
    std::printf("  %.1f s, %d round trips with a window not back\n", (Now() - t0) / 1000.0, notBack);
    CloseAll(w);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool soak = argc > 1 && std::strcmp(argv[1], "--soak") == 0;
    const int reps = !soak && argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const int soakRounds = soak && argc > 2 ? std::max(50, std::atoi(argv[2])) : 10000;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    dir.resize(dir.find_last_of(L'\\'));
    const std::wstring testwins = dir + L"\\..\\tools\\testwins.exe";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    Program p(Narrow(temp));
    ULONGLONG idle = 0, total = 0;
    PrintLoad("at start", idle, total);

    int rc = 0;
    if (soak) {
        rc = Soak(p, testwins, soakRounds);
    } else {
        for (int n : {10, 50, 200}) {
            if (std::getenv("ORV_BENCH_N") && std::atoi(std::getenv("ORV_BENCH_N")) != n) continue;
            WindowSet w;
            AddProcess(w, testwins, {L"count=" + std::to_wstring(n) + L";title=Bench %d;w=200;h=120"}, false);
            CollectWindows(w);
            if (static_cast<int>(w.all.size()) != n) {
                std::printf("N=%d: only %zu test windows came up\n", n, w.all.size());
                CloseAll(w);
                return 1;
            }
            RunConfig(p, ("N=" + std::to_string(n)).c_str(), w, reps);
            CloseAll(w);
        }
        // The mix: eight applications, three minimised and two maximised windows, and one
        // application (two windows) that stopped pumping, in the middle of the stack.
        WindowSet w;
        bool ok = true;
        for (int a = 1; a <= 8; ++a) {
            const std::wstring t = L"title=Mix " + std::to_wstring(a);
            std::vector<std::wstring> rq;
            if (a == 4) rq = {L"count=2;hang=now;" + t + L".%d;w=220;h=140"};
            else rq = {L"count=" + std::to_wstring(a % 2 ? 5 : 4) + L";" + t + L".%d;w=220;h=140"};
            if (a == 2 || a == 5 || a == 7) rq.push_back(t + L" min;state=min");
            if (a == 3 || a == 8) rq.push_back(t + L" max;state=max");
            ok = AddProcess(w, testwins, rq, a == 4) && ok;
        }
        CollectWindows(w);
        if (!ok || w.hung.size() != 2) {
            std::printf("mix: %zu windows, %zu hung: not as requested\n", w.all.size(), w.hung.size());
            rc = 1;
        } else {
            RunConfig(p, "mix of 8 applications", w, reps);
        }
        CloseAll(w);
        std::printf("journal writes: %d\n", p.journal.Writes());
    }
    PrintLoad("at end", idle, total);
    p.journal.Remove();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OrvantaBench");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\OrvantaBench");
    return rc;
}
