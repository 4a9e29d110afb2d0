// Whether the thread behind a window answers messages. Sending to a thread that stopped
// pumping blocks the sender, so every call to one window that could wait on its application
// asks here first (broadcasts to every window go to the look worker instead). Answers are
// kept for a short while: one switch probes each thread once.
#pragma once

#include <windows.h>

#include <unordered_map>

namespace orv {

class ThreadProbe {
public:
    // True when the window's thread answered a WM_NULL within the probe timeout.
    bool Responsive(HWND h) { return Responsive(h, GetWindowThreadProcessId(h, nullptr)); }
    // Asks afresh, so a true answer also means the thread has handled every request queued
    // to it before (they come first).
    bool CaughtUp(HWND h) { return CaughtUp(h, GetWindowThreadProcessId(h, nullptr)); }
    // The same for a window whose thread the caller has read already (0: the window is gone).
    bool Responsive(HWND h, DWORD thread);
    bool CaughtUp(HWND h, DWORD thread);
    // The question itself, unremembered: whether the window's thread answers a WM_NULL
    // within timeoutMs.
    static constexpr UINT kTimeoutMs = 200;
    static bool Answers(HWND h, UINT timeoutMs = kTimeoutMs);

private:
    void Refresh();  // forgets answers older than kValidMs
    static constexpr ULONGLONG kValidMs = 500;
    std::unordered_map<DWORD, bool> answers_;  // thread -> answered
    ULONGLONG since_ = 0;
};

}  // namespace orv
