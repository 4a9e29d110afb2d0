// The settings dialog opened from the bar: a desktop hotkey changed there works at once and
// after a restart.
#include "e2e/driver.h"

#include "app/win/bar_ids.h"
#include "hotkeys/win/hotkey_setup.h"
#include "settings/win/frm_adv_options.h"

namespace orv::e2e {
namespace {

// Faults: the dialog not opening from the bar, "&Help" not opening the manual beside the
// program through the shell, a changed row not reaching its hotkey control
// (the old combination still switching, the new one not), the change lost at exit or not
// read back at start.
TEST_F(AppTest, ADesktopHotkeyChangedInTheSettingsSwitchesAtOnceAndAfterARestart) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ClickControl(Bar(), kIdSetting));
    HWND dlg = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dlg = FindWindowW(kAdvOptionsClass, nullptr)) && IsWindowVisible(dlg); }, 5000));
    Settle(dlg), Shot("settings", Rect(dlg));
    TakeViewedFile(0);
    ASSERT_TRUE(ClickControl(dlg, kAdvHelp));
    EXPECT_EQ(fs::path(TakeViewedFile(5000)), BuildDir() / L"Orvanta.pdf");
    const HWND row = GetDlgItem(dlg, kAdvDesk0 + 1);  // desktop 2: Control+F6
    ASSERT_TRUE(ClickControl(row, kSetupAlt) && ClickControl(dlg, kAdvOk));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 5000));
    for (const bool restarted : {false, true}) {
        Chord({VK_CONTROL, VK_F6}), Settle(Bar());
        EXPECT_EQ(MarkedDesk(), 1) << "the old combination switched, restarted " << restarted;
        Chord({VK_CONTROL, VK_MENU, VK_F6}), Settle(Bar());
        EXPECT_EQ(MarkedDesk(), 2) << "restarted " << restarted;
        ClickDesk(1);
        ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
        EXPECT_EQ(Setting("CONFIG", "HotKeyDesk2KeyAlt").value_or("none") + Setting("CONFIG", "HotKeyDesk2KeyHot").value_or(""), "TrueF6");
        if (!restarted) {
            ASSERT_TRUE(Start());
        }
    }
}

}  // namespace
}  // namespace orv::e2e
