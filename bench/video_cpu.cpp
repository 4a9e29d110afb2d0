// The program's CPU use with a desktop video: the floor (desktop 1, no video), then desktop 3
// playing cubeturn2.avi uncovered, covered by a maximised window of another process
// (testwins.exe), and uncovered again. Each phase is measured with GetProcessTimes over the
// same wall time; the output gives CPU % of one core per phase and the ratio covered /
// uncovered. Run it on the stand (scripts/stand.sh): it writes the program's settings
// (desktop 3 plays the sample beside the exe, every other desktop none) and starts
// ../Orvanta.exe.
//
//   video_cpu.exe [seconds per phase, default 10]
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "app/win/bar_ids.h"
#include "base/win/utf.h"
#include "settings/control_settings.h"
#include "settings/win/registry_store.h"

namespace {

using namespace orv;

std::wstring ExeFolder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    return dir.substr(0, dir.find_last_of(L'\\'));
}

struct Child {
    PROCESS_INFORMATION pi{};
    explicit Child(std::wstring line) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, ExeFolder().c_str(), &si, &pi)) pi = {};
    }
    ~Child() {
        if (!pi.hProcess) return;
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hProcess), CloseHandle(pi.hThread);
    }
    explicit operator bool() const { return pi.hProcess != nullptr; }
};

std::string ReadWhole(const std::wstring& file) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buf[4096];
    for (DWORD n = 0; ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0;) text.append(buf, n);
    CloseHandle(h);
    return text;
}

// Under Wine GetProcessTimes gives another process's times as 0: there the CPU time of its
// unix process is read from /proc, the process found by its command line (naming exe, ending
// in tail, not the watchdog's) and by this stand's Wine prefix in its environment.
struct CpuClock {
    CpuClock(HANDLE p, std::string e, std::string t) : process(p), exe(std::move(e)), tail(std::move(t)) {}
    HANDLE process;
    std::string exe, tail;
    bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    std::wstring unixProc;

    double Seconds() {
        if (!wine) {
            FILETIME created, exited, kernel, user;
            if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
            auto s = [](FILETIME f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7; };
            return s(kernel) + s(user);
        }
        if (unixProc.empty()) unixProc = FindUnixProcess();
        const std::string stat = ReadWhole(unixProc + L"\\stat");
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) return 0;
        char state = 0;
        unsigned long long skip = 0, utime = 0, stime = 0;  // fields 14 and 15, in ticks of 1/100 s
        std::sscanf(stat.c_str() + close + 1, " %c %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu", &state, &skip,
                    &skip, &skip, &skip, &skip, &skip, &skip, &skip, &skip, &skip, &utime, &stime);
        return static_cast<double>(utime + stime) / 100.0;
    }

    std::wstring FindUnixProcess() const {
        wchar_t prefix[MAX_PATH] = {};
        GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
        const std::string mark = "WINEPREFIX=" + Narrow(prefix) + '\0';
        WIN32_FIND_DATAW f;
        HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &f);
        std::wstring found;
        for (BOOL ok = find != INVALID_HANDLE_VALUE; ok && found.empty(); ok = FindNextFileW(find, &f)) {
            const std::wstring dir = std::wstring(L"Z:\\proc\\") + f.cFileName;
            if (f.cFileName[0] < L'0' || f.cFileName[0] > L'9') continue;
            std::string cmd = ReadWhole(dir + L"\\cmdline");
            while (!cmd.empty() && (cmd.back() == '\0' || cmd.back() == ' ')) cmd.pop_back();
            for (char& c : cmd) c = c == '\0' ? ' ' : c;
            if (cmd.find(exe) != std::string::npos && cmd.find("/watchdog") == std::string::npos && cmd.ends_with(tail) &&
                ReadWhole(dir + L"\\environ").find(mark) != std::string::npos)
                found = dir;
        }
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        if (found.empty()) std::fprintf(stderr, "video_cpu: no unix process of %s%s\n", exe.c_str(), tail.c_str());
        return found;
    }
};

// CPU % of one core over `seconds` of wall time.
double Measure(CpuClock& clock, int seconds) {
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    const double c0 = clock.Seconds();
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double c1 = clock.Seconds();
    QueryPerformanceCounter(&t1);
    return 100.0 * (c1 - c0) / (static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart));
}

// A window of the process behind the desktop icons (a child of "Progman" or a "WorkerW"):
// its video is playing there.
bool PlaysBehindIcons(DWORD pid) {
    for (const wchar_t* cls : {L"Progman", L"WorkerW"})
        for (HWND top = FindWindowExW(nullptr, nullptr, cls, nullptr); top; top = FindWindowExW(nullptr, top, cls, nullptr))
            for (HWND c = FindWindowExW(top, nullptr, nullptr, nullptr); c; c = FindWindowExW(top, c, nullptr, nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(c, &owner);
                if (owner == pid && IsWindowVisible(c)) return true;
            }
    return false;
}

HWND WaitBar(DWORD pid) {
    for (int i = 0; i < 300; ++i, Sleep(50))
        for (HWND bar = FindWindowW(kBarClass, nullptr); bar; bar = FindWindowExW(nullptr, bar, kBarClass, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(bar, &owner);
            if (owner == pid) return bar;
        }
    return nullptr;
}

struct Phases {
    double floor = 0, uncovered = 0, covered = 0, again = 0;
};

// Measures the phases of a process that plays the video once `start` has run.
template <class Start> bool RunPhases(CpuClock clock, DWORD pid, int seconds, Start start, Phases& out) {
    Sleep(3000);  // start-up done
    out.floor = Measure(clock, seconds);
    start();
    for (int i = 0; i < 100 && !PlaysBehindIcons(pid); ++i) Sleep(50);
    if (!PlaysBehindIcons(pid)) return false;
    Sleep(2000);
    out.uncovered = Measure(clock, seconds);
    {
        const std::wstring testwins = ExeFolder() + L"\\..\\tools\\testwins.exe";
        Child cover(L"\"" + testwins + L"\" \"title=Bench cover;state=max\"");
        if (!cover) return std::fprintf(stderr, "video_cpu: no testwins.exe\n"), false;
        Sleep(3000);  // shown, and the next look at the windows has passed
        out.covered = Measure(clock, seconds);
    }  // the cover closes
    Sleep(3000);
    out.again = Measure(clock, seconds);
    return true;
}

void Print(const char* what, const Phases& p) {
    std::printf("%s\n", what);
    std::printf("  %-28s %6.2f %%\n  %-28s %6.2f %%\n  %-28s %6.2f %%\n  %-28s %6.2f %%\n", "floor (no video)", p.floor,
                "video, uncovered", p.uncovered, "video, covered (maximised)", p.covered, "video, uncovered again", p.again);
    const double uncovered = (p.uncovered + p.again) / 2;
    std::printf("  covered / uncovered: %.3f; covered - floor: %+.2f %% of a core\n",
                uncovered > 0 ? p.covered / uncovered : 0.0, p.covered - p.floor);
}

std::wstring DataLog() {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::wstring(appData) + L"\\Quillon\\Orvanta\\Orvanta.log";
}

// The program's lines about the windows over its video.
void PrintLog(const std::wstring& file) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    std::string text(1 << 20, '\0');
    DWORD n = 0;
    ReadFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(h);
    text.resize(n);
    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
        end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        if (line.find("covers the screen") != std::string::npos || line.find("uncovered") != std::string::npos)
            std::printf("  log: %s\n", line.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 10;
    RegistryStore store(kSettingsRoot, "OrvantaZ");
    MarkVideoDefaultsWritten(store);
    const std::string sample = Narrow(ExeFolder() + L"\\..\\cubeturn2.avi");
    for (int desk = 1; desk <= 6; ++desk) WriteVideoSetting(store, desk, {desk == 3, false, desk == 3, desk == 3 ? sample : ""});
    std::printf("video_cpu: %d s per phase, desktop 3 plays %s\n", seconds, sample.c_str());

    Child app(L"\"" + ExeFolder() + L"\\..\\Orvanta.exe\"");
    HWND bar = app ? WaitBar(app.pi.dwProcessId) : nullptr;
    if (!bar) return std::fprintf(stderr, "video_cpu: Orvanta.exe did not start\n"), 1;
    Phases p;
    if (!RunPhases({app.pi.hProcess, "Orvanta.exe", ""}, app.pi.dwProcessId, seconds, [&] {
            PostMessageW(bar, WM_COMMAND, MAKEWPARAM(kIdDesk0 + 2, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(bar, kIdDesk0 + 2)));
        }, p))
        return std::fprintf(stderr, "video_cpu: Orvanta.exe played no video on desktop 3\n"), 1;
    Print("Orvanta.exe", p);
    PrintLog(DataLog());
    return 0;
}
