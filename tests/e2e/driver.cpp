#include "e2e/driver.h"

#include <atomic>
#include <cstdlib>
#include <utility>

namespace orv::e2e {

// ---------------------------------------------------------------- text

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// ---------------------------------------------------------------- processes

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      thread_(std::exchange(other.thread_, nullptr)),
      pid_(std::exchange(other.pid_, 0)),
      killOnDestroy_(other.killOnDestroy_) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Reset();
        process_ = std::exchange(other.process_, nullptr);
        thread_ = std::exchange(other.thread_, nullptr);
        pid_ = std::exchange(other.pid_, 0);
        killOnDestroy_ = other.killOnDestroy_;
    }
    return *this;
}

Process::~Process() { Reset(); }

void Process::Reset() {
    if (process_ && killOnDestroy_ && !WaitExit(0)) Kill();
    if (thread_) CloseHandle(thread_);
    if (process_) CloseHandle(process_);
    process_ = thread_ = nullptr;
    pid_ = 0;
}

bool Process::WaitExit(DWORD ms) const {
    return process_ && WaitForSingleObject(process_, ms) == WAIT_OBJECT_0;
}

bool Process::Kill(DWORD waitMs) {
    if (!process_) return false;
    if (WaitExit(0)) return true;
    TerminateProcess(process_, 1);
    return WaitExit(waitMs);
}

std::optional<DWORD> Process::ExitCode() const {
    DWORD code = 0;
    if (!process_ || !WaitExit(0) || !GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

std::wstring QuoteArg(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    // The rules CommandLineToArgvW and the C runtime read back: backslashes double only
    // before a quote.
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        if (c == L'"') out.append(slashes * 2 + 1, L'\\');
        else out.append(slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    out += L'"';
    return out;
}

static std::wstring FolderOf(const std::wstring& path) {
    const size_t at = path.find_last_of(L"\\/");
    return at == std::wstring::npos ? std::wstring() : path.substr(0, at);
}

Process LaunchCommandLine(const std::wstring& path, const std::wstring& args, const LaunchOptions& options) {
    std::wstring commandLine = QuoteArg(path);
    if (!args.empty()) commandLine += L" " + args;
    std::wstring workDir = options.workDir.empty() ? FolderOf(path) : options.workDir;
    STARTUPINFOW si = {};
    si.cb = sizeof si;  // no STARTF_USESHOWWINDOW: the program's own show commands count
    PROCESS_INFORMATION pi = {};
    const DWORD flags = options.suspended ? CREATE_SUSPENDED : 0;
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi))
        return {};
    return Process(pi.hProcess, pi.hThread, pi.dwProcessId);
}

Process Launch(const std::wstring& path, const std::vector<std::wstring>& args, const LaunchOptions& options) {
    std::wstring joined;
    for (const auto& a : args) {
        if (!joined.empty()) joined += L' ';
        joined += QuoteArg(a);
    }
    return LaunchCommandLine(path, joined, options);
}

bool Process::Resume() const { return thread_ && ResumeThread(thread_) != static_cast<DWORD>(-1); }

// ---------------------------------------------------------------- paths and waiting

std::wstring TempDir() {
    wchar_t buf[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    std::wstring dir(buf, n);
    while (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/')) dir.pop_back();
    return dir;
}

static std::wstring UnixToWindowsPath(const std::string& unixPath) {
    // Wine maps a unix path to its drive letter; Z: is the unix root by default.
    using ToDos = WCHAR*(CDECL*)(const char*);
    if (auto fn = reinterpret_cast<ToDos>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")))) {
        if (WCHAR* dos = fn(unixPath.c_str())) {
            std::wstring out(dos);
            HeapFree(GetProcessHeap(), 0, dos);
            return out;
        }
    }
    return L"Z:" + Widen(unixPath);
}

static std::wstring BuildDir() {
    std::wstring dir;
#ifdef ORV_BUILD_DIR
    const std::string configured = ORV_BUILD_DIR;
    dir = !configured.empty() && configured[0] == '/' ? UnixToWindowsPath(configured) : Widen(configured);
#else
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    dir = FolderOf(FolderOf(exe));  // <build>/tests/x.exe
#endif
    for (auto& c : dir)
        if (c == L'/') c = L'\\';
    while (!dir.empty() && dir.back() == L'\\') dir.pop_back();
    return dir;
}

std::wstring BuildPath(std::wstring_view relative) {
    std::wstring out = BuildDir() + L"\\" + std::wstring(relative);
    for (auto& c : out)
        if (c == L'/') c = L'\\';
    return out;
}

void PumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

// ---------------------------------------------------------------- windows

std::wstring WindowTitle(HWND hwnd) {
    // Cross-process GetWindowText reads the caption the system keeps; it never waits on the
    // window's thread (unlike WM_GETTEXT), so a hung window cannot block us here.
    wchar_t buf[1024] = {};
    const int n = GetWindowTextW(hwnd, buf, 1024);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring WindowClass(HWND hwnd) {
    wchar_t buf[256] = {};
    const int n = GetClassNameW(hwnd, buf, 256);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

DWORD WindowPid(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

std::vector<HWND> TopWindows() {
    std::vector<HWND> out;
    EnumWindows(
        [](HWND hwnd, LPARAM lp) noexcept -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

std::vector<HWND> TopWindowsOfProcess(DWORD pid) {
    std::vector<HWND> out;
    for (HWND h : TopWindows())
        if (WindowPid(h) == pid) out.push_back(h);
    return out;
}

HWND FindTopWindow(const wchar_t* className, const wchar_t* title, DWORD pid) {
    for (HWND h : TopWindows()) {
        if (pid != 0 && WindowPid(h) != pid) continue;
        if (className && lstrcmpiW(WindowClass(h).c_str(), className) != 0) continue;
        if (title && WindowTitle(h) != title) continue;
        return h;
    }
    return nullptr;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs, DWORD pid) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(className, title, pid)) != nullptr; }, timeoutMs);
    return found;
}

WindowState GetWindowState(HWND hwnd) {
    WindowState s;
    if (!hwnd || !IsWindow(hwnd)) return s;
    s.exists = true;
    s.visible = IsWindowVisible(hwnd) != FALSE;
    s.iconic = IsIconic(hwnd) != FALSE;
    s.zoomed = IsZoomed(hwnd) != FALSE;
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (GetWindowPlacement(hwnd, &wp)) {
        s.showCmd = wp.showCmd;
        s.normal = wp.rcNormalPosition;
    }
    GetWindowRect(hwnd, &s.rect);
    s.title = WindowTitle(hwnd);
    return s;
}

bool Responds(HWND hwnd, UINT ms) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, ms, &result) != 0;
}

// ---------------------------------------------------------------- mouse

static bool SendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        const int cx = GetSystemMetrics(SM_CXSCREEN);
        const int cy = GetSystemMetrics(SM_CYSCREEN);
        // Normalised 0..65535; rounded up so that mapping back lands on the same pixel.
        in.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(x) * 65536 + cx - 1) / cx);
        in.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(y) * 65536 + cy - 1) / cy);
    }
    return SendInput(1, &in, sizeof in) == 1;
}

static bool CursorAt(int x, int y) {
    POINT at = {};
    return GetCursorPos(&at) && at.x == x && at.y == y;
}

// Waits until the cursor rests at (x, y): on Wine, moving the pointer makes the X server echo
// motion events that can arrive late and put the cursor back where it was a moment ago, and
// a button event lands wherever the cursor is when it is read.
static bool CursorSettlesAt(int x, int y, DWORD ms) {
    return WaitUntil([&] {
        if (!CursorAt(x, y)) return false;
        Sleep(25);
        return CursorAt(x, y);
    }, ms);
}

bool MouseMove(int x, int y) {
    if (!SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y)) return false;
    if (CursorSettlesAt(x, y, 400)) return true;
    // Rounding of the normalised move, or a late echo: put it there exactly.
    SetCursorPos(x, y);
    return CursorSettlesAt(x, y, 1000);
}

bool MouseClick(int x, int y) {
    if (!MouseMove(x, y)) return false;
    // Each button event carries its position too, so it cannot land where a late motion
    // event has just put the cursor.
    const bool down = SendMouse(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    Sleep(40);
    const bool up = SendMouse(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    return down && up;
}

bool MouseDownUp(int x, int y, int upX, int upY) {
    if (!MouseMove(x, y)) return false;
    if (!SendMouse(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y)) return false;
    Sleep(40);
    constexpr int kSteps = 8;
    bool ok = true;
    for (int i = 1; i <= kSteps && ok; ++i) {
        const int px = x + (upX - x) * i / kSteps;
        const int py = y + (upY - y) * i / kSteps;
        ok = SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, px, py);
        Sleep(15);
    }
    // The release belongs exactly at the end point.
    if (ok && !CursorSettlesAt(upX, upY, 400)) {
        SetCursorPos(upX, upY);
        ok = CursorSettlesAt(upX, upY, 1000);
    }
    const bool up = SendMouse(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, upX, upY);
    return ok && up;
}

HWND FindControl(HWND parent, int ctrlId) {
    if (!parent) return nullptr;
    if (HWND direct = GetDlgItem(parent, ctrlId)) return direct;
    struct Search {
        int id;
        HWND found;
    } search = {ctrlId, nullptr};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) noexcept -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (GetDlgCtrlID(h) == s->id) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Settle(HWND hwnd, DWORD ms) {
    // Input queued for the window's thread is read after the messages sent to it, so go
    // round twice; callers that need an effect still wait for the effect itself.
    for (int round = 0; round < 2; ++round) {
        Sleep(30);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, ms, &result);
    }
    PumpFor(10);
}

static bool Uncovered(HWND ctrl, POINT pt) {
    HWND hit = WindowFromPoint(pt);
    return hit == ctrl || (hit && IsChild(ctrl, hit));
}

bool ClickControl(HWND parent, int ctrlId) {
    HWND ctrl = FindControl(parent, ctrlId);
    if (!ctrl || !IsWindowVisible(ctrl) || !IsWindowEnabled(ctrl)) return false;
    RECT rc = {};
    if (!GetWindowRect(ctrl, &rc) || rc.right <= rc.left || rc.bottom <= rc.top) return false;
    const POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    if (!Uncovered(ctrl, pt)) {
        // Another window lies on top: bring the control's window forward, as a user would.
        HWND top = GetAncestor(ctrl, GA_ROOT);
        SetForegroundWindow(top);
        BringWindowToTop(top);
        Settle(top, 500);
        if (!Uncovered(ctrl, pt)) return false;
    }
    if (!MouseClick(pt.x, pt.y)) return false;
    Settle(ctrl);
    return true;
}

// ---------------------------------------------------------------- message boxes

std::wstring MessageBoxText(HWND dlg) {
    if (HWND text = GetDlgItem(dlg, 0xFFFF)) return WindowTitle(text);
    // Not a standard message box: the first static that is not an icon and has text.
    std::wstring found;
    EnumChildWindows(
        dlg,
        [](HWND h, LPARAM lp) noexcept -> BOOL {
            if (lstrcmpiW(WindowClass(h).c_str(), L"Static") != 0) return TRUE;
            if ((GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return TRUE;
            std::wstring t = WindowTitle(h);
            if (t.empty()) return TRUE;
            *reinterpret_cast<std::wstring*>(lp) = std::move(t);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindMessageBox(const wchar_t* title, const wchar_t* text, DWORD pid) {
    for (HWND h : TopWindows()) {
        if (pid != 0 && WindowPid(h) != pid) continue;
        if (WindowClass(h) != L"#32770" || !IsWindowVisible(h)) continue;
        if (title && WindowTitle(h) != title) continue;
        if (text && MessageBoxText(h) != text) continue;
        return h;
    }
    return nullptr;
}

bool AnswerMessageBox(const wchar_t* title, const wchar_t* text, int buttonId, int timeoutMs) {
    HWND dlg = nullptr;
    if (!WaitUntil([&] { return (dlg = FindMessageBox(title, text)) != nullptr; },
                   static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 0)))
        return false;
    HWND button = GetDlgItem(dlg, buttonId);
    if (!button) return false;
    auto closed = [&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); };
    if (ClickControl(dlg, buttonId) && WaitUntil(closed, 1500)) return true;
    if (closed()) return true;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, 2000, &result);
    if (WaitUntil(closed, 1500)) return true;
    // BM_CLICK does nothing while the box is not active; the command itself always works.
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return WaitUntil(closed, 1500);
}

// ---------------------------------------------------------------- test windows

HWND TestWindows::Get(std::wstring_view title) const {
    for (const auto& item : items_)
        if (item.title == title) return item.hwnd;
    return nullptr;
}

std::vector<HWND> TestWindows::All() const {
    std::vector<HWND> out;
    for (const auto& item : items_) out.push_back(item.hwnd);
    return out;
}

bool TestWindows::Hang(HWND hwnd, DWORD ms) const {
    static const UINT message = RegisterWindowMessageW(L"OrvTestHang");
    return message != 0 && PostMessageW(hwnd, message, ms, 0) != FALSE;
}

static std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
    CloseHandle(f);
    return data;
}

TestWindows OpenTestWindows(const std::vector<std::wstring>& requests, DWORD timeoutMs) {
    static std::atomic<unsigned> serial{0};
    const std::wstring outPath = TempDir() + L"\\orv-testwins-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++serial) + L".txt";
    std::vector<std::wstring> args;
    args.push_back(L"--out=" + outPath);
    args.insert(args.end(), requests.begin(), requests.end());

    LaunchOptions options;
    options.suspended = true;  // the event exists before the program can signal it
    Process process = Launch(BuildPath(L"tools/testwins.exe"), args, options);
    if (!process) return {};
    const std::wstring eventName = L"Local\\OrvTestWinsReady-" + std::to_wstring(process.Pid());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    if (!ready || !process.Resume()) {
        if (ready) CloseHandle(ready);
        return {};
    }
    HANDLE waits[2] = {ready, process.Handle()};
    const DWORD which = WaitForMultipleObjects(2, waits, FALSE, timeoutMs);
    CloseHandle(ready);
    if (which != WAIT_OBJECT_0) return {};  // ended early or too slow; ~Process kills it

    std::vector<TestWindows::Item> items;
    const auto text = ReadWholeFile(outPath);
    DeleteFileW(outPath.c_str());
    if (!text) return {};
    size_t pos = 0;
    while (pos < text->size()) {
        size_t end = text->find('\n', pos);
        if (end == std::string::npos) end = text->size();
        const std::string line = text->substr(pos, end - pos);
        pos = end + 1;
        const size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const long long value = std::strtoll(line.substr(0, space).c_str(), nullptr, 10);
        items.push_back({reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)), Widen(line.substr(space + 1))});
    }
    if (items.empty()) return {};
    return TestWindows(std::move(process), std::move(items));
}

// ---------------------------------------------------------------- registry

bool DeleteTree(HKEY root, const std::wstring& subkey) {
    if (subkey.empty()) return false;  // never the whole root
    const LSTATUS rc = RegDeleteTreeW(root, subkey.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return false;
    // RegDeleteTree empties the key; remove the key itself too.
    const LSTATUS rc2 = RegDeleteKeyW(root, subkey.c_str());
    return rc2 == ERROR_SUCCESS || rc2 == ERROR_FILE_NOT_FOUND;
}

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD bytes = 0;
    if (RegGetValueW(root, subkey.c_str(), name.c_str(), flags, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(root, subkey.c_str(), name.c_str(), flags, nullptr, value.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

static bool SetValue(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD type, const void* data,
                     DWORD bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LSTATUS rc = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool WriteString(HKEY root, const std::wstring& subkey, const std::wstring& name, const std::wstring& value) {
    return SetValue(root, subkey, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::optional<DWORD> ReadDword(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (RegGetValueW(root, subkey.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool WriteDword(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD value) {
    return SetValue(root, subkey, name, REG_DWORD, &value, sizeof value);
}

}  // namespace orv::e2e
