// Tells when a window comes to cover the monitor the desktop video plays on, and when it
// leaves: the system's window events from every process (out of context: delivered through
// this thread's message loop; no code of ours runs in other processes), coalesced into one
// look at the top-level windows shortly after the first of them. Between events nothing runs.
// Where the system reports no such events (Wine 8 reports only the creation of windows), the
// windows are looked at once a second instead, until a first event shows that it does.
//
//   auto cover = CoverWatch::Create();
//   cover->onChange = [&](bool covered) { player.SetCovered(covered); };
//   bool now = cover->Start(host);   // watch the monitor the host window is on
//   cover->Stop();
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "base/win/window_base.h"
#include "video/screen_cover.h"

namespace orv {

// Every top-level window as CoversArea reads it, in z-order (hidden ones left out).
std::vector<CoverWindow> ReadCoverWindows();
// The work area of the monitor the window is on (the primary one for none).
CoverRect WorkAreaOf(HWND onMonitorOf);

class CoverWatch final : public Window {
public:
    // Null when its (hidden) window cannot be made.
    static std::unique_ptr<CoverWatch> Create();
    ~CoverWatch() override;

    // Starts (again) watching the monitor onMonitorOf is on; true when it is covered now.
    bool Start(HWND onMonitorOf);
    void Stop();
    bool Watching() const { return watching_; }
    // A look at the windows now.
    bool CoveredNow() const;
    // Runs on this thread when the answer changes while watching.
    std::function<void(bool covered)> onChange;

private:
    CoverWatch() = default;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG idObject, LONG idChild, DWORD,
                                 DWORD) noexcept;
    void Schedule();
    void Check();

    std::vector<HWINEVENTHOOK> hooks_;
    HWND monitorOf_ = nullptr;
    bool watching_ = false, covered_ = false, pending_ = false;
    bool eventsSeen_ = false;  // the system reports window events: no look once a second
};

}  // namespace orv
