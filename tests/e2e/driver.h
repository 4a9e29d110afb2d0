// Drives the real Orvanta.exe as a user would, on the Wine stand (scripts/stand.sh) or on
// Windows: processes, top-level windows, the real mouse, message boxes, test windows from
// tools/testwins.exe, and a fixture that starts from clean settings, folders and look.
#pragma once

#include <windows.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/paths.h"
#include "base/win/handles.h"
#include "common/test_files.h"

namespace orv::e2e {

namespace fs = std::filesystem;

inline constexpr wchar_t kAppTitle[] = L" Orvanta Solvane";
inline constexpr wchar_t kQuitQuestion[] = L"Do you want to quit?";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Quillon\\OrvantaZ";  // under HKEY_CURRENT_USER

// A started process, ended when this goes (or is replaced) while it still runs.
class Process {
public:
    Process() = default;
    Process(HANDLE h, DWORD pid) : h_(h), pid_(pid) {}
    Process(Process&&) = default;
    Process& operator=(Process&& o) noexcept {
        Kill();
        h_ = std::move(o.h_);
        pid_ = o.pid_;
        return *this;
    }
    ~Process() { Kill(); }
    explicit operator bool() const { return static_cast<bool>(h_); }
    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return h_.get(); }
    bool WaitExit(DWORD ms) const { return h_ && WaitForSingleObject(h_.get(), ms) == WAIT_OBJECT_0; }
    bool Running() const { return h_ && !WaitExit(0); }
    void Kill() {
        if (Running() && TerminateProcess(h_.get(), 1)) WaitExit(5000);
    }

private:
    UniqueHandle h_;
    DWORD pid_ = 0;
};

// Starts exe in its own folder; a suspended start hands out the main thread to resume.
Process Launch(const fs::path& exe, const std::wstring& args = {}, HANDLE* suspendedThread = nullptr);
fs::path BuildDir();  // the folder of Orvanta.exe (this exe lives in its tests folder)

// Polls pred every 20 ms, pumping this thread's messages, until it holds or ms have passed.
void PumpFor(DWORD ms);
template <class Pred>
bool WaitUntil(Pred pred, DWORD ms) {
    for (const ULONGLONG end = GetTickCount64() + ms;; PumpFor(20)) {
        if (pred()) return true;
        if (GetTickCount64() >= end) return false;
    }
}

std::wstring Title(HWND h);  // the caption the system keeps: never waits on a hung window
RECT Rect(HWND h);
bool Responds(HWND h, UINT ms = 500);  // the window's thread answers a WM_NULL
// Waits until the window's thread has taken what was queued for it before now.
void Settle(HWND h, DWORD ms = 1000);

// The real mouse in screen coordinates: moves to p and, once it rests there, sends buttons
// (MOUSEEVENTF_LEFTDOWN ...; 0 for the move alone).
bool MouseAt(POINT p, DWORD buttons = 0);
// Press at from, move there in steps, release at to.
bool MouseDrag(POINT from, POINT to, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);
inline POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
// The pointer leaves the bar (by its background), so that none of its buttons shows hover.
bool MouseOffBar(HWND bar);
// A few screen pixels of a button's face beside its caption.
std::vector<COLORREF> ButtonFace(HWND button);
// Clicks the child control id of parent, bringing a covered parent forward first.
bool ClickControl(HWND parent, int id);
// Waits for a message box with that caption and text and presses the button with a click
// (or its command when the click did not close it). False when none came or it stayed.
bool AnswerMessageBox(const wchar_t* title, const wchar_t* text, int button, DWORD ms);

// A click on the program's tray icon (the right button opens its menu). Wine draws the
// icons into its taskbar window, the first at the right end, and finds the icon under the
// mouse itself; the click is posted there.
bool ClickTrayIcon(bool right = false);
// Keys typed as a user would, to whatever has the keyboard (an open menu, a message box).
void TypeKeys(std::initializer_list<WORD> keys);
// The keys held down in order and let go in reverse: a combination such as Control+Alt+F6.
void Chord(std::initializer_list<WORD> keys);
// The open popup menu of any process, or null.
HWND OpenMenu();
// With ORV_SHOTS naming a folder (scripts/shots.sh): that part of the screen saved there as
// "<name>-<dpi>.bmp", for people to look at. Otherwise nothing.
void Shot(const char* name, RECT r);
inline RECT Grown(RECT r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

// testwins.exe in a process of its own (see tools/testwins.cpp for the requests).
struct TestWindows {
    Process process;
    std::vector<std::pair<HWND, std::wstring>> items;
    bool Ready() const { return static_cast<bool>(process) && !items.empty(); }
    HWND Get(std::wstring_view title) const;  // the first one with that title
};
TestWindows OpenTestWindows(const std::vector<std::wstring>& requests);
// How often the window was hidden (WM_SHOWWINDOW FALSE), as testwins counts it.
inline int Hides(HWND h) { return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(h, L"OrvHides"))); }

// The user's folders and the program's data folder, as the program stores them (UTF-8).
std::string DesktopFolder();
std::string DataFolder();                       // ...\Quillon\Orvanta
inline std::string DataPath(const std::string& name) { return DataFolder() + "\\\\" + name; }
inline std::string ReadLog() { return test::ReadFile(PathFromUtf8(DataPath("Orvanta.log"))); }
inline fs::path IconFolder(int desk) { return PathFromUtf8(DataFolder() + "\\OrvDesk" + std::to_string(desk)); }
// The desktop colour, read by a fresh process: a process caches the system colours once it
// has read them (Wine does).
COLORREF FreshSysColour();
void SetSysColour(COLORREF c);

// The first file the stand's program for .pdf files (tools/testviewer.cpp, registered by
// scripts/stand.sh) was asked to open since the last call, waiting up to waitMs for one.
std::wstring TakeViewedFile(DWORD waitMs);

// The watchdog the program started (0: none), found among its child processes.
DWORD WatchdogOf(DWORD programPid, DWORD ms = 5000);
// The process that runs the program's video device (0: none).
DWORD MediaProcessOf(DWORD programPid, DWORD ms = 0);

// The real program from a clean state: no settings but "VideoDefault" 0 (no desktop has a
// video), no autostart entry, empty Desktop and data folders, a black desktop without a wallpaper.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the program and waits until its bar is up and answers.
    [[nodiscard]] bool Start(const fs::path& exe = BuildDir() / "Orvanta.exe");
    HWND Bar() const { return bar_; }
    Process& App() { return app_; }
    // Presses a desktop button and waits until that desktop is marked and the bar answers.
    void ClickDesk(int desk);
    // The desktop whose button looks unlike the other five (0: none, -1: no single one); the
    // pointer leaves the bar first, so that no button shows its hover look.
    int MarkedDesk() const;
    [[nodiscard]] bool Quit(int answer);  // presses the quit image and answers the question
    std::optional<std::string> Setting(const char* section, const char* key) const;
    void SetSetting(const char* section, const char* key, const std::string& value) const;
    static bool WaitVisible(HWND h, bool visible, DWORD ms = 5000);

private:
    Process app_;
    HWND bar_ = nullptr;
};

}  // namespace orv::e2e
