// Drives real programs as a user would, for the end-to-end tests under Wine (or Windows):
// start and end processes, find and inspect top-level windows, press controls with the real
// mouse, answer message boxes, open test windows in a helper process, read and write the
// registry. Nothing here throws; failures come back as null, false or nullopt.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::e2e {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A started process; owns its handles. The destructor ends the process when it still runs
// (unless Detach() was called), so a failing test leaves nothing behind.
class Process {
public:
    Process() = default;
    Process(HANDLE process, HANDLE thread, DWORD pid) : process_(process), thread_(thread), pid_(pid) {}
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    bool Valid() const { return process_ != nullptr; }
    explicit operator bool() const { return Valid(); }
    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_; }

    // True when the process has ended within ms.
    [[nodiscard]] bool WaitExit(DWORD ms) const;
    bool Running() const { return Valid() && !WaitExit(0); }
    // Ends the process (exit code 1) and waits for it; true when it is gone.
    bool Kill(DWORD waitMs = 5000);
    // The exit code once ended; nullopt while it still runs.
    std::optional<DWORD> ExitCode() const;
    // Resumes the main thread of a process launched suspended.
    bool Resume() const;
    // Leaves the process running when this object goes.
    void Detach() { killOnDestroy_ = false; }

private:
    void Reset();
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD pid_ = 0;
    bool killOnDestroy_ = true;
};

struct LaunchOptions {
    std::wstring workDir;          // empty: the exe's folder
    bool suspended = false;        // CREATE_SUSPENDED (then Process::Resume)
};

// Starts path with args (each quoted as CommandLineToArgvW reads it back).
Process Launch(const std::wstring& path, const std::vector<std::wstring>& args = {},
               const LaunchOptions& options = {});
// Starts path with a ready-made argument string.
Process LaunchCommandLine(const std::wstring& path, const std::wstring& args, const LaunchOptions& options = {});
std::wstring QuoteArg(const std::wstring& arg);

// Paths of the build: ORV_BUILD_DIR (as a Windows path) joined with relative ('/' or '\').
std::wstring BuildPath(std::wstring_view relative);
std::wstring TempDir();  // GetTempPath without the trailing backslash

// Polls pred every 20 ms (pumping this thread's messages) until it is true or ms have passed.
template <class Pred>
bool WaitUntil(Pred pred, DWORD ms);
void PumpFor(DWORD ms);

// Top-level windows.
std::wstring WindowTitle(HWND hwnd);
std::wstring WindowClass(HWND hwnd);
DWORD WindowPid(HWND hwnd);
// The first top-level window (in z-order) whose class and title equal the given ones (null:
// any) and that belongs to pid (0: any process). Null after timeoutMs.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs, DWORD pid = 0);
HWND FindTopWindow(const wchar_t* className, const wchar_t* title, DWORD pid = 0);
std::vector<HWND> TopWindowsOfProcess(DWORD pid);
std::vector<HWND> TopWindows();  // all, in z-order (top first)

struct WindowState {
    bool exists = false;
    bool visible = false;
    bool iconic = false;
    bool zoomed = false;
    UINT showCmd = 0;          // GetWindowPlacement
    RECT normal = {};          // rcNormalPosition
    RECT rect = {};            // GetWindowRect
    std::wstring title;
};
WindowState GetWindowState(HWND hwnd);
// True when the window's thread answers a WM_NULL within ms (SMTO_ABORTIFHUNG).
bool Responds(HWND hwnd, UINT ms = 500);

// The real mouse: SetCursorPos and SendInput. Coordinates are screen coordinates.
bool MouseMove(int x, int y);
bool MouseClick(int x, int y);
// Presses the left button at (x, y), moves in steps to (upX, upY), releases there.
bool MouseDownUp(int x, int y, int upX, int upY);
// Finds the child control ctrlId of parent (at any depth), checks that its centre is not
// covered, and clicks it with the real mouse; then waits until the owner has taken the input.
bool ClickControl(HWND parent, int ctrlId);
HWND FindControl(HWND parent, int ctrlId);
// Waits until the window's thread has processed what is queued before now (best effort).
void Settle(HWND hwnd, DWORD ms = 1000);

// Message boxes (dialog class #32770). The text is the static control with ID 0xFFFF.
std::wstring MessageBoxText(HWND dlg);
// Finds a message box with that title (null: any) whose text equals text (null: any).
HWND FindMessageBox(const wchar_t* title, const wchar_t* text, DWORD pid = 0);
// Waits up to timeoutMs for such a box and presses buttonId (IDYES, IDNO, IDOK ...) with a real
// click, falling back to BM_CLICK when the click did not close it. False when no box appeared
// or it stayed open.
bool AnswerMessageBox(const wchar_t* title, const wchar_t* text, int buttonId, int timeoutMs);

// testwins.exe (tools) in a process of its own; see tools/testwins.cpp for the request keys.
class TestWindows {
public:
    struct Item {
        HWND hwnd = nullptr;
        std::wstring title;
    };
    TestWindows() = default;
    TestWindows(Process process, std::vector<Item> items) : process_(std::move(process)), items_(std::move(items)) {}

    bool Ready() const { return process_.Valid() && !items_.empty(); }
    const std::vector<Item>& Items() const { return items_; }
    // The first window opened with that title (null when none).
    HWND Get(std::wstring_view title) const;
    std::vector<HWND> All() const;
    DWORD Pid() const { return process_.Pid(); }
    Process& GetProcess() { return process_; }
    // Posts the registered message "OrvTestHang": windows with hang=1 stop pumping for ms
    // milliseconds (0: for ever).
    bool Hang(HWND hwnd, DWORD ms = 0) const;
    bool Kill() { return process_.Kill(); }

private:
    Process process_;
    std::vector<Item> items_;
};
// Starts testwins.exe with those requests and waits (timeoutMs) until every window exists.
// Not Ready() when it failed.
TestWindows OpenTestWindows(const std::vector<std::wstring>& requests, DWORD timeoutMs = 20000);

// Registry (the default 64-bit view).
bool DeleteTree(HKEY root, const std::wstring& subkey);  // true when gone (or never there)
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& subkey, const std::wstring& name);
bool WriteString(HKEY root, const std::wstring& subkey, const std::wstring& name, const std::wstring& value);
std::optional<DWORD> ReadDword(HKEY root, const std::wstring& subkey, const std::wstring& name);
bool WriteDword(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD value);

template <class Pred>
bool WaitUntil(Pred pred, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        if (pred()) return true;
        if (GetTickCount64() >= end) return false;
        PumpFor(20);
    }
}

}  // namespace orv::e2e
