// The video settings dialog of the real exe, opened from the bar's video button and from the
// tray menu's "Video Settings".
#include "e2e/driver.h"

#include "app/win/bar_ids.h"
#include "video/win/frm_video_options.h"

namespace orv::e2e {
namespace {

std::wstring EditText(HWND w) { wchar_t t[300] = {}; return SendMessageW(w, WM_GETTEXT, 300, LPARAM(t)), t; }  // another process's
bool Checked(HWND w) { return SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED; }
HWND Row(HWND dlg, int desk, int id) { return GetDlgItem(GetDlgItem(dlg, kVidRow0 + desk - 1), id); }
HWND WaitDialog() {
    HWND dlg = nullptr;
    WaitUntil([&] { return (dlg = FindWindowW(kVideoOptionsClass, nullptr)) && IsWindowVisible(dlg); }, 5000);
    return dlg;
}

// Faults: the first run's records not loaded (or not with the program's folder), the dialog
// not opening from the bar or the tray, the bar left hidden after it, the OK's change not kept
// in memory or not saved at exit, desktop 1 given a record.
TEST_F(AppTest, VideoSettingsFromTheBarAndTheTrayKeepTheirChangeAndSaveItAtExit) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, (std::wstring(kSettingsKey) + L"\\CONFIG").c_str(), L"VideoDefault");  // a first run
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ClickControl(Bar(), kIdVideo));
    HWND dlg = nullptr;
    ASSERT_TRUE(dlg = WaitDialog());
    Settle(dlg), Shot("video", Rect(dlg));
    EXPECT_FALSE(IsWindowVisible(Bar()));
    EXPECT_EQ(EditText(Row(dlg, 2, kVoFile)), (BuildDir() / "Love.wmv").wstring());
    EXPECT_EQ(std::tuple(Checked(Row(dlg, 1, kVoOn)), Checked(Row(dlg, 3, kVoOn)), Checked(Row(dlg, 5, kVoOn))),
              std::tuple(false, true, false));
    ASSERT_TRUE(ClickControl(GetDlgItem(dlg, kVidRow0 + 4), kVoOn) && ClickControl(dlg, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg) && IsWindowVisible(Bar()); }, 5000));

    // "Video Settings", the tray menu's fourth item: the change is there; the close image.
    ASSERT_TRUE(ClickTrayIcon(true) && WaitUntil([] { return OpenMenu() != nullptr; }, 5000));
    TypeKeys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(dlg = WaitDialog());
    EXPECT_TRUE(Checked(Row(dlg, 5, kVoOn)));
    ASSERT_TRUE(ClickControl(dlg, kVidClose));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg) && IsWindowVisible(Bar()) && IsWindowEnabled(Bar()); }, 5000));
    Settle(Bar());

    ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
    EXPECT_EQ(std::tuple(Setting("CONFIG", "Video5On"), Setting("CONFIG", "VideoDefault"), Setting("CONFIG", "Video1On")),
              std::tuple(std::optional<std::string>("1"), std::optional<std::string>("0"), std::optional<std::string>("0")));
}

}  // namespace
}  // namespace orv::e2e
