// The real Orvanta.exe in a clean state: no settings, empty Desktop and data folders, a known
// desktop look. Helpers press the bar's controls as a user would.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "common/test_files.h"
#include "e2e/driver.h"

namespace orv::e2e {

inline constexpr wchar_t kAppTitle[] = L" Orvanta Solvane";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Quillon\\OrvantaZ";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

std::filesystem::path DesktopFolder();
std::filesystem::path DataFolder();  // ...\Quillon\Orvanta
std::filesystem::path IconFolder(int desk);
std::filesystem::path ProgramFolder();
std::wstring DataPath(const std::wstring& name);  // as the program stores it ("...Orvanta\\\\name")

using test::ReadFile;
using test::WriteFile;
std::filesystem::path U8(const char* utf8);

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program and waits for its bar. False when it did not come up.
    [[nodiscard]] bool Start();
    HWND Bar() const { return bar_; }
    Process& App() { return app_; }
    // Presses a desktop button and waits until the switch is done.
    void ClickDesk(int desk, DWORD timeoutMs = 15000);
    // The desktop whose button is marked.
    int MarkedDesk() const;
    // Presses the quit image and answers the question with IDYES or IDNO.
    [[nodiscard]] bool Quit(int answer);
    std::optional<std::wstring> Setting(const wchar_t* section, const wchar_t* key) const;
    void SetSetting(const wchar_t* section, const wchar_t* key, const std::wstring& value) const;
    bool WaitVisible(HWND h, bool visible, DWORD ms = 5000) const;

private:
    Process app_;
    HWND bar_ = nullptr;
};

void EndStrayInstances();
// The system colour of the desktop background. A process caches the system colours once it
// has read them (Wine does), so the value is read by a new process: this exe started with
// --syscolour, which returns it as its exit code.
COLORREF FreshSysColour();
void SetSysColour(COLORREF c);
void ResetDesktopLook();

}  // namespace orv::e2e
