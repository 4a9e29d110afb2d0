// Whether the thread behind a window answers messages. Sending to a thread that stopped
// pumping blocks the sender, so every call that could wait on another application asks
// here first. Answers are kept for a short while: one switch probes each thread once.
#pragma once

#include <windows.h>

#include <unordered_map>

namespace orv {

class ThreadProbe {
public:
    // True when the window's thread answered a WM_NULL within the probe timeout.
    bool Responsive(HWND h);
    // True when no thread owning a top-level window (visible or not) is hung: a broadcast to
    // every top-level window would then come back.
    bool AllResponsive();

private:
    static constexpr UINT kTimeoutMs = 200;
    static constexpr ULONGLONG kValidMs = 500;
    std::unordered_map<DWORD, bool> answers_;  // thread -> answered
    ULONGLONG since_ = 0;
};

}  // namespace orv
