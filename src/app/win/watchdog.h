// Recovery from the journal a killed run left, and the watchdog that runs it the moment the
// program ends without removing its journal: the same Orvanta.exe started with
// "/watchdog <handle>", where handle is an inherited SYNCHRONIZE handle to the program (a
// handle, unlike a process id, cannot come to name another process). The watchdog has no
// window, takes no single-instance mutex, shows no message and waits without CPU; killed
// alone it changes nothing.
#pragma once

#include <windows.h>

#include <optional>

#include "app/desktop_look.h"
#include "app/flavour.h"
#include "app/recovery.h"

namespace orv {

// The journal of this data folder (the data folder ends in a separator, as stored).
std::wstring JournalPath(const AppFolders& folders);

// Replays and removes a journal left behind, serialised with any other recovery (the
// watchdog of the previous run and a new start), and logs what it did.
RecoveryReport RecoverLeftovers(const AppFolders& folders, const FlavourInfo& f, DesktopLook& look);

// Starts the watchdog of this process; false (logged) when it cannot.
bool StartWatchdog();

// The watchdog's process, made once the bar is up: making a process takes a while (most of
// all under Wine) and the bar need not wait for it. Nothing may be hidden before it exists:
// whatever hides windows calls Up first. Made on the calling thread: under Wine a thread
// that has ended keeps about 1 MB of its stack until another one ends.
class WatchdogStarter {
public:
    // Makes it unless made (or tried: a failure is logged) before.
    void Up() {
        if (!tried_) StartWatchdog();
        tried_ = true;
    }

private:
    bool tried_ = false;
};

// The program handle when the command line asks for the watchdog.
std::optional<HANDLE> WatchdogHandle(const wchar_t* commandLine);
// Waits for the program to end, then recovers what its journal names. The exit code.
int RunWatchdog(HANDLE program);

}  // namespace orv
