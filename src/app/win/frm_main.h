// frmMain: the bar, and the owner of the application-wide state for the whole run.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/bar_layout.h"
#include "app/desk_manager.h"
#include "app/flavour.h"
#include "app/win/app_hotkeys.h"
#include "app/win/bar_images.h"
#include "app/win/default_wallpapers.h"
#include "app/win/image_button.h"
#include "app/win/journal_file.h"
#include "app/win/look_ops.h"
#include "app/win/shell_files.h"
#include "app/win/watchdog.h"
#include "app/win/window_ops.h"
#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "settings/settings.h"
#include "settings/win/registry_store.h"
#include "tray/win/frm_menu.h"
#include "tray/win/systray.h"
#include "video/video_options.h"
#include "video/win/desktop_video_win.h"

namespace orv {

class FrmMain final : public Window, private DeskUi, private SettingsHost, private MenuHost {
public:
    FrmMain();
    ~FrmMain() override;

    // Start-up, the message loop, shutdown. Returns the process exit code.
    int Run();
    // A desktop number switches to it, kActionHideBar hides the bar, kActionQuit asks to quit.
    void DoAction(int index) override;
    // The fatal path's part (any thread, the state maybe broken): every recorded window is
    // shown again without waiting on it, and desktop 1's look is requested and waited for
    // a bounded time.
    void RestoreOnCrash() noexcept;

    // The seven hotkey controls for the settings dialog: KHK 0 (snapshot), then KHKD 0..5
    // (desktops 1 to 6); null where the flavour has none.
    std::array<KHotKeyCtl*, kHotkeyCount> HotkeyCtls();
    // After the settings dialog closed: what takes effect at once (the tray tip).
    void ApplyImmediateSettings();

private:
    bool FormLoad();
    bool MakeDataFolders();
    void StartFailed(const std::string& what, DWORD error);
    void FormQueryUnload();
    // The bar's window, laid out and with its pictures; its buttons come with CreateBarButtons.
    bool CreateBar();
    bool CreateBarButtons();
    void PlaceButtons(HFONT font, const BarPictures& pictures);
    bool CreateBarTips();
    void LayOutBarFor(int dpi);
    void SetTipFont(int dpi);
    void PlaceBar();
    void KeepBarOnTop();
    static void PumpMessages();
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // DeskUi
    void MarkCurrentDesk(int desk) override;
    void HideBar() override;
    bool ConfirmQuit() override;
    void EndApplication() override;

    // SettingsHost
    void SetAutoStart(bool on) override;
    std::string DocumentsFolder() override;
    void LoadHotkeys() override;
    void SaveHotkeys() override;
    void LoadVideoSettings() override;
    void SaveVideoSettings() override;

    // The bar's buttons. A dialog opened from the bar or the tray menu: the bar, its owner,
    // steps aside while it is open and comes back unless it was hidden before.
    void RunModalDialog(const std::function<void(HWND owner)>& dialog);
    void StartSnapshot();
    void ShowAdvOptions(HWND owner);
    // applyChange: OK re-applies the current desktop's video when it changed it (the bar's
    // video button; the tray's changes count from the next switch).
    void ShowVideoOptions(HWND owner, bool applyChange);

    // Seams for the parts that arrive later: the tray icon with its menu, and hotkeys.
    void CreateTrayIcon();
    void RemoveTrayIcon();
    void StopHotkeys();

    // The tray tip names the current desktop with "Tray Tips" on; a switch also says so in a
    // short balloon.
    void ShowDeskInTray(bool balloon);

    // The tray icon's mouse button: the left one brings the bar back, the right one opens the menu.
    void TrayMouseDown(int button);
    void ShowTrayMenu();  // the owner-drawn tray menu

    // MenuHost: the tray menu's commands
    void ShowBar(bool topmost) override;
    void OpenSettings() override;
    void OpenVideoSettings() override;
    void ShowAbout() override;

    const FlavourInfo& flavour_;
    UniqueHandle instanceMutex_;
    AppFolders folders_;
    std::unique_ptr<RegistryStore> store_;
    Settings settings_;
    Win32WindowOps windowOps_;
    Win32LookOps lookOps_;
    ShellIconShelf iconShelf_;
    NoDesktopVideo noVideo_;  // the switch's video where no player can be made
    std::unique_ptr<DesktopVideoWin> video_;  // VideoPlayer: plays a desktop's video behind the icons
    VideoOptions videoOptions_;  // the six desktops' video records (index 0 unused)
    std::unique_ptr<DeskWindows> deskWindows_;
    std::unique_ptr<DesktopLook> look_;
    WallpaperMaker wallpapers_;
    WatchdogStarter watchdog_;  // up before the first window is hidden
    std::unique_ptr<DeskManager> desks_;
    std::unique_ptr<Win32JournalOps> journalOps_;
    std::unique_ptr<DeskJournal> journal_;

    // The bar's parts, laid out and drawn for the DPI of its monitor.
    BarLayout layout_;
    HWND deskButtons_[kDeskCount] = {};  // cmdDesk 0..5
    HWND snapButton_ = nullptr;          // cmdSnap
    HWND videoButton_ = nullptr;         // cmdVideo
    HWND settingButton_ = nullptr;       // cmdSetting
    HWND tips_ = nullptr;                // the tooltips of cmdSnap, cmdVideo, cmdSetting
    ImageButton quitButton_;
    ImageButton hideButton_;
    BarPictures pictures_;
    UniqueFont font_;
    UniqueFont tipFont_;
    bool barWasShown_ = false;  // BarWasShown
    bool barHiddenForSnap_ = false;  // BarHiddenForSnap
    bool snapStarting_ = false;      // the pause before the freeze runs
    HICON icon_ = nullptr;
    bool unloaded_ = false;
    bool topmost_ = true;
    int relayersLeft_ = 0;

    struct TrayEvents final : SystrayListener {
        explicit TrayEvents(FrmMain& bar) : bar(bar) {}
        void MouseDown(int button) override { bar.TrayMouseDown(button); }
        FrmMain& bar;
    };
    TrayEvents trayEvents_{*this};
    std::unique_ptr<cSystray> systray_;  // oSysTray
    std::unique_ptr<FrmMenu> menu_;      // frmMenu with the tray menu
    std::unique_ptr<AppHotkeys> hotkeys_;  // KHK 0, KHKD 0..5
};

}  // namespace orv
