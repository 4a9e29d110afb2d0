#include "base/win/fatal.h"

#include <atomic>
#include <cstdio>
#include <exception>

#include "base/win/log.h"

namespace orv {

namespace {
std::atomic<FatalRestore> g_restore{nullptr};
std::atomic<void*> g_context{nullptr};
std::atomic<DWORD> g_runner{0};  // the thread on the fatal path, 0 before

LONG WINAPI UnhandledFilter(EXCEPTION_POINTERS* info) {
    char why[96];
    std::snprintf(why, sizeof why, "unhandled exception 0x%08lX at %p",
                  static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                  info->ExceptionRecord->ExceptionAddress);
    FatalExit(why);
}

void OnTerminate() {
    if (std::current_exception()) FatalFromException("std::terminate");
    FatalExit("std::terminate without an exception");
}
}  // namespace

void InstallFatalPath(FatalRestore restore, void* context) {
    g_context = context;
    g_restore = restore;
    SetUnhandledExceptionFilter(&UnhandledFilter);
    std::set_terminate(&OnTerminate);
}

bool FatalPathRunning() noexcept { return g_runner.load() != 0; }
bool OnFatalPath() noexcept { return g_runner.load() == GetCurrentThreadId(); }

void FatalExit(const char* why) noexcept {
    DWORD first = 0;
    if (!g_runner.compare_exchange_strong(first, GetCurrentThreadId())) {
        if (first == GetCurrentThreadId()) TerminateProcess(GetCurrentProcess(), kFatalExitCode);  // failed inside
        for (;;) Sleep(INFINITE);  // the first thread here ends the process
    }
    // The restore first: the log line may need the heap, which the failed thread may hold.
    if (FatalRestore restore = g_restore.load()) restore(g_context.load());
    char line[400];
    std::snprintf(line, sizeof line, "Fatal: %s; every hidden window shown again, the program ends", why);
    Log(line);
    TerminateProcess(GetCurrentProcess(), kFatalExitCode);
    for (;;) Sleep(INFINITE);
}

void FatalFromException(const char* where) noexcept {
    char why[300];
    try {
        throw;
    } catch (const std::exception& e) {
        std::snprintf(why, sizeof why, "exception in %s: %s", where, e.what());
    } catch (...) {
        std::snprintf(why, sizeof why, "exception in %s", where);
    }
    FatalExit(why);
}

}  // namespace orv
