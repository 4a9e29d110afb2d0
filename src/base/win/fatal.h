// The fatal path: the last thing the process does when something went wrong that it cannot
// carry on from (an exception caught at a window-procedure or callback boundary, an
// exception nobody handles, std::terminate). It runs the restore function given at start-up
// (every hidden window shown again, desktop 1's look requested), writes one line into the
// log and ends the process. It runs once: a second thread that gets here waits for the
// first to end the process; a crash inside it ends the process at once.
#pragma once

#include <windows.h>

namespace orv {

// The exit code of a process ended by the fatal path.
inline constexpr UINT kFatalExitCode = 0xDEAD;

// Runs on whichever thread failed, maybe while another one holds the heap or a lock of
// ours: it must allocate little and must not wait without a bound.
using FatalRestore = void (*)(void* context) noexcept;

// Installs the process-wide unhandled-exception filter and the terminate handler.
void InstallFatalPath(FatalRestore restore, void* context);
// True once the fatal path has started: window procedures then leave every message to the
// system (our state may be broken), but still answer, so nothing waits on us.
bool FatalPathRunning() noexcept;
// True on the thread that runs the fatal path. The others, which may run on meanwhile
// (a crash on another thread does not stop the user-interface thread), hide no window
// and request no look any more.
bool OnFatalPath() noexcept;

[[noreturn]] void FatalExit(const char* why) noexcept;
// Inside a catch block: the fatal path, naming where the exception was caught and its text.
[[noreturn]] void FatalFromException(const char* where) noexcept;

}  // namespace orv
