// Start-up of Orvanta.exe against the floor (start_floor.exe: a bare program that registers
// a class and shows one window), interleaved in one run: the time from CreateProcess to the
// window visible (FindWindow and IsWindowVisible, polled every millisecond), and to it drawn
// (a pixel of its face, read from the screen, showing the colour it keeps), median of N.
// The first start begins with no settings and no converted pictures; later starts find both.
// Then the program's private memory after start and after 100 switches (the desk buttons'
// own commands, as a click sends them), with the media process's apart, and the exe's size.
//
//   start_bench.exe [N] [--kill]   N starts of each kind (default 20); --kill ends each
//                                  run by TerminateProcess (for builds before the quit
//                                  message; the watchdog then finds nothing to restore)
//
// Run it on the Wine stand (scripts/stand.sh) only: it deletes the program's settings
// (HKCU\Software\Quillon\OrvantaZ) and its data folder. Orvanta.exe is the one in ..\ (the
// build folder), start_floor.exe the one beside this exe.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/bar_layout.h"
#include "app/win/bar_ids.h"
#include "base/win/handles.h"
#include "video/win/media_process.h"

namespace {

namespace fs = std::filesystem;
constexpr wchar_t kFloorClass[] = L"OrvantaStartFloor";
constexpr DWORD kSettleMs = 1500;  // after each start: background work ends before the next one

double NowMs() {
    static LARGE_INTEGER f{};
    if (!f.QuadPart) QueryPerformanceFrequency(&f);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

fs::path Here() {
    wchar_t p[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, p, MAX_PATH);
    return fs::path(p).parent_path();
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "start_bench: %s (error %lu)\n", what, GetLastError());
    std::exit(1);
}

struct Run {
    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
    double ms = 0;
    // The probe pixel's colour on the screen from the window visible on, for up to kDrawnMs.
    std::vector<std::pair<double, COLORREF>> probe;
};

constexpr double kDrawnMs = 400;

// Where the probe looks, in the window: the face of desktop 1's button in the bar, beside
// its number; the middle of the floor's window.
POINT ProbePoint(HWND w, bool bar) {
    RECT r{};
    GetWindowRect(w, &r);
    if (!bar) return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    static const orv::BarBox b = orv::LayOutBar(GetDeviceCaps(orv::GetWindowDc(nullptr).get().dc, LOGPIXELSY)).desk[0];
    return {r.left + b.left + b.width / 5, r.top + b.top + b.height / 2};
}

Run Start(const fs::path& exe, const wchar_t* windowClass) {
    Run r;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring line = L"\"" + exe.wstring() + L"\"";
    const double t0 = NowMs();
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, exe.parent_path().c_str(), &si,
                        &r.pi))
        Fail("CreateProcess");
    while (!((r.window = FindWindowW(windowClass, nullptr)) && IsWindowVisible(r.window))) {
        if (NowMs() - t0 > 30000) Fail("no window within 30 s");
        Sleep(1);
    }
    r.ms = NowMs() - t0;
    const bool bar = std::wcscmp(windowClass, kFloorClass) != 0;
    const orv::UniqueWindowDc screen = orv::GetWindowDc(nullptr);
    for (double t = r.ms; t - r.ms < kDrawnMs; t = NowMs() - t0) {
        const POINT p = ProbePoint(r.window, bar);
        r.probe.emplace_back(t, GetPixel(screen.get().dc, p.x, p.y));
        Sleep(1);
    }
    return r;
}

// The time from which the probe showed the colour it shows once settled: the window drawn.
double DrawnMs(const Run& r, bool bar) {
    const orv::UniqueWindowDc screen = orv::GetWindowDc(nullptr);
    const POINT p = ProbePoint(r.window, bar);
    const COLORREF settled = GetPixel(screen.get().dc, p.x, p.y);
    double since = -1;
    for (const auto& [t, c] : r.probe)
        if (c != settled) since = -1;
        else if (since < 0) since = t;
    return since < 0 ? r.probe.empty() ? r.ms : r.probe.back().first : since;
}

// This process and everything it starts, the program's watchdog included: a start is
// measured only once the processes of the one before have all gone.
HANDLE Job() {
    static const HANDLE job = [] {
        const HANDLE j = CreateJobObjectW(nullptr, nullptr);
        if (!j || !AssignProcessToJobObject(j, GetCurrentProcess())) Fail("a job object for this process");
        return j;
    }();
    return job;
}

bool g_kill = false;

void End(Run& r, UINT message) {
    if (g_kill && message != WM_CLOSE) TerminateProcess(r.pi.hProcess, 1);
    else PostMessageW(r.window, message, 0, 0);
    if (WaitForSingleObject(r.pi.hProcess, 30000) != WAIT_OBJECT_0) Fail("the process did not end");
    CloseHandle(r.pi.hProcess);
    CloseHandle(r.pi.hThread);
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    for (int i = 0; i < 500; ++i, Sleep(10))  // the watchdog ends right after the program
        if (!QueryInformationJobObject(Job(), JobObjectBasicAccountingInformation, &info, sizeof info, nullptr) ||
            info.ActiveProcesses <= 1)
            break;
    Sleep(200);
}

// As the uninstaller asks the program to quit: without the question, every window shown again.
UINT QuitMessage() { return RegisterWindowMessageW(L"Quillon.OrvantaZ.Quit.7d3f61c2"); }

void ForgetEverything() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillon\\OrvantaZ");
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    std::error_code ec;
    fs::remove_all(fs::path(appData) / L"Quillon" / L"Orvanta", ec);
}

double PrivateMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX m{};
    m.cb = sizeof m;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m)) return -1;
    // PagefileUsage is the commit charge, what Windows also gives as PrivateUsage; Wine
    // fills only the former for another process.
    return static_cast<double>(std::max(m.PrivateUsage, m.PagefileUsage)) / (1024.0 * 1024.0);
}

// The media process that runs the program's video device (it owns the one window of its
// class), or -1 when none runs.
double MediaProcessMb() {
    HWND w = FindWindowExW(HWND_MESSAGE, nullptr, orv::kMediaProcessClass, nullptr);
    DWORD pid = 0;
    if (!w || !GetWindowThreadProcessId(w, &pid)) return -1;
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    const double mb = h ? PrivateMb(h) : -1;
    if (h) CloseHandle(h);
    return mb;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string Load() {
    std::ifstream f("Z:\\proc\\loadavg");
    std::string a, b, c;
    f >> a >> b >> c;
    return a + " " + b + " " + c;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    g_kill = argc > 2 && std::strcmp(argv[2], "--kill") == 0;
    const fs::path program = Here().parent_path() / L"Orvanta.exe", floor = Here() / L"start_floor.exe";
    if (!fs::exists(program) || !fs::exists(floor)) Fail("Orvanta.exe in ..\\ or start_floor.exe here is missing");
    Job();
    std::printf("load before: %s\n", Load().c_str());

    std::vector<double> floorMs, firstMs, laterMs, floorDrawn, firstDrawn, laterDrawn;
    for (int i = 0; i < n; ++i) {
        // The order rotates, so that no kind always follows the same one.
        for (int k = 0; k < 3; ++k) {
            switch ((i + k) % 3) {
            case 0: {
                Run r = Start(floor, kFloorClass);
                floorMs.push_back(r.ms);
                Sleep(kSettleMs);
                floorDrawn.push_back(DrawnMs(r, false));
                End(r, WM_CLOSE);
                break;
            }
            case 1: {
                ForgetEverything();
                Run r = Start(program, orv::kBarClass);
                firstMs.push_back(r.ms);
                Sleep(kSettleMs);
                firstDrawn.push_back(DrawnMs(r, true));
                End(r, QuitMessage());
                break;
            }
            default: {
                Run r = Start(program, orv::kBarClass);  // after at least one start: settings and pictures there
                laterMs.push_back(r.ms);
                Sleep(kSettleMs);
                laterDrawn.push_back(DrawnMs(r, true));
                End(r, QuitMessage());
                break;
            }
            }
        }
    }
    const double f = Median(floorMs), first = Median(firstMs), later = Median(laterMs);
    std::printf("starts: median of %d each, ms (ratio to the floor)\n", n);
    std::printf("  floor        %7.1f\n", f);
    std::printf("  later start  %7.1f  (%.2fx)\n", later, later / f);
    std::printf("  first start  %7.1f  (%.2fx)\n", first, first / f);
    const double fd = Median(floorDrawn), laterD = Median(laterDrawn), firstD = Median(firstDrawn);
    std::printf("drawn (a pixel of the window's face shows its final colour), ms (ratio to the floor)\n");
    std::printf("  floor        %7.1f\n", fd);
    std::printf("  later start  %7.1f  (%.2fx)\n", laterD, laterD / fd);
    std::printf("  first start  %7.1f  (%.2fx)\n", firstD, firstD / fd);

    // Memory from a first start, with the sample videos the first start gives some desktops
    // and without any (as the end-to-end tests run).
    for (const bool videos : {false, true}) {
        ForgetEverything();
        if (!videos)
            RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Quillon\\OrvantaZ\\CONFIG", L"VideoDefault", REG_SZ, L"0", 4);
        Run r = Start(program, orv::kBarClass);
        Sleep(3000);
        const double afterStart = PrivateMb(r.pi.hProcess);
        for (int i = 1; i <= 100; ++i) {
            const int id = orv::kIdDesk0 + i % 6;  // desktops 2, 3 ... 6, 1, 2 ...
            DWORD_PTR ignored = 0;
            if (!SendMessageTimeoutW(r.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(GetDlgItem(r.window, id)), SMTO_NORMAL, 15000, &ignored))
                Fail("a switch did not end within 15 s");
        }
        Sleep(3000);
        const double afterSwitches = PrivateMb(r.pi.hProcess), media = MediaProcessMb();
        End(r, QuitMessage());
        std::printf("private memory %s videos: %.1f MB after start, %.1f MB after 100 switches", videos ? "with" : "without",
                    afterStart, afterSwitches);
        if (media >= 0) std::printf(" (the media process: %.1f MB)", media);
        std::printf("\n");
    }
    std::printf("Orvanta.exe: %.0f KB\n", static_cast<double>(fs::file_size(program)) / 1024.0);
    std::printf("load after: %s\n", Load().c_str());
    return 0;
}
