// The switch benchmark's test windows and what it reads from the system: windows of
// testwins.exe processes, the end state of a set of windows (visibility, show states,
// stacking order, active window), the machine's load and this process's resources.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

double Now();  // milliseconds
double Median(std::vector<double> v);

// Test windows of one or more testwins processes, in the system's z-order (top first) as
// they came up. A hung process's windows never pump: nothing waits on their visibility.
struct WindowSet {
    std::vector<PROCESS_INFORMATION> procs;
    std::vector<HWND> all;
    std::vector<HWND> live;  // all but the hung ones
    std::vector<HWND> hung;
    std::vector<DWORD> hungPids;
    std::vector<int> showCmd;  // per window of all: the placement's show command when opened
};

// Starts testwins.exe with the requests (one window request each) and adds its windows.
bool AddProcess(WindowSet& set, const std::wstring& testwins, const std::vector<std::wstring>& requests, bool hung);
// Reads the windows of every process started, in z-order.
void CollectWindows(WindowSet& set);
void CloseAll(WindowSet& set);

bool AllVisible(const std::vector<HWND>& ws, bool visible);
// Answers what was sent to this thread's windows (the system's broadcasts wait on them).
void Pump();
// Waits until every window is visible (or hidden), at most 10 s.
void WaitAll(const std::vector<HWND>& ws, bool visible);

struct EndState {
    std::vector<HWND> order;  // the set's windows from the top of the stack down
    std::vector<bool> visible;  // per window of the set, in the set's order
    std::vector<int> showCmd;
    HWND active = nullptr;
    bool operator==(const EndState&) const = default;
};
EndState Capture(const std::vector<HWND>& ws);
// The end state once the system has settled: a walk of the stack that saw each window once
// and two captures 30 ms apart that agree (at most 3 s). The windows' applications may still
// be restacking them after the last one became visible.
EndState CaptureSettled(const std::vector<HWND>& ws, bool* settled = nullptr);

// What differed between the state before and after a round trip, counted over repetitions.
struct Mismatches {
    int rounds = 0;
    int matched = 0;
    int visible = 0, show = 0, order = 0, active = 0;
    int reversed = 0;        // the order came back exactly reversed
    int activeBottom = 0;    // the window active afterwards was the bottom one before
    int activeNone = 0;      // no window of the set active afterwards, though one was before
    int unsettled = 0;       // still restacking 3 s after the last window was shown
    std::string firstOrder;  // the first round whose order differed: before and after, as indices
    void Add(const EndState& before, const EndState& after, const std::vector<HWND>& hung);
    std::string Describe() const;
};

// Makes the topmost live, non-minimised window of the set the active one, so every round
// trip starts with a known active window of the set.
void ActivateTop(const WindowSet& set);

// The load: /proc/loadavg through Wine's Z: drive, or the empty string.
std::string LoadAverage();
// Busy share of all CPUs since the previous call (GetSystemTimes), in percent.
double CpuBusySince(ULONGLONG& idle, ULONGLONG& total);

struct Resources {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
    DWORD gdi = 0, user = 0;
    // Where the calls above read 0 (Wine 8 reads 0 for all four): the handle values that
    // GetHandleInformation accepts, and the process's anonymous resident memory from the
    // host's /proc/self/status (Wine's Z: drive; -1 when unreadable).
    DWORD probedHandles = 0;
    long long rssAnonKiB = -1;
};
Resources ReadResources();

}  // namespace bench
