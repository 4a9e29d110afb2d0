#include "e2e/app_fixture.h"

#include <shlobj.h>

#include <fstream>

#include "app/win/bar_ids.h"

namespace orv::e2e {

namespace fs = std::filesystem;

namespace {
fs::path Special(int csidl) {
    wchar_t buf[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    return fs::path(buf);
}

void EmptyFolder(const fs::path& p) {
    std::error_code ec;
    for (fs::directory_iterator it(p, ec), end; !ec && it != end; it.increment(ec)) fs::remove_all(it->path(), ec);
}
}  // namespace

fs::path DesktopFolder() { return Special(CSIDL_DESKTOPDIRECTORY); }
fs::path DataFolder() { return Special(CSIDL_APPDATA) / L"Quillon" / L"Orvanta"; }
fs::path IconFolder(int desk) { return DataFolder() / (L"OrvDesk" + std::to_wstring(desk)); }
fs::path ProgramFolder() { return fs::path(BuildPath(L"Orvanta.exe")).parent_path(); }
std::wstring DataPath(const std::wstring& name) {
    return Special(CSIDL_APPDATA).wstring() + L"\\Quillon\\Orvanta\\\\" + name;
}
fs::path U8(const char* utf8) { return fs::path(Widen(utf8)); }

void EndStrayInstances() {
    while (HWND bar = FindTopWindow(kBarClass, nullptr)) {
        HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, WindowPid(bar));
        if (!h) break;
        TerminateProcess(h, 1);
        WaitForSingleObject(h, 5000);
        CloseHandle(h);
    }
}

COLORREF FreshSysColour() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    Process p = Launch(self, {L"--syscolour"});
    if (!p.WaitExit(10000)) return 0xFFFFFFFF;
    return static_cast<COLORREF>(p.ExitCode().value_or(0xFFFFFFFF));
}

void SetSysColour(COLORREF c) {
    const int element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &c);
}

void ResetDesktopLook() {
    SetSysColour(0);
    wchar_t empty[] = L"";
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, empty, SPIF_UPDATEINIFILE);
    WriteString(HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle", L"2");
    WriteString(HKEY_CURRENT_USER, kDesktopKey, L"TileWallpaper", L"0");
}

void AppTest::SetUp() {
    EndStrayInstances();
    DeleteTree(HKEY_CURRENT_USER, kSettingsKey);
    HKEY run = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
        RegDeleteValueW(run, L"Orvanta.Exe");
        RegCloseKey(run);
    }
    EmptyFolder(DesktopFolder());
    std::error_code ec;
    fs::remove_all(DataFolder(), ec);
    ResetDesktopLook();
}

void AppTest::TearDown() {
    if (app_.Running()) app_.Kill();
    EndStrayInstances();
    ResetDesktopLook();
}

bool AppTest::Start() {
    app_ = Launch(BuildPath(L"Orvanta.exe"));
    if (!app_) return false;
    bar_ = WaitForWindow(kBarClass, kAppTitle, 15000, app_.Pid());
    if (!bar_) return false;
    // Start-up is done when the bar answers and its buttons exist.
    return WaitUntil([&] { return Responds(bar_, 1000) && FindControl(bar_, kIdDesk0 + 5) != nullptr; }, 10000);
}

void AppTest::ClickDesk(int desk, DWORD timeoutMs) {
    ASSERT_TRUE(ClickControl(bar_, kIdDesk0 + desk - 1)) << "desk button " << desk;
    // The switch runs inside the click: once the bar answers and marks the desk, it is done.
    ASSERT_TRUE(WaitUntil([&] { return MarkedDesk() == desk && Responds(bar_, 1000); }, timeoutMs)) << "desk " << desk;
}

int AppTest::MarkedDesk() const {
    int marked = 0;
    for (int i = 0; i < 6; ++i) {
        DWORD_PTR state = 0;
        if (SendMessageTimeoutW(FindControl(bar_, kIdDesk0 + i), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 1000, &state) &&
            state == BST_CHECKED)
            marked = marked ? -1 : i + 1;
    }
    return marked;
}

bool AppTest::Quit(int answer) {
    if (!ClickControl(bar_, kIdImgButton4)) return false;
    return AnswerMessageBox(kAppTitle, L"Do you want to quit?", answer, 10000);
}

std::optional<std::wstring> AppTest::Setting(const wchar_t* section, const wchar_t* key) const {
    return ReadString(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\" + section, key);
}

void AppTest::SetSetting(const wchar_t* section, const wchar_t* key, const std::wstring& value) const {
    WriteString(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\" + section, key, value);
}

bool AppTest::WaitVisible(HWND h, bool visible, DWORD ms) const {
    return WaitUntil([&] { return (IsWindowVisible(h) != FALSE) == visible; }, ms);
}

}  // namespace orv::e2e

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--syscolour")
        return static_cast<int>(GetSysColor(COLOR_BACKGROUND));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
