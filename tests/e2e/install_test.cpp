// What a user downloads (scripts/package.sh into dist/): the silent install, the program
// started from the installed folder, the silent uninstall while it runs, and the portable
// zip against the installed folder.
#include <shlobj.h>

#include <map>

#include "e2e/driver.h"
#include "base/win/utf.h"
#include "settings/win/registry_mod.h"

namespace orv::e2e {
namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvantaSolvane";
const fs::path kDist = ORV_DIST_DIR;

fs::path Known(int csidl) {
    wchar_t p[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, p);
    return p;
}
fs::path InstallDir() { return Known(CSIDL_LOCAL_APPDATA) / L"Programs" / L"Orvanta Solvane"; }
fs::path Shortcut() { return Known(CSIDL_PROGRAMS) / L"Orvanta Solvane.lnk"; }
bool KeyExists(const wchar_t* key) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}
std::string EntryValue(const char* name) { return RegGetString(HKEY_CURRENT_USER, Narrow(kUninstallKey), name); }

// File name -> size and CRC-32, of a folder's files or of the zip's entries under its top folder.
using Contents = std::map<std::string, std::pair<std::uint64_t, std::uint32_t>>;
std::uint32_t Crc32(const std::string& bytes) {
    using Fn = DWORD(WINAPI*)(DWORD, const BYTE*, INT);
    static const auto crc = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlComputeCrc32")));
    return crc(0, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<INT>(bytes.size()));
}
Contents FolderContents(const fs::path& dir) {
    Contents c;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string bytes = test::ReadFile(e.path());
        c[Narrow(e.path().filename().wstring())] = {bytes.size(), Crc32(bytes)};
    }
    return c;
}
Contents ZipContents(const fs::path& zip) {
    const std::string z = test::ReadFile(zip);
    const auto u = [&](std::size_t at, int bytes) {
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(z.at(at + i));
        return v;
    };
    const std::size_t end = z.rfind(std::string("PK\5\6", 4));  // the central directory's end record
    Contents c;
    if (end == std::string::npos) return c;
    for (std::size_t at = u(end + 16, 4), n = u(end + 10, 2); n-- > 0; at += 46 + u(at + 28, 2) + u(at + 30, 2) + u(at + 32, 2)) {
        const std::string name = z.substr(at + 46, u(at + 28, 2));
        const std::size_t slash = name.find('/');
        if (slash + 1 < name.size()) c[name.substr(slash + 1)] = {u(at + 24, 4), u(at + 16, 4)};
    }
    return c;
}

// major.minor.patch of an exe's version resource.
std::string ExeVersion(const fs::path& exe) {
    DWORD ignored = 0;
    std::string block(GetFileVersionInfoSizeW(exe.c_str(), &ignored), '\0');
    VS_FIXEDFILEINFO* f = nullptr;
    UINT len = 0;
    if (block.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&f), &len))
        return "";
    return std::to_string(HIWORD(f->dwFileVersionMS)) + "." + std::to_string(LOWORD(f->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(f->dwFileVersionLS));
}

class InstallTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RemoveInstall();
    }
    void TearDown() override {
        AppTest::TearDown();
        RemoveInstall();
    }
    static void RemoveInstall() {
        std::error_code ec;
        fs::remove_all(InstallDir(), ec);
        fs::remove(Shortcut(), ec);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
    }
    static bool Installed() {
        const fs::path setup = kDist / ("Orvanta-" ORV_VERSION "-setup.exe");
        EXPECT_TRUE(fs::exists(setup)) << "scripts/package.sh makes " << setup;
        Process p = Launch(setup, L"/S");
        DWORD code = 1;
        return p.WaitExit(60000) && GetExitCodeProcess(p.Handle(), &code) && code == 0;
    }
    // The uninstaller runs from a copy of itself in the temporary folder: it is done when
    // its entry and the program folder are gone.
    static bool Uninstalled(const std::wstring& args) {
        Process p = Launch(InstallDir() / L"Uninstall.exe", args);
        return p.WaitExit(30000) && WaitUntil([] { return !KeyExists(kUninstallKey) && !fs::exists(InstallDir()); }, 30000);
    }
};

// Faults: the installer needs a click or rights, installs other files than the zip holds
// (or stale ones), registers a wrong version, uninstaller or place; the uninstaller kills or
// leaves the running program with a window hidden, leaves a file, the shortcut, the
// autostart value or the entry behind, or takes the settings and desktop folders with it.
TEST_F(InstallTest, ASilentInstallRunsAndASilentUninstallWhileItRunsLeavesNothingOfOursAndEveryWindowShown) {
    ASSERT_TRUE(Installed());
    Contents installed = FolderContents(InstallDir());
    EXPECT_EQ(installed.erase("Uninstall.exe"), 1u);
    EXPECT_EQ(installed, ZipContents(kDist / ("Orvanta-" ORV_VERSION "-portable.zip")));
    EXPECT_TRUE(installed.count("Orvanta.exe") && installed.count("bg6.jpg") && installed.count("capture.wav"));
    const std::string exe = Narrow((InstallDir() / L"Orvanta.exe").wstring());
    const std::string uninstaller = Narrow((InstallDir() / L"Uninstall.exe").wstring());
    EXPECT_EQ(ExeVersion(InstallDir() / L"Orvanta.exe"), ORV_VERSION);
    const std::pair<const char*, std::string> entry[] = {
        {"DisplayName", "Orvanta Solvane"},   {"DisplayVersion", ORV_VERSION},
        {"Publisher", "Quillon"},             {"InstallLocation", Narrow(InstallDir().wstring())},
        {"DisplayIcon", exe + ",0"},          {"UninstallString", "\"" + uninstaller + "\""},
        {"QuietUninstallString", "\"" + uninstaller + "\" /S"},
        {"NoModify", "1"},                    {"NoRepair", "1"},
    };
    for (const auto& [name, want] : entry) EXPECT_EQ(EntryValue(name), want) << name;
    EXPECT_TRUE(fs::exists(Shortcut()));

    TestWindows tw = OpenTestWindows({L"title=Mine"});
    ASSERT_TRUE(tw.Ready() && Start(InstallDir() / L"Orvanta.exe"));
    ClickDesk(2);
    const HWND mine = tw.Get(L"Mine");
    ASSERT_TRUE(WaitVisible(mine, false));
    ASSERT_EQ(RegGetString(HKEY_CURRENT_USER, kRunKey, "Orvanta.Exe"), Narrow(InstallDir().wstring()) + "\\Orvanta.Exe");

    ASSERT_TRUE(Uninstalled(L"/S"));
    EXPECT_TRUE(App().WaitExit(5000));
    EXPECT_TRUE(IsWindowVisible(mine));
    EXPECT_NE(ReadLog().find("Ended cleanly"), std::string::npos) << ReadLog();
    EXPECT_FALSE(fs::exists(Shortcut()));
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kRunKey, "Orvanta.Exe"), "");
    EXPECT_TRUE(KeyExists(kSettingsKey));
    for (int d = 1; d <= 6; ++d) EXPECT_TRUE(fs::exists(IconFolder(d))) << d;
}

// Faults: removing the settings deletes files still in a desktop folder without a word, or
// leaves the settings, the log or an empty desktop folder behind.
TEST_F(InstallTest, RemovingTheSettingsSilentlyKeepsADesktopFolderThatStillHoldsFiles) {
    ASSERT_TRUE(Installed());
    ASSERT_TRUE(Start(InstallDir() / L"Orvanta.exe"));
    ASSERT_TRUE(Quit(IDYES) && App().WaitExit(5000));
    test::WriteFile(IconFolder(3) / "note.txt", "mine");
    ASSERT_TRUE(fs::exists(PathFromUtf8(DataPath("Orvanta.log"))));

    ASSERT_TRUE(Uninstalled(L"/S /PURGE"));
    EXPECT_EQ(test::ReadFile(IconFolder(3) / "note.txt"), "mine");
    for (int d : {1, 2, 4, 5, 6}) EXPECT_FALSE(fs::exists(IconFolder(d))) << d;
    EXPECT_FALSE(fs::exists(PathFromUtf8(DataPath("Orvanta.log"))));
    EXPECT_FALSE(KeyExists(kSettingsKey));
}

}  // namespace
}  // namespace orv::e2e
