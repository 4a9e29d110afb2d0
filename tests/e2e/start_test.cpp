// Starting against garbage settings, and a second start while the bar is hidden.
#include "app/win/bar_ids.h"
#include "base/win/utf.h"
#include "e2e/driver.h"

namespace orv::e2e {
namespace {

// Faults: a setting of the wrong type, huge, not finite or no number crashes the start or
// leaves the bar off the screen; with the bar hidden (no tray yet) the running program can
// never be reached again; a second start writes into the running one's log; the start and
// the clean end go unlogged.
TEST_F(AppTest, GarbageInEverySettingStillStartsAndASecondStartBringsTheHiddenBarBack) {
    std::vector<std::pair<std::string, std::string>> keys;  // what the program reads today
    for (const char* k : {"POSX", "POSY", "TOPMOST", "StartUp", "SharedIcons", "SnapZoom", "SnapSound", "SnapSaveOn",
                          "SnapSaveFormat", "SnapSavePath", "SnapSavePrefix", "SnapSaveCount", "SnapSaveLastFile",
                          "SnapPreview", "SnapJpgQuality"})
        keys.emplace_back("CONFIG", k);
    for (int n = 1; n <= 6; ++n)
        for (const char* k : {"1", "WALLPAPER", "WALLSTYLE"}) keys.emplace_back("DESK" + std::to_string(n), k);
    // Mixed types; the wallpaper of desktop 2, visited below, is the huge text.
    const std::pair<DWORD, std::wstring> garbage[] = {{REG_SZ, L"1e12"}, {REG_SZ, L"-1e12"}, {REG_SZ, L"1e400"},
        {REG_DWORD, L"\xffff\xffff"}, {REG_SZ, L"NaN"}, {REG_SZ, std::wstring(70000, L'\x263a')}, {REG_BINARY, L"\x0102"},
        {REG_SZ, L"inf"}, {REG_SZ, L"-0"}, {REG_MULTI_SZ, std::wstring(L"a\0b\0", 5)}, {REG_SZ, L"99999999999999999999"},
        {REG_SZ, L""}, {REG_EXPAND_SZ, L"%NOPE%\\x"}, {REG_QWORD, L"\x1\x2\x3\x4"}};
    for (size_t i = 0; i < keys.size(); ++i) {
        const auto& [type, data] = garbage[i % std::size(garbage)];
        RegSetKeyValueW(HKEY_CURRENT_USER, Widen("Software\\Quillon\\OrvantaZ\\" + keys[i].first).c_str(),
                        Widen(keys[i].second).c_str(), type, data.data(), static_cast<DWORD>(data.size() * 2));
    }
    ASSERT_TRUE(Start());
    const RECT r = Rect(Bar());
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) && r.bottom <= GetSystemMetrics(SM_CYSCREEN));
    ClickDesk(2);
    ClickDesk(1);

    ASSERT_TRUE(ClickControl(Bar(), kIdImgButton5));  // hide
    ASSERT_TRUE(WaitVisible(Bar(), false));
    Process second = Launch(BuildDir() / "Orvanta.exe");
    EXPECT_TRUE(AnswerMessageBox(L"Advice", L"Only one instance of this program can run.", IDOK, 15000));
    EXPECT_TRUE(second.WaitExit(10000));
    EXPECT_TRUE(WaitVisible(Bar(), true));
    ASSERT_TRUE(Quit(IDYES));
    ASSERT_TRUE(App().WaitExit(10000));
    const std::string log = test::ReadFile(PathFromUtf8(DataFolder()) / "Orvanta.log");
    EXPECT_TRUE(log.find("started: ") < log.find("Ended cleanly") && log.find("Ended cleanly") != std::string::npos) << log;
    EXPECT_EQ(log.find("[" + std::to_string(second.Pid()) + "]"), std::string::npos) << "the second start wrote";
}

}  // namespace
}  // namespace orv::e2e
