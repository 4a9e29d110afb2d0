// The one thread that puts looks on the screen. The system's colour and wallpaper calls
// broadcast to every top-level window and wait for each answer, without limit under Wine
// while any application hangs, even one with only a hidden window. So the user-interface
// thread hands each look over and never waits: the latest request wins, one not started
// yet is dropped. The worker touches none of our windows and posts nothing; what its
// broadcasts send to our windows the user-interface thread answers as it pumps, also while
// it waits in Finish.
#pragma once

#include <windows.h>

#include <vector>

#include "app/desktop_look.h"

namespace orv {

class LookWorker {
public:
    using Apply = void (*)(const LookRequest& look);
    explicit LookWorker(Apply apply) : apply_(apply) {}
    LookWorker(const LookWorker&) = delete;
    LookWorker& operator=(const LookWorker&) = delete;
    // Waits a moment for the thread to end; one stuck in a broadcast is left to the end of
    // the process, with what it uses.
    ~LookWorker();

    // Hands the look over (the thread starts with the first one). Never waits.
    void Request(const LookRequest& look);
    // While held, a look requested waits (not on the fatal path): its broadcasts would make
    // every application answer them while it also shows its windows. Released, it waits
    // until the threads of the windows departed (one window each) have got to the requests
    // queued to them, so that they hide before they repaint; then a moment more, so that a
    // switch right after takes its place.
    void Hold(bool held, std::vector<HWND> departed = {});
    // No look waiting or being put on the screen.
    bool Idle() const;
    // No look waiting, and the last one's values are on the screen (its broadcasts to the
    // other programs may still go on).
    bool Shown() const;
    // Waits up to ms until idle, answering messages sent to this thread's windows
    // meanwhile. True when idle.
    bool Finish(DWORD ms);
    // Called by an Apply function on the worker once the look's values are on the screen,
    // before it tells the other programs: from then on the look counts as shown. Elsewhere
    // it does nothing.
    static void PutOnScreen();

private:
    struct Shared;
    static thread_local Shared* current_;  // the worker's, on its own thread
    static DWORD WINAPI Main(void* shared);
    Shared& Ensure();  // made at the first request or hold
    Apply apply_;
    Shared* s_ = nullptr;
};

}  // namespace orv
