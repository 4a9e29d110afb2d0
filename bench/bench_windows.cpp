#include "bench_windows.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

namespace bench {

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

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool AddProcess(WindowSet& set, const std::wstring& testwins, const std::vector<std::wstring>& requests, bool hung) {
    std::wstring cmd = L"\"" + testwins + L"\"";
    for (const auto& r : requests) cmd += L" \"" + r + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(testwins.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    set.procs.push_back(pi);
    if (hung) set.hungPids.push_back(pi.dwProcessId);
    const std::wstring ready = L"Local\\OrvTestWinsReady-" + std::to_wstring(pi.dwProcessId);
    for (int i = 0; i < 1200; ++i) {  // a first start on a fresh prefix can take many seconds
        HANDLE e = OpenEventW(SYNCHRONIZE, FALSE, ready.c_str());
        if (e) {
            const bool ok = WaitForSingleObject(e, 20000) == WAIT_OBJECT_0;
            CloseHandle(e);
            return ok;
        }
        Sleep(50);
    }
    return false;
}

namespace {
struct CollectContext {
    std::unordered_set<DWORD> pids, hungPids;
    WindowSet* set;
};

BOOL CALLBACK Collect(HWND h, LPARAM lp) {
    auto* c = reinterpret_cast<CollectContext*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (!c->pids.count(pid) || !IsWindowVisible(h)) return TRUE;
    c->set->all.push_back(h);
    (c->hungPids.count(pid) ? c->set->hung : c->set->live).push_back(h);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(h, &wp);
    c->set->showCmd.push_back(static_cast<int>(wp.showCmd));
    return TRUE;
}
}  // namespace

void CollectWindows(WindowSet& set) {
    CollectContext c{{}, {}, &set};
    for (const auto& pi : set.procs) c.pids.insert(pi.dwProcessId);
    c.hungPids.insert(set.hungPids.begin(), set.hungPids.end());
    set.all.clear();
    set.live.clear();
    set.hung.clear();
    set.showCmd.clear();
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&c));
}

void CloseAll(WindowSet& set) {
    for (auto& pi : set.procs) {
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    set = WindowSet{};
}

bool AllVisible(const std::vector<HWND>& ws, bool visible) {
    for (HWND h : ws)
        if ((IsWindowVisible(h) != FALSE) != visible) return false;
    return true;
}

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void WaitAll(const std::vector<HWND>& ws, bool visible) {
    const double end = Now() + 10000;
    while (!AllVisible(ws, visible) && Now() < end) {
        Pump();
        Sleep(0);
    }
}

EndState Capture(const std::vector<HWND>& ws) {
    EndState s;
    const std::unordered_set<HWND> in(ws.begin(), ws.end());
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (in.count(h)) s.order.push_back(h);
    for (HWND h : ws) {
        s.visible.push_back(IsWindowVisible(h) != FALSE);
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(h, &wp);
        s.showCmd.push_back(static_cast<int>(wp.showCmd));
    }
    s.active = GetForegroundWindow();
    return s;
}

EndState CaptureSettled(const std::vector<HWND>& ws, bool* settled) {
    const double end = Now() + 3000;
    EndState last = Capture(ws);
    for (;;) {
        for (int i = 0; i < 6; ++i) {
            Pump();
            Sleep(5);
        }
        EndState s = Capture(ws);
        const std::unordered_set<HWND> seen(s.order.begin(), s.order.end());
        const bool whole = seen.size() == s.order.size() && s.order.size() == ws.size();
        const bool same = whole && s == last;
        if (same || Now() > end) {
            if (settled) *settled = same;
            return s;
        }
        last = std::move(s);
    }
}

void Mismatches::Add(const EndState& before, const EndState& after, const std::vector<HWND>& hung) {
    ++rounds;
    const bool v = std::find(after.visible.begin(), after.visible.end(), false) != after.visible.end();
    const bool sh = before.showCmd != after.showCmd;
    // A hung application's windows cannot take part in any restacking: they are left out.
    auto withoutHung = [&](const std::vector<HWND>& order) {
        std::vector<HWND> o;
        for (HWND h : order)
            if (std::find(hung.begin(), hung.end(), h) == hung.end()) o.push_back(h);
        return o;
    };
    const std::vector<HWND> ob = withoutHung(before.order), oa = withoutHung(after.order);
    const bool o = ob != oa;
    const bool a = before.active != after.active;
    visible += v;
    show += sh;
    order += o;
    active += a;
    if (o && firstOrder.empty()) {
        auto text = [&](const std::vector<HWND>& order) {
            std::string t;
            for (HWND h : order) {
                const auto at = std::find(before.order.begin(), before.order.end(), h) - before.order.begin();
                t += std::to_string(at) + " ";
            }
            return t;
        };
        const std::unordered_set<HWND> distinct(before.order.begin(), before.order.end());
        firstOrder = "(" + std::to_string(before.order.size()) + " in the walk, " + std::to_string(distinct.size()) +
                     " distinct, " + std::to_string(before.visible.size()) + " windows) before " + text(ob) + "| after " + text(oa);
    }
    if (o && std::equal(ob.begin(), ob.end(), oa.rbegin(), oa.rend())) ++reversed;
    if (a && !ob.empty() && after.active == ob.back()) ++activeBottom;
    if (a && std::find(before.order.begin(), before.order.end(), after.active) == before.order.end()) ++activeNone;
    if (!v && !sh && !o && !a) ++matched;
}

std::string Mismatches::Describe() const {
    char buf[256];
    std::snprintf(buf, sizeof buf, "%d/%d matched; hidden %d, show state %d, order %d (reversed %d), active %d (bottom %d, none of the set %d)%s",
                  matched, rounds, visible, show, order, reversed, active, activeBottom, activeNone,
                  unsettled ? ("; unsettled " + std::to_string(unsettled)).c_str() : "");
    return buf;
}

void ActivateTop(const WindowSet& set) {
    const EndState s = Capture(set.live);
    for (HWND h : s.order) {
        if (IsIconic(h)) continue;
        SetForegroundWindow(h);
        const double end = Now() + 1000;
        while (GetForegroundWindow() != h && Now() < end) {
            Pump();
            Sleep(1);
        }
        return;
    }
}

std::string LoadAverage() {
    HANDLE f = CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    char buf[128] = {};
    DWORD n = 0;
    ReadFile(f, buf, sizeof buf - 1, &n, nullptr);
    CloseHandle(f);
    std::string s(buf, n);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

double CpuBusySince(ULONGLONG& idle, ULONGLONG& total) {
    FILETIME fi, fk, fu;
    if (!GetSystemTimes(&fi, &fk, &fu)) return -1;
    auto q = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    const ULONGLONG i = q(fi), t = q(fk) + q(fu);  // kernel time includes idle time
    const ULONGLONG di = i - idle, dt = t - total;
    idle = i;
    total = t;
    return dt ? 100.0 * static_cast<double>(dt - di) / static_cast<double>(dt) : -1;
}

Resources ReadResources() {
    Resources r;
    GetProcessHandleCount(GetCurrentProcess(), &r.handles);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        r.privateBytes = pmc.PrivateUsage;
    r.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    r.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (ULONG_PTR v = 4; v < 0x20000; v += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(v), &flags)) ++r.probedHandles;
    }
    HANDLE f = CreateFileW(L"Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        std::string text(8192, '\0');
        DWORD n = 0;
        ReadFile(f, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
        CloseHandle(f);
        text.resize(n);
        const auto at = text.find("RssAnon:");
        if (at != std::string::npos) r.rssAnonKiB = std::atoll(text.c_str() + at + 8);
    }
    return r;
}

}  // namespace bench
