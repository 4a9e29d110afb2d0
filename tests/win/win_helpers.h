// Other applications as the Win32 tests need them: windows pumped by a thread of their own
// (which can hang), child processes, and waiting for a condition.
#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace orv::test {

// Windows made and pumped by a thread of their own, like another application's windows; the
// thread can be told to stop pumping for a while, like a hung application.
struct ForeignWindows {
    std::vector<HWND> windows;
    std::atomic<DWORD> threadId{0};
    std::thread thread;
    explicit ForeignWindows(std::vector<std::pair<std::wstring, int>> made) {
        thread = std::thread([this, made] {
            for (const auto& [title, showCmd] : made) {
                windows.push_back(CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 50, 50, 300, 200,
                                                  nullptr, nullptr, nullptr, nullptr));
                ShowWindow(windows.back(), showCmd);
            }
            MSG msg;
            threadId = GetCurrentThreadId();
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (msg.hwnd == nullptr && msg.message == WM_APP) Sleep(static_cast<DWORD>(msg.wParam));
                else DispatchMessageW(&msg);
            }
        });
        while (threadId == 0) Sleep(5);
    }
    ~ForeignWindows() { PostThreadMessageW(threadId, WM_QUIT, 0, 0), thread.join(); }
    void Hang(DWORD ms) { PostThreadMessageW(threadId, WM_APP, ms, 0), Sleep(50); }  // 50: till the thread sleeps
};

template <class Pred> bool WaitFor(Pred pred, DWORD ms) {
    for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end; Sleep(10))
        if (pred()) return true;
    return pred();
}

inline std::filesystem::path SelfPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

// A process of its own (args: the whole command line, or empty), ended with the object.
struct Child {
    PROCESS_INFORMATION pi{};
    bool started;
    Child(const std::filesystem::path& exe, std::wstring args) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        started = CreateProcessW(exe.c_str(), args.empty() ? nullptr : args.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &si, &pi);
    }
    ~Child() { if (started) TerminateProcess(pi.hProcess, 0), CloseHandle(pi.hProcess), CloseHandle(pi.hThread); }
    DWORD ExitCode(DWORD ms) {  // STILL_ACTIVE when it has not ended within ms
        DWORD code = STILL_ACTIVE;
        return WaitForSingleObject(pi.hProcess, ms), GetExitCodeProcess(pi.hProcess, &code), code;
    }
};

}  // namespace orv::test
