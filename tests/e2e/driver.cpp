#include "e2e/driver.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <sstream>

#include "app/desktop_look.h"
#include "app/win/app_paths.h"
#include "app/win/bar_ids.h"
#include "base/bmp.h"
#include "base/win/utf.h"
#include "common/screen_input.h"
#include "settings/win/registry_mod.h"
#include "settings/win/registry_store.h"
#include "video/win/media_process.h"

namespace orv::e2e {

using test::SendMouse;

Process Launch(const fs::path& exe, const std::wstring& args, HANDLE* suspendedThread) {
    std::wstring line = L"\"" + exe.wstring() + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;  // no STARTF_USESHOWWINDOW: the program's own show commands count
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, suspendedThread ? CREATE_SUSPENDED : 0,
                        nullptr, exe.parent_path().c_str(), &si, &pi))
        return {};
    if (suspendedThread) *suspendedThread = pi.hThread;
    else CloseHandle(pi.hThread);
    return Process(pi.hProcess, pi.dwProcessId);
}

fs::path BuildDir() { return PathFromUtf8(ExePath()).parent_path().parent_path(); }

void PumpFor(DWORD ms) {
    for (const ULONGLONG end = GetTickCount64() + ms;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

std::wstring Title(HWND h) {
    wchar_t buf[512] = {};
    return std::wstring(buf, static_cast<size_t>(std::max(0, GetWindowTextW(h, buf, 512))));
}

RECT Rect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

bool Responds(HWND h, UINT ms) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &result) != 0;
}

void Settle(HWND h, DWORD ms) {
    // Input for the window's thread is read after the messages sent to it: go round twice.
    for (int round = 0; round < 2; ++round) {
        Sleep(30);
        Responds(h, ms);
    }
    PumpFor(10);
}

namespace {

// On Wine the X server echoes pointer moves, late ones may put the cursor back for a moment,
// and a button event lands wherever the cursor is then: wait until it rests at p.
bool CursorRestsAt(POINT p) {
    auto at = [&] {
        POINT c{};
        return GetCursorPos(&c) && c.x == p.x && c.y == p.y;
    };
    auto rests = [&] { return at() && (Sleep(25), at()); };
    if (WaitUntil(rests, 400)) return true;
    SetCursorPos(p.x, p.y);
    return WaitUntil(rests, 1000);
}

}  // namespace

bool MouseAt(POINT p, DWORD buttons) { return SendMouse(0, p) && CursorRestsAt(p) && (!buttons || SendMouse(buttons, p)); }

bool MouseOffBar(HWND bar) {
    // Over the bar's own background first: the button under the pointer learns from that
    // move that it was left, which a jump straight out of the bar may not tell it under Wine.
    const RECT r = Rect(bar);
    return MouseAt({r.left + 2, r.top + 2}) && MouseAt({r.right + 60, r.bottom + 60});
}

std::vector<COLORREF> ButtonFace(HWND button) {
    UniqueWindowDc screen = GetWindowDc(nullptr);
    return test::FacePixels(screen.get().dc, Rect(button));
}

bool MouseDrag(POINT from, POINT to, DWORD down, DWORD up) {
    if (!SendMouse(0, from) || !CursorRestsAt(from) || !SendMouse(down, from)) return false;
    Sleep(40);
    const bool moves = from.x != to.x || from.y != to.y;
    for (int i = 1; moves && i <= 8; ++i) {
        SendMouse(0, {from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8});
        Sleep(15);
    }
    return (!moves || CursorRestsAt(to)) && SendMouse(up, to);
}

bool ClickControl(HWND parent, int id) {
    HWND ctrl = GetDlgItem(parent, id);
    if (!ctrl || !IsWindowVisible(ctrl) || !IsWindowEnabled(ctrl)) return false;
    const POINT pt = Centre(Rect(ctrl));
    auto uncovered = [&] {
        HWND hit = WindowFromPoint(pt);
        return hit == ctrl || IsChild(ctrl, hit);
    };
    if (!uncovered()) {  // another window lies on top: bring this one forward, as a user would
        SetForegroundWindow(parent);
        BringWindowToTop(parent);
        Settle(parent, 500);
        if (!uncovered()) return false;
    }
    if (!MouseDrag(pt, pt)) return false;
    Settle(ctrl);
    return true;
}

bool AnswerMessageBox(const wchar_t* title, const wchar_t* text, int button, DWORD ms) {
    HWND box = nullptr;
    auto find = [&] {
        for (HWND h = FindWindowExW(nullptr, nullptr, L"#32770", title); h; h = FindWindowExW(nullptr, h, L"#32770", title))
            if (IsWindowVisible(h) && Title(GetDlgItem(h, 0xFFFF)) == text) return (box = h) != nullptr;
        return false;
    };
    if (!WaitUntil(find, ms) || !GetDlgItem(box, button)) return false;
    auto closed = [&] { return !IsWindowVisible(box); };
    if (ClickControl(box, button) && WaitUntil(closed, 1500)) return true;
    // A box that is not active ignores a click; the command itself always works.
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    return WaitUntil(closed, 1500);
}

bool ClickTrayIcon(bool right) {
    // Wine shows its taskbar once it holds an icon: then the program's icon is there.
    HWND tray = nullptr;
    RECT r{};
    if (!WaitUntil([&] { return (tray = FindWindowW(L"Shell_TrayWnd", nullptr)) && IsWindowVisible(tray); }, 5000) ||
        !GetClientRect(tray, &r))
        return false;
    const LPARAM at = MAKELPARAM(r.right - 10, 10);
    return right ? PostMessageW(tray, WM_RBUTTONDOWN, MK_RBUTTON, at) && PostMessageW(tray, WM_RBUTTONUP, 0, at)
                 : PostMessageW(tray, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(tray, WM_LBUTTONUP, 0, at);
}

void TypeKeys(std::initializer_list<WORD> keys) {
    for (const WORD vk : keys) {
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = vk;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        PumpFor(60);
    }
}

void Chord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> in(keys.size() * 2, INPUT{INPUT_KEYBOARD, {}});
    for (size_t i = 0; i < keys.size(); ++i) {
        in[i].ki.wVk = in[in.size() - 1 - i].ki.wVk = keys.begin()[i];
        in[in.size() - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    PumpFor(200);
}

HWND OpenMenu() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

void Shot(const char* name, RECT r) {
    const RECT screenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&r, &r, &screenRect);  // Wine copies nothing when the rectangle leaves the screen
    const wchar_t* folder = _wgetenv(L"ORV_SHOTS");
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!folder || w <= 0 || h <= 0) return;
    PumpFor(1500);  // what was just opened has been painted
    UniqueWindowDc screen = GetWindowDc(nullptr);
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(screen.get().dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDc mem(CreateCompatibleDC(screen.get().dc));
    if (!dib || !mem) return;
    {
        SelectGuard keep(mem.get(), dib.get());
        BitBlt(mem.get(), 0, 0, w, h, screen.get().dc, r.left, r.top, SRCCOPY);
    }
    const auto file = EncodeBmp24(w, h, static_cast<const std::uint8_t*>(bits), Bmp24Stride(w));
    const int dpi = GetDeviceCaps(screen.get().dc, LOGPIXELSY);
    test::WriteFile(fs::path(folder) / (std::string(name) + "-" + std::to_string(dpi) + ".bmp"),
                    std::string(file.begin(), file.end()));
}

HWND TestWindows::Get(std::wstring_view title) const {
    for (const auto& [h, t] : items)
        if (t == title) return h;
    return nullptr;
}

TestWindows OpenTestWindows(const std::vector<std::wstring>& requests) {
    const fs::path out = fs::temp_directory_path() / test::UniqueName("testwins");
    std::wstring args = L"\"--out=" + out.wstring() + L"\"";
    for (const auto& r : requests) args += L" \"" + r + L"\"";
    // Started suspended: the ready event exists before the program can signal it.
    HANDLE thread = nullptr;
    TestWindows tw{Launch(BuildDir() / "tools" / "testwins.exe", args, &thread), {}};
    if (!tw.process) return {};
    UniqueHandle mainThread(thread);
    UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, (L"Local\\OrvTestWinsReady-" + std::to_wstring(tw.process.Pid())).c_str()));
    HANDLE waits[2] = {ready.get(), tw.process.Handle()};
    if (!ready || ResumeThread(mainThread.get()) == static_cast<DWORD>(-1) ||
        WaitForMultipleObjects(2, waits, FALSE, 20000) != WAIT_OBJECT_0)
        return {};
    std::istringstream lines(test::ReadFile(out));
    fs::remove(out);
    long long h = 0;
    for (std::string title; lines >> h && lines.get() && std::getline(lines, title);)
        tw.items.emplace_back(reinterpret_cast<HWND>(static_cast<INT_PTR>(h)), Widen(title));
    return tw;
}

std::string DesktopFolder() { return GetSpecialFolder(CSIDL_DESKTOPDIRECTORY); }
std::string DataFolder() { return GetSpecialFolder(CSIDL_APPDATA) + "\\Quillon\\Orvanta"; }

COLORREF FreshSysColour() {
    Process p = Launch(PathFromUtf8(ExePath()), L"--syscolour");
    DWORD code = 0xFFFFFFFF;
    return p.WaitExit(10000) && GetExitCodeProcess(p.Handle(), &code) ? code : 0xFFFFFFFF;
}

void SetSysColour(COLORREF c) {
    const int element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &c);
}

namespace {

// Every running Orvanta.exe (the program and its watchdog): its process id and its parent's.
std::vector<std::pair<DWORD, DWORD>> ProgramProcesses() {
    std::vector<std::pair<DWORD, DWORD>> found;
    UniqueFile snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = snap && Process32FirstW(snap.get(), &e); ok; ok = Process32NextW(snap.get(), &e))
        if (_wcsicmp(e.szExeFile, L"Orvanta.exe") == 0) found.emplace_back(e.th32ProcessID, e.th32ParentProcessID);
    return found;
}

void EndStrayInstances() {
    while (HWND bar = FindWindowW(kBarClass, nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(bar, &pid);
        Process stray(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid), pid);
        if (!stray) break;
    }  // ~Process ends it
    // A watchdog recovers what its program left and ends; one still there after that is ended.
    if (!WaitUntil([] { return ProgramProcesses().empty(); }, 10000))
        for (const auto& [pid, parent] : ProgramProcesses())
            Process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid), pid).Kill();
}

void ResetDesktopLook() {
    SetSysColour(0);
    wchar_t none[] = L"";
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none, SPIF_UPDATEINIFILE);
    RegSetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", "2");
    RegSetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "0");
}

}  // namespace

namespace {
// The media process owns the program's one window of that class.
bool IsMediaProcess(DWORD pid) {
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, kMediaProcessClass, nullptr));) {
        DWORD owner = 0;
        if (GetWindowThreadProcessId(w, &owner) && owner == pid) return true;
    }
    return false;
}

DWORD ChildOf(DWORD programPid, bool media, DWORD ms) {
    DWORD found = 0;
    WaitUntil([&] {
        for (const auto& [pid, parent] : ProgramProcesses())
            if (parent == programPid && IsMediaProcess(pid) == media) found = pid;
        return found != 0;
    }, ms);
    return found;
}
}  // namespace

DWORD WatchdogOf(DWORD programPid, DWORD ms) { return ChildOf(programPid, false, ms); }
DWORD MediaProcessOf(DWORD programPid, DWORD ms) { return ChildOf(programPid, true, ms); }

void AppTest::SetUp() {
    // The stand: the stand-in for the shell's desktop window, and room for the test windows.
    ASSERT_NE(FindWindowW(L"Progman", L"Program Manager"), nullptr) << "no desktop window: run on scripts/stand.sh";
    ASSERT_GE(GetSystemMetrics(SM_CXSCREEN), 800);
    EndStrayInstances();
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, Widen(kRunKey).c_str(), L"Orvanta.Exe");
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(PathFromUtf8(DesktopFolder()), ec)) fs::remove_all(e.path(), ec);
    fs::remove_all(PathFromUtf8(DataFolder()), ec);
    ResetDesktopLook();
    // No desktop plays a video unless a test asks for one: the first run's video desktops
    // would replace the looks the other tests look at.
    SetSetting("CONFIG", "VideoDefault", "0");
}

void AppTest::TearDown() {
    app_.Kill();
    EndStrayInstances();
    ResetDesktopLook();
}

bool AppTest::Start(const fs::path& exe) {
    app_ = Launch(exe);
    auto ours = [&] {  // strays were ended in SetUp; a killed run's bar went with it
        DWORD pid = 0;
        return (bar_ = FindWindowW(kBarClass, kAppTitle)) && GetWindowThreadProcessId(bar_, &pid) && pid == app_.Pid();
    };
    // Start-up is done when the bar answers and its buttons exist.
    return app_ && WaitUntil(ours, 15000) && WaitUntil([&] { return Responds(bar_, 1000) && GetDlgItem(bar_, kIdDesk0 + 5); }, 10000);
}

void AppTest::ClickDesk(int desk) {
    ASSERT_TRUE(ClickControl(bar_, kIdDesk0 + desk - 1)) << "desk button " << desk;
    // The switch runs inside the click: once the bar answers and marks the desk, it is done.
    ASSERT_TRUE(WaitUntil([&] { return MarkedDesk() == desk && Responds(bar_, 1000); }, 15000)) << "desk " << desk;
}

int AppTest::MarkedDesk() const {
    const RECT bar = Rect(bar_);
    POINT at{};
    if (GetCursorPos(&at) && PtInRect(&bar, at) && !MouseOffBar(bar_)) return -1;
    auto marked = [&] {
        std::vector<std::vector<COLORREF>> faces;
        for (int i = 0; i < 6; ++i) faces.push_back(ButtonFace(GetDlgItem(bar_, kIdDesk0 + i)));
        int unique = 0;
        for (int i = 0; i < 6; ++i) {
            const auto alike = std::count(faces.begin(), faces.end(), faces[i]);
            if (alike == 1) unique = unique ? -1 : i + 1;
            else if (alike != 5 && alike != 6) return -1;
        }
        return unique;
    };
    int found = -1;
    WaitUntil([&] { return (found = marked()) > 0; }, 2000);  // a bar just shown may not be painted yet
    return found;
}

bool AppTest::Quit(int answer) {
    return ClickControl(bar_, kIdImgButton4) && AnswerMessageBox(kAppTitle, kQuitQuestion, answer, 10000);
}

std::optional<std::string> AppTest::Setting(const char* section, const char* key) const {
    return RegistryStore(kSettingsRoot, "OrvantaZ").Get(section, key);
}

void AppTest::SetSetting(const char* section, const char* key, const std::string& value) const {
    RegistryStore(kSettingsRoot, "OrvantaZ").Set(section, key, value);
}

std::wstring TakeViewedFile(DWORD waitMs) {
    const fs::path record = fs::temp_directory_path() / "OrvViewed.txt";  // as testviewer writes it
    std::string text;
    WaitUntil([&] { return (text = test::ReadFile(record)).ends_with('\n'); }, waitMs);  // whole lines only
    std::error_code ec;
    fs::remove(record, ec);
    return PathFromUtf8(text.substr(0, text.find('\n'))).wstring();
}

bool AppTest::WaitVisible(HWND h, bool visible, DWORD ms) {
    return WaitUntil([&] { return (IsWindowVisible(h) != FALSE) == visible; }, ms);
}

}  // namespace orv::e2e

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--syscolour") return static_cast<int>(GetSysColor(COLOR_BACKGROUND));
    // Screen pixels and window rectangles as they are at any DPI: a DPI-unaware process
    // would see both scaled, and not always alike.
    SetProcessDPIAware();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
